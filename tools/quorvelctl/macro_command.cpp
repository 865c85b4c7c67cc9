#include "macro_command.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "assign/function_list.h"
#include "config/config_file.h"
#include "config/file_error_text.h"
#include "config/str_ini.h"
#include "lang/texts.h"
#include "macro/macro_library.h"
#include "macro/macro_notices.h"

namespace quorvel::ctl {

namespace {

constexpr int kExitFailure = 1;

struct Failed {
    std::string message;
};

// The event lines of an add: one a line, "\r\n" or "\n", empty lines and a
// leading byte-order mark dropped; each must be a line the event list holds.
std::variant<std::vector<std::string>, Failed> ReadEventLines(const std::string& source, std::istream& in) {
    std::ifstream file;
    if (source != "-") {
        std::error_code ec;
        if (std::filesystem::is_directory(std::filesystem::path(source), ec)) {
            return Failed{source + ": is a folder"};
        }
        file.open(std::filesystem::path(source), std::ios::binary);
        if (!file) {
            return Failed{source + ": cannot be read"};
        }
    }
    std::istream& stream = source == "-" ? in : file;
    const std::string shown = source == "-" ? std::string("standard input") : source;
    std::vector<std::string> lines;
    std::string line;
    std::size_t bytes = 0;
    for (int number = 1; std::getline(stream, line); ++number) {
        bytes += line.size() + 1;
        if (bytes > kLargestDataFile) {
            return Failed{shown + ": more event lines than a macro file holds"};
        }
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) {
            line.erase(0, 3);
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        const std::string where = shown + " line " + std::to_string(number) + ": '" + line + "' ";
        switch (CheckMacroLine(line)) {
        case MacroLineFault::None:
            lines.push_back(line);
            continue;
        case MacroLineFault::NotAnEvent:
            return Failed{where + "is no event (KEY   Dn, KEY   Up) or pause (N ms)"};
        case MacroLineFault::PauseTooLong:
            return Failed{where + "pauses longer than " + std::to_string(kLongestPause) + " ms"};
        case MacroLineFault::KeyNameNotValid:
            return Failed{where + "has no valid key name (at most " + std::to_string(kMacroKeyNameChars) +
                          " characters, no blanks at either end, no control characters)"};
        }
    }
    if (stream.bad()) {
        return Failed{shown + ": cannot be read"};
    }
    return lines;
}

// The position of the macro in the list, letter case ignored.
std::optional<int> Find(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (SameIniName(names[i], name)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

Failed UnknownMacro(const std::string& name, const DataPaths& paths) {
    return Failed{"no macro named '" + name + "' in " + paths.recordIni.string()};
}

std::string NewRefusal(NewMacroResult result) {
    switch (result) {
    case NewMacroResult::NameBlank:
        return std::string(Text(Language::kEnglish, TextId::kMacroNameIsBlank));
    case NewMacroResult::NameNotStorable:
        return std::string(Text(Language::kEnglish, TextId::kMacroNameNotStorable));
    case NewMacroResult::TooMany:
        return std::string(kMacroNumbersUpTo12);
    case NewMacroResult::NameExists:
        return std::string(Text(Language::kEnglish, TextId::kMacroNameAlreadyExists));
    case NewMacroResult::NamesTooLong:
        return std::string(Text(Language::kEnglish, TextId::kMacroNamesTooLong));
    case NewMacroResult::Added:
    case NewMacroResult::NotSaved:
        break;
    }
    return {};
}

// The whole file as it stands, to put back; nothing when it is missing.
std::variant<std::optional<std::string>, Failed> Snapshot(FileSystem& files,
                                                          const std::filesystem::path& path) {
    auto content = files.readAll(path);
    if (content) {
        return std::optional<std::string>(std::move(*content));
    }
    if (content.error().kind == FileError::Kind::Missing) {
        return std::optional<std::string>();
    }
    return Failed{FileErrorText(content.error(), Language::kEnglish)};
}

// The buttons whose macro was deleted play nothing now: their labels say
// "Key Off" in every language that str.ini keeps labels for.
FileStatus LabelButtonsOff(FileSystem& files, const std::filesystem::path& strIni,
                           const std::vector<MacroButton>& buttons) {
    if (buttons.empty()) {
        return std::nullopt;
    }
    IniFile file(files, strIni);
    FileResult<IniDocument> document = file.read();
    if (!document) {
        return document.error();
    }
    const std::vector<std::string> sections = document->sectionNames();
    for (int l = 0; l < kLanguageCount; ++l) {
        const auto language = static_cast<Language>(l);
        const std::string_view section = Text(language, TextId::kSettingSection);
        if (std::none_of(sections.begin(), sections.end(),
                         [&](const std::string& name) { return SameIniName(name, section); })) {
            continue;
        }
        for (const MacroButton& off : buttons) {
            document->setEntry(section, LabelKey(off.mode, off.button),
                               FunctionListText(language, kFnKeyOff));
        }
    }
    return file.write(*document);
}

// What the changes of one command did to the library.
struct Changes {
    bool written = false;                // record.ini was written
    std::vector<MacroButton> buttonsOff; // buttons set to "Key Off"
    std::optional<RebuildResult> toTell; // the rebuild whose cuts the user hears of

    // Keeps what a change did; false when it could not change the file.
    bool take(const MacroChange& change) {
        if (change.error) {
            return false;
        }
        if (change.done) {
            written = true;
            buttonsOff.insert(buttonsOff.end(), change.rebuild.buttonsOff.begin(),
                              change.rebuild.buttonsOff.end());
        }
        return true;
    }
};

// Changes the library as the window's New, Confirm and Delete do, then
// saves what they did to the macro table and the buttons in config.bin (and
// the labels of buttons set to "Key Off" in str.ini). Everything is checked
// before the first write; when a later write fails, record.ini is put back
// as it was (empty, when there was none: the same empty library).
template <typename Change>
std::optional<Failed> ChangeLibrary(const DataPaths& paths, FileSystem& files, std::ostream& err,
                                    Change change) {
    ConfigFile configFile(files, paths.configBin, paths.program);
    DeviceConfig config = zeroDeviceConfig();
    if (const FileStatus error = configFile.LoadConfig(config)) {
        return Failed{error->kind == FileError::Kind::Missing
                          ? error->path.string() + ": " + std::string(kConfigMissingText)
                          : FileErrorText(*error, Language::kEnglish)};
    }
    auto before = Snapshot(files, paths.recordIni);
    if (auto* failed = std::get_if<Failed>(&before)) {
        return *failed;
    }
    const auto putBack = [&] {
        const std::string text = std::get<std::optional<std::string>>(before).value_or(std::string());
        files.writeAtomically(paths.recordIni,
                              std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };

    MacroLibrary library{IniFile(files, paths.recordIni)};
    library.Load(config);
    Changes changes;
    if (auto failed = change(library, config, changes)) {
        if (changes.written) {
            putBack();
        }
        return failed;
    }
    FileStatus error = configFile.SaveRecord(config);
    if (!error) {
        error = LabelButtonsOff(files, paths.strIni, changes.buttonsOff);
    }
    if (error) {
        putBack();
        return Failed{FileErrorText(*error, Language::kEnglish)};
    }
    if (changes.toTell) {
        if (const auto notice = ConfirmNotice(*changes.toTell, Language::kEnglish)) {
            err << "quorvelctl: " << *notice << '\n';
        }
    }
    return std::nullopt;
}

Failed NotChanged(const MacroChange& change) {
    return Failed{FileErrorText(*change.error, Language::kEnglish)};
}

// Adds the macro as New and Confirm do.
std::optional<Failed> Add(const MacroCommand& command, const DataPaths& paths, FileSystem& files,
                          std::istream& in, std::ostream& err) {
    auto read = ReadEventLines(command.source, in);
    if (auto* failed = std::get_if<Failed>(&read)) {
        return *failed;
    }
    return ChangeLibrary(
        paths, files, err, [&](MacroLibrary& library, DeviceConfig& config, Changes& changes) {
            library.nameText = command.name;
            const MacroLibrary::NewOutcome added = library.New(config);
            if (added.result == NewMacroResult::NotSaved) {
                return std::optional(NotChanged(added.change));
            }
            if (added.result != NewMacroResult::Added) {
                return std::optional(Failed{"'" + command.name + "': " + NewRefusal(added.result)});
            }
            changes.take(added.change);
            library.events = std::get<std::vector<std::string>>(std::move(read));
            const MacroChange confirmed = library.Confirm(config);
            if (!changes.take(confirmed)) {
                return std::optional(NotChanged(confirmed));
            }
            changes.toTell = confirmed.rebuild;
            return std::optional<Failed>();
        });
}

// Deletes the macro as the window's Delete does: its section goes, and the
// macros after it move up a slot with their loop counts and buttons.
std::optional<Failed> Delete(int index, const DataPaths& paths, FileSystem& files, std::ostream& err) {
    return ChangeLibrary(paths, files, err,
                         [&](MacroLibrary& library, DeviceConfig& config, Changes& changes) {
                             library.Select(index, config);
                             const MacroChange deleted = library.Delete(config);
                             if (!changes.take(deleted)) {
                                 return std::optional(NotChanged(deleted));
                             }
                             return std::optional<Failed>();
                         });
}

std::optional<Failed> Run(const MacroCommand& command, const DataPaths& paths, FileSystem& files,
                          std::istream& in, std::ostream& out, std::ostream& err) {
    if (command.kind == MacroCommand::Kind::Add) {
        return Add(command, paths, files, in, err);
    }
    // The list as the window shows it.
    const FileResult<IniDocument> document = IniFile(files, paths.recordIni).read();
    if (!document) {
        return Failed{FileErrorText(document.error(), Language::kEnglish)};
    }
    const MacroNames names = ReadMacroNames(*document);
    if (command.kind == MacroCommand::Kind::List) {
        for (const std::string& name : names.names) {
            out << name << '\n';
        }
        if (names.someHidden) {
            err << "quorvelctl: " << paths.recordIni.string()
                << " holds more sections than the macro list shows; those are left out\n";
        }
        return std::nullopt;
    }
    const std::optional<int> index = Find(names.names, command.name);
    if (!index) {
        return UnknownMacro(command.name, paths);
    }
    const std::string& name = names.names[static_cast<std::size_t>(*index)];
    if (command.kind == MacroCommand::Kind::Show) {
        for (const std::string& line : ReadMacroEvents(*document, name)) {
            out << line << '\n';
        }
        return std::nullopt;
    }
    return Delete(*index, paths, files, err);
}

} // namespace

int RunMacroCommand(const MacroCommand& command, const DataPaths& paths, FileSystem& files, std::istream& in,
                    std::ostream& out, std::ostream& err) {
    if (const auto failed = Run(command, paths, files, in, out, err)) {
        err << "quorvelctl: " << failed->message << '\n';
        return kExitFailure;
    }
    return EXIT_SUCCESS;
}

} // namespace quorvel::ctl
