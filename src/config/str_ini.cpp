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
    const auto read = file_.read();
    if (!read) {
        return read.error();
    }
    const IniDocument& document = *read;
    InterfaceSettings settings;
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kButtonCount; ++button) {
            settings.labels[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)] =
                document.getString(section_, LabelKey(mode, button));
        }
    }
    settings.skin.textColour = {ColourByte(document.getString(kSkinsSection, kRedKey)),
                                ColourByte(document.getString(kSkinsSection, kGreenKey)),
                                ColourByte(document.getString(kSkinsSection, kBlueKey))};
    settings.skin.path = document.getString(kSkinsSection, kPathKey);
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
