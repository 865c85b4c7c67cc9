#include "macro_command.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "assign/function_list.h"
#include "config/config_file.h"
#include "config/data_folder.h"
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

} // namespace

std::string SourceName(const std::string& source) {
    return source == "-" ? std::string("standard input") : source;
}

namespace {

// Everything the source holds, read no further than a macro file's limit:
// a stream without line breaks (/dev/zero) is refused at the limit, not
// read into memory first.
std::variant<std::string, Failed> ReadCapped(std::istream& stream, const std::string& shown) {
    std::string text;
    char chunk[65536];
    while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(stream.gcount()));
        if (text.size() > kLargestDataFile) {
            return Failed{shown + ": more event lines than a macro file holds"};
        }
    }
    if (stream.bad()) {
        return Failed{shown + ": cannot be read"};
    }
    return text;
}

} // namespace

std::variant<std::string, std::string> ReadSource(const std::string& source, std::istream& in) {
    using Result = std::variant<std::string, std::string>;
    std::ifstream file;
    if (source != "-") {
        std::error_code ec;
        if (std::filesystem::is_directory(PathFromUtf8(source), ec)) {
            return Result(std::in_place_index<1>, source + ": is a folder");
        }
        file.open(PathFromUtf8(source), std::ios::binary);
        if (!file) {
            return Result(std::in_place_index<1>, source + ": cannot be read");
        }
    }
    auto read = ReadCapped(source == "-" ? in : file, SourceName(source));
    if (auto* failed = std::get_if<Failed>(&read)) {
        return Result(std::in_place_index<1>, failed->message);
    }
    return Result(std::in_place_index<0>, std::move(std::get<std::string>(read)));
}

namespace {

// The event lines of an add: one a line, "\r\n" or "\n", empty lines and a
// leading byte-order mark dropped; each must be a line the event list holds.
std::variant<std::vector<std::string>, Failed> ReadEventLines(const std::string& source, std::istream& in) {
    auto read = ReadSource(source, in);
    if (read.index() == 1) {
        return Failed{std::get<1>(read)};
    }
    const std::string shown = SourceName(source);
    const std::string& text = std::get<0>(read);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
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

// Files whose writes are kept in memory, and read back from there, until
// they are committed; everything else goes to the real files.
class StagedFiles final : public FileSystem {
public:
    explicit StagedFiles(FileSystem& files) : files_(files) {}

    bool exists(const std::filesystem::path& path) const override {
        return staged_.count(path) != 0 || files_.exists(path);
    }
    std::optional<Stamp> stamp(const std::filesystem::path& path) const override { return files_.stamp(path); }
    FileResult<std::string> readAll(const std::filesystem::path& path) const override {
        if (const auto it = staged_.find(path); it != staged_.end()) {
            return it->second;
        }
        return files_.readAll(path);
    }
    FileStatus writeAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) override {
        staged_[path] = std::string(bytes.begin(), bytes.end());
        return std::nullopt;
    }

    // Writes what was staged for `path` to the real file.
    FileStatus commit(const std::filesystem::path& path) {
        const auto it = staged_.find(path);
        if (it == staged_.end()) {
            return std::nullopt;
        }
        return files_.writeAtomically(
            path, std::span(reinterpret_cast<const std::uint8_t*>(it->second.data()), it->second.size()));
    }

private:
    FileSystem& files_;
    std::map<std::filesystem::path, std::string> staged_;
};

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
    // Held to the end: another quorvelctl or the window waits for it.
    const std::unique_ptr<FolderLock> lock = LockDataFolder(files, paths);
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
    // config.bin was read whole above, so it is there to put back too.
    const std::string configBefore = files.readAll(paths.configBin).value_or(std::string());
    const auto write = [&](const std::filesystem::path& path, const std::string& text) {
        files.writeAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };
    const auto putBack = [&] {
        write(paths.recordIni, std::get<std::optional<std::string>>(before).value_or(std::string()));
    };

    // The library's saves stay in memory until the command is through:
    // record.ini is then replaced once, so that a kill leaves the old file or
    // the new one, never a macro without its events.
    StagedFiles staged(files);
    MacroLibrary library{IniFile(staged, paths.recordIni)};
    library.Load(config);
    Changes changes;
    if (auto failed = change(library, config, changes)) {
        return failed;
    }
    if (changes.written) {
        if (const FileStatus error = staged.commit(paths.recordIni)) {
            return Failed{FileErrorText(*error, Language::kEnglish)};
        }
    }
    if (const FileStatus error = configFile.SaveRecord(config)) {
        if (changes.written) {
            putBack();
        }
        return Failed{FileErrorText(*error, Language::kEnglish)};
    }
    if (const FileStatus error = LabelButtonsOff(files, paths.strIni, changes.buttonsOff)) {
        write(paths.configBin, configBefore);
        if (changes.written) {
            putBack();
        }
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
            std::vector<std::string>& lines = std::get<std::vector<std::string>>(read);
            library.nameText = command.name;
            const MacroLibrary::NewOutcome added = library.New(config);
            // The same macro added again finishes an add that was cut off
            // between its two saves: its section is there, its slot in
            // config.bin may not be.
            const int at = Find(library.names(), command.name).value_or(0);
            const bool again = added.result == NewMacroResult::NameExists &&
                               library.names()[static_cast<std::size_t>(at)] == command.name &&
                               ReadMacroEvents(IniFile(files, paths.recordIni), command.name) == lines;
            if (again) {
                library.Select(at, config);
            } else if (added.result == NewMacroResult::NotSaved) {
                return std::optional(NotChanged(added.change));
            } else if (added.result != NewMacroResult::Added) {
                return std::optional(Failed{"'" + command.name + "': " + NewRefusal(added.result)});
            } else {
                changes.take(added.change);
            }
            library.events = std::move(lines);
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
