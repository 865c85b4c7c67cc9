#include "macro/macro_library.h"

#include <algorithm>
#include <utility>

#include "lang/utf8.h"

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

// The position of the name in the list, letter case ignored.
std::optional<int> PositionOf(const std::vector<std::string>& names, const std::string& name) {
    const auto at =
        std::find_if(names.begin(), names.end(), [&](const std::string& n) { return SameIniName(n, name); });
    return at == names.end() ? std::nullopt : std::optional<int>(static_cast<int>(at - names.begin()));
}

MacroChange NotChanged(FileError error) {
    MacroChange change;
    change.error = std::move(error);
    return change;
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
    // One pass over the section's lines, copying only the events: the
    // count, and the items below it. Of a key written twice the first is
    // read, as a lookup finds it; an item's index names it, whatever the
    // letter case.
    std::optional<long> count;
    std::vector<std::pair<long, std::string_view>> items;
    for (const IniDocument::Line& line : recordIni.sectionLines(name)) {
        if (line.kind != IniDocument::Line::Kind::Entry) {
            continue;
        }
        if (SameIniName(line.name, kItemCountKey)) {
            if (!count) {
                count = LeadingInteger(CutToIniBuffer(line.value));
            }
        } else if (const auto index = ItemIndex(line.name)) {
            items.emplace_back(*index, line.value);
        }
    }
    // The count says how many lines the list has, but only the items the
    // section holds are read: a damaged count cannot make up lines, and an
    // item missing in between is left out rather than shown as a blank line.
    std::erase_if(items, [&](const auto& item) { return item.first >= count.value_or(0); });
    const auto byIndex = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(items.begin(), items.end(), byIndex);
    std::vector<std::string> events;
    events.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i == 0 || items[i].first != items[i - 1].first) {
            events.push_back(CutToIniBuffer(items[i].second));
        }
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

void MacroLibrary::Refresh() {
    std::optional<std::string> shown;
    if (selected_) {
        shown = names_[static_cast<std::size_t>(*selected_)];
    }
    MacroNames listed = ReadMacroNames(file_.readOrEmpty());
    names_ = std::move(listed.names);
    someHidden_ = listed.someHidden;
    selected_.reset();
    if (shown) {
        selected_ = PositionOf(names_, *shown);
    }
}

void MacroLibrary::Select(int index, const DeviceConfig& config) {
    if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) {
        return;
    }
    selected_ = index;
    const std::string& name = names_[static_cast<std::size_t>(index)];
    nameText = name;
    events = ReadMacroEvents(file_.readOrEmpty(), name);
    // The box shows the loop count of the macro shown, also of one without
    // events; one past the table's twelve slots has none of its own.
    loopText = static_cast<std::size_t>(index) < config.macroSlots.size()
                   ? std::to_string(MacroLoopCount(config.macroSlots[static_cast<std::size_t>(index)]))
                   : "1";
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

MacroLibrary::NewOutcome MacroLibrary::New(DeviceConfig& config) {
    NewOutcome outcome;
    const auto refuse = [&](NewMacroResult why) {
        outcome.result = why;
        return outcome;
    };
    switch (CheckMacroName(nameText)) {
    case MacroNameFault::None:
        break;
    case MacroNameFault::Blank:
        return refuse(NewMacroResult::NameBlank);
    default:
        return refuse(NewMacroResult::NameNotStorable);
    }
    if (names_.size() >= static_cast<std::size_t>(kMacroCountLimit)) {
        return refuse(NewMacroResult::TooMany);
    }
    if (PositionOf(names_, nameText)) {
        return refuse(NewMacroResult::NameExists);
    }
    // A new section goes last in the file: past the window of the names the
    // list reads, it would be saved and never listed again.
    std::vector<std::string> after = names_;
    after.push_back(nameText);
    if (someHidden_ || ReadMacroNames(after).someHidden) {
        return refuse(NewMacroResult::NamesTooLong);
    }
    // The section is written at once, so that the macro has its place in
    // the file, and with it its slot, before anything else is added.
    FileResult<IniDocument> document = file_.read();
    if (!document) {
        outcome.change.error = document.error();
        return refuse(NewMacroResult::NotSaved);
    }
    const IniEntry noEvents[] = {{std::string(kItemCountKey), "0"}};
    if (!document->replaceSection(nameText, noEvents)) {
        outcome.change.error = FileError{FileError::Kind::BadName, file_.path()};
        return refuse(NewMacroResult::NotSaved);
    }
    const bool wasEmpty = names_.empty();
    const std::string name = nameText;
    outcome.change = Save(*document, config);
    if (outcome.change.error) {
        return refuse(NewMacroResult::NotSaved);
    }
    // Into an empty list the events already shown stay, for Confirm.
    if (!wasEmpty) {
        events.clear();
    }
    selected_ = PositionOf(names_, name);
    loopText = "1";
    return outcome;
}

MacroChange MacroLibrary::Delete(DeviceConfig& config) {
    if (names_.empty() || !selected_) {
        return {};
    }
    FileResult<IniDocument> document = file_.read();
    if (!document) {
        return NotChanged(document.error());
    }
    document->removeSection(names_[static_cast<std::size_t>(*selected_)]);
    MacroChange change = Save(*document, config);
    if (change.error) {
        return change;
    }
    selected_.reset();
    events.clear();
    nameText.clear();
    return change;
}

MacroChange MacroLibrary::Confirm(DeviceConfig& config) {
    if (names_.empty() || !selected_) {
        return {};
    }
    std::vector<IniEntry> entries;
    entries.reserve(events.size() + 1);
    entries.push_back({std::string(kItemCountKey), std::to_string(events.size())});
    for (std::size_t j = 0; j < events.size(); ++j) {
        entries.push_back({ItemKey(j), events[j]});
    }
    FileResult<IniDocument> document = file_.read();
    if (!document) {
        return NotChanged(document.error());
    }
    const std::string name = names_[static_cast<std::size_t>(*selected_)];
    if (!document->rewriteSection(name, entries)) {
        return NotChanged(FileError{FileError::Kind::BadName, file_.path()});
    }
    MacroChange change = Save(*document, config);
    if (!change.error) {
        selected_ = PositionOf(names_, name);
    }
    return change;
}

MacroChange MacroLibrary::Save(const IniDocument& document, DeviceConfig& config) {
    MacroChange change;
    change.error = file_.write(document);
    if (change.error) {
        return change;
    }
    change.done = true;
    // One read: the list and the table follow the document just written.
    change.rebuild = RebuildMacroTable(document, config, names_);
    MacroNames listed = ReadMacroNames(document);
    names_ = std::move(listed.names);
    someHidden_ = listed.someHidden;
    return change;
}

} // namespace quorvel
