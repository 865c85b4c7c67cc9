#include "config/str_ini.h"

namespace quorvel {

namespace {

constexpr std::string_view kSkinsSection = "Skins";
constexpr std::string_view kRedKey = "RColor";
constexpr std::string_view kGreenKey = "GColor";
constexpr std::string_view kBlueKey = "BColor";
constexpr std::string_view kPathKey = "Path";

// Colours are stored as decimal numbers and kept as their low eight bits.
Byte ColourByte(std::string_view text) {
    return static_cast<Byte>(static_cast<unsigned long>(LeadingInteger(text)) & 0xFF);
}

} // namespace

std::string LabelKey(int mode, int button) {
    std::string key = "Item" + std::to_string(button + 1);
    if (mode != 0) {
        key += '3';
    }
    return key;
}

StrIni::StrIni(FileSystem& files, std::filesystem::path path, std::string languageSection)
    : file_(files, std::move(path)), section_(std::move(languageSection)) {
}

FileResult<InterfaceSettings> StrIni::ReadAll() const {
    // A str.ini that grew large is only looked through, never held line by line.
    const auto text = file_.readText();
    if (!text) {
        return text.error();
    }
    std::vector<std::string> labelKeys;
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kButtonCount; ++button) {
            labelKeys.push_back(LabelKey(mode, button));
        }
    }
    const std::vector<std::string_view> labelViews(labelKeys.begin(), labelKeys.end());
    std::vector<std::string> labels = IniValues(*text, section_, labelViews);
    constexpr std::string_view skinKeys[] = {kRedKey, kGreenKey, kBlueKey, kPathKey};
    std::vector<std::string> skin = IniValues(*text, kSkinsSection, skinKeys);

    InterfaceSettings settings;
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kButtonCount; ++button) {
            settings.labels[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)] =
                std::move(labels[static_cast<std::size_t>(mode * kButtonCount + button)]);
        }
    }
    settings.skin.textColour = {ColourByte(skin[0]), ColourByte(skin[1]), ColourByte(skin[2])};
    settings.skin.path = std::move(skin[3]);
    return settings;
}

FileStatus StrIni::WriteLabels(const ButtonLabels& labels) {
    std::vector<IniEntry> entries;
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kButtonCount; ++button) {
            entries.push_back({LabelKey(mode, button),
                               labels[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)]});
        }
    }
    return file_.WriteStrings(section_, entries);
}

FileStatus StrIni::WriteSkin(const SkinSettings& skin) {
    const IniEntry entries[] = {
        {std::string(kRedKey), std::to_string(skin.textColour.red)},
        {std::string(kGreenKey), std::to_string(skin.textColour.green)},
        {std::string(kBlueKey), std::to_string(skin.textColour.blue)},
        {std::string(kPathKey), skin.path},
    };
    return file_.WriteStrings(kSkinsSection, entries);
}

} // namespace quorvel
