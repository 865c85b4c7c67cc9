#include "macro/macro_library.h"

#include <algorithm>
#include <unordered_map>

namespace quorvel {

namespace {

constexpr std::string_view kItemCountKey = "ItemCount";

std::string ItemKey(std::size_t index) {
    return "Item" + std::to_string(index);
}

} // namespace

MacroNames ReadMacroNames(const IniFile& recordIni) {
    return ReadMacroNames(recordIni.read().value_or(IniDocument()));
}

MacroNames ReadMacroNames(const IniDocument& recordIni) {
    MacroNames result;
    const std::vector<std::string> sections = recordIni.sectionNames();
    const std::u32string buffer = SectionNameBuffer(sections, kIniBufferChars);
    const std::size_t window = std::min(kSectionNameWindow, buffer.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i < window; ++i) {
        if (buffer[i] != U'\0') {
            continue;
        }
        if (i == start) {
            break; // the second terminator ends the list
        }
        result.names.push_back(CodePointsToUtf8(std::u32string_view(buffer).substr(start, i - start)));
        start = i + 1;
    }
    // Anything after the last whole name inside the window is not listed.
    result.someHidden = result.names.size() < sections.size();
    return result;
}

std::vector<std::string> ReadMacroEvents(const IniFile& recordIni, const std::string& name) {
    return ReadMacroEvents(recordIni.read().value_or(IniDocument()), name);
}

std::vector<std::string> ReadMacroEvents(const IniDocument& recordIni, const std::string& name) {
    std::unordered_map<std::string, std::string> items;
    for (IniEntry& entry : recordIni.entries(name)) {
        items.emplace(IniNameKey(entry.key), std::move(entry.value));
    }
    const auto count = std::min(LeadingInteger(recordIni.getString(name, kItemCountKey)), kMacroLinesRead);
    std::vector<std::string> events;
    for (long j = 0; j < count; ++j) {
        const auto item = items.find(IniNameKey(ItemKey(static_cast<std::size_t>(j))));
        events.push_back(item == items.end() ? std::string() : item->second);
    }
    return events;
}

std::string ShownMacroName(const std::string& name) {
    const std::u32string chars = Utf8ToCodePoints(name);
    if (chars.size() <= kMacroNameShown) {
        return name;
    }
    return CodePointsToUtf8(std::u32string_view(chars).substr(0, kMacroNameShown));
}

MacroLibrary::MacroLibrary(IniFile recordIni) : file_(std::move(recordIni)) {
}

void MacroLibrary::Load(const DeviceConfig& config) {
    names_.clear();
    selected_.reset();
    const IniDocument document = file_.read().value_or(IniDocument());
    names_ = ReadMacroNames(document).names;
    if (names_.empty()) {
        loopText.clear();
        return;
    }
    nameText = names_.front();
    events = ReadMacroEvents(document, names_.front());
    selected_ = 0;
    loopText = std::to_string(MacroLoopCount(config.macroSlots[0]));
}

void MacroLibrary::Select(int index, const DeviceConfig& config) {
    if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) {
        return;
    }
    selected_ = index;
    const std::string& name = names_[static_cast<std::size_t>(index)];
    nameText = name;
    std::vector<std::string> read = ReadMacroEvents(file_, name);
    if (read.empty()) {
        events.clear();
        return;
    }
    events = std::move(read);
    // A listed macro past the table's twelve slots has no loop count of its own.
    if (static_cast<std::size_t>(index) < config.macroSlots.size()) {
        loopText = std::to_string(MacroLoopCount(config.macroSlots[static_cast<std::size_t>(index)]));
    }
}

MacroNameFault CheckMacroName(std::string_view name) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    if (std::all_of(name.begin(), name.end(), blank)) {
        return MacroNameFault::Blank;
    }
    if (blank(name.front()) || blank(name.back())) {
        return MacroNameFault::BlankAtEnd;
    }
    if (name.find_first_of("[]") != std::string_view::npos) {
        return MacroNameFault::Bracket;
    }
    if (std::any_of(name.begin(), name.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7F;
        })) {
        return MacroNameFault::ControlCharacter;
    }
    if (!IsValidUtf8(name)) {
        return MacroNameFault::InvalidUtf8;
    }
    return MacroNameFault::None;
}

NewMacroResult MacroLibrary::New() {
    switch (CheckMacroName(nameText)) {
    case MacroNameFault::None:
        break;
    case MacroNameFault::Blank:
        return NewMacroResult::NameBlank;
    default:
        return NewMacroResult::NameNotStorable;
    }
    if (names_.size() >= static_cast<std::size_t>(kMacroCountLimit)) {
        return NewMacroResult::TooMany;
    }
    if (std::any_of(names_.begin(), names_.end(),
                    [&](const std::string& n) { return SameIniName(n, nameText); })) {
        return NewMacroResult::NameExists;
    }
    if (!names_.empty()) {
        events.clear();
    }
    names_.push_back(nameText);
    selected_ = static_cast<int>(names_.size() - 1);
    return NewMacroResult::Added;
}

FileStatus MacroLibrary::Delete() {
    if (names_.empty() || !selected_) {
        return std::nullopt;
    }
    const auto at = names_.begin() + *selected_;
    if (auto error = file_.RemoveSection(*at)) {
        return error;
    }
    names_.erase(at);
    selected_.reset();
    events.clear();
    nameText.clear();
    return std::nullopt;
}

MacroLibrary::ConfirmResult MacroLibrary::Confirm(DeviceConfig& config) {
    ConfirmResult result;
    if (names_.empty() || !selected_) {
        return result;
    }
    std::vector<IniEntry> entries;
    entries.push_back({std::string(kItemCountKey), std::to_string(events.size())});
    for (std::size_t j = 0; j < events.size(); ++j) {
        entries.push_back({ItemKey(j), events[j]});
    }
    result.error = file_.ReplaceSection(names_[static_cast<std::size_t>(*selected_)], entries);
    if (result.error) {
        return result;
    }
    result.done = true;
    if (file_.exists()) {
        result.rebuild = RebuildMacroTable(file_, config);
    }
    return result;
}

} // namespace quorvel
