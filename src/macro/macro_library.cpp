#include "macro/macro_library.h"

#include <algorithm>
#include <utility>

namespace quorvel {

namespace {

constexpr std::string_view kItemCountKey = "ItemCount";

std::string ItemKey(std::size_t index) {
    return "Item" + std::to_string(index);
}

// The index of a key "Item<n>" (in any letter case) as ItemKey writes it: a
// number without a sign or leading zeros, which is the only form a lookup of
// "Item<n>" finds.
std::optional<long> ItemIndex(std::string_view key) {
    constexpr std::string_view kPrefix = "item";
    if (key.size() <= kPrefix.size() || !SameIniName(key.substr(0, kPrefix.size()), kPrefix)) {
        return std::nullopt;
    }
    const std::string_view digits = key.substr(kPrefix.size());
    // Ten digits are more than any count reads; longer ones are no item of a list.
    if (digits.size() > 10 || (digits.size() > 1 && digits.front() == '0') ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return LeadingInteger(digits);
}

} // namespace

MacroNames ReadMacroNames(const IniFile& recordIni) {
    return ReadMacroNames(recordIni.readOrEmpty());
}

MacroNames ReadMacroNames(const IniDocument& recordIni) {
    return ReadMacroNames(recordIni.sectionNames());
}

MacroNames ReadMacroNames(const std::vector<std::string>& sections) {
    MacroNames result;
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
    return ReadMacroEvents(recordIni.readOrEmpty(), name);
}

std::vector<std::string> ReadMacroEvents(const IniDocument& recordIni, const std::string& name) {
    // One pass over the section: the count, and the items below it.
    long count = 0;
    std::vector<std::pair<long, std::string>> items;
    for (IniEntry& entry : recordIni.entries(name)) {
        if (SameIniName(entry.key, kItemCountKey)) {
            count = LeadingInteger(entry.value);
        } else if (const auto index = ItemIndex(entry.key)) {
            items.emplace_back(*index, std::move(entry.value));
        }
    }
    // The count says how many lines the list has, but only the items the
    // section holds are read: a damaged count cannot make up lines, and an
    // item missing in between is left out rather than shown as a blank line.
    std::erase_if(items, [&](const auto& item) { return item.first >= count; });
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> events;
    events.reserve(items.size());
    for (auto& item : items) {
        events.push_back(std::move(item.second));
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
    const IniDocument document = file_.readOrEmpty();
    MacroNames listed = ReadMacroNames(document);
    names_ = std::move(listed.names);
    someHidden_ = listed.someHidden;
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
    std::vector<std::string> read = ReadMacroEvents(file_.readOrEmpty(), name);
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
    if (name.find_first_not_of(kBlankCharacters) == std::string_view::npos) {
        return MacroNameFault::Blank;
    }
    if (HasBlankAtEnd(name)) {
        return MacroNameFault::BlankAtEnd;
    }
    if (name.find_first_of("[]") != std::string_view::npos) {
        return MacroNameFault::Bracket;
    }
    if (HasControlCharacter(name)) {
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
    // A new section goes last in the file: past the window of the names the
    // list reads, it would be saved and never listed again.
    std::vector<std::string> after = names_;
    after.push_back(nameText);
    if (someHidden_ || ReadMacroNames(after).someHidden) {
        return NewMacroResult::NamesTooLong;
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
    // One read: the table is rebuilt from the document just written.
    FileResult<IniDocument> document = file_.read();
    if (!document) {
        result.error = document.error();
        return result;
    }
    if (!document->replaceSection(names_[static_cast<std::size_t>(*selected_)], entries)) {
        result.error = FileError{FileError::Kind::BadName, file_.path()};
        return result;
    }
    result.error = file_.write(*document);
    if (result.error) {
        return result;
    }
    result.done = true;
    result.rebuild = RebuildMacroTable(*document, config);
    return result;
}

} // namespace quorvel
