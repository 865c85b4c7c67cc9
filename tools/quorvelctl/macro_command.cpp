#include "macro_command.h"

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

#include "config/config_file.h"
#include "config/file_error_text.h"
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

// Adds the macro as New and Confirm do, then saves the rebuilt table in
// config.bin. Everything is checked before the first write; when config.bin
// cannot be written after all, record.ini is put back as it was (empty, when
// there was none: the same empty library).
std::optional<Failed> Add(const MacroCommand& command, const DataPaths& paths, FileSystem& files,
                          std::istream& in, std::ostream& err) {
    auto read = ReadEventLines(command.source, in);
    if (auto* failed = std::get_if<Failed>(&read)) {
        return *failed;
    }
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

    MacroLibrary library{IniFile(files, paths.recordIni)};
    library.Load(config);
    library.nameText = command.name;
    if (const NewMacroResult added = library.New(); added != NewMacroResult::Added) {
        return Failed{"'" + command.name + "': " + NewRefusal(added)};
    }
    library.events = std::get<std::vector<std::string>>(std::move(read));
    const MacroLibrary::ConfirmResult confirmed = library.Confirm(config);
    if (confirmed.error) {
        return Failed{FileErrorText(*confirmed.error, Language::kEnglish)};
    }
    // The new macro stands last in the file; a slot that never held a loop
    // count would play it no times.
    const int slot = confirmed.rebuild.slotsFilled - 1;
    if (slot >= 0 && confirmed.rebuild.sectionsIgnored == 0) {
        MacroSlot& added = config.macroSlots[static_cast<std::size_t>(slot)];
        if (MacroLoopCount(added) == 0) {
            added[1] = 1;
        }
    }
    if (const FileStatus error = configFile.SaveRecord(config)) {
        const std::optional<std::string>& old = std::get<std::optional<std::string>>(before);
        const std::string text = old.value_or(std::string());
        files.writeAtomically(paths.recordIni,
                              std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        return Failed{FileErrorText(*error, Language::kEnglish)};
    }
    if (const auto notice = ConfirmNotice(confirmed.rebuild, Language::kEnglish)) {
        err << "quorvelctl: " << *notice << '\n';
    }
    return std::nullopt;
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
    // Delete, as the window does: the section goes, the table follows at the next Confirm.
    MacroLibrary library{IniFile(files, paths.recordIni)};
    library.Load(zeroDeviceConfig());
    library.Select(*index, zeroDeviceConfig());
    if (const FileStatus error = library.Delete()) {
        return Failed{FileErrorText(*error, Language::kEnglish)};
    }
    return std::nullopt;
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
