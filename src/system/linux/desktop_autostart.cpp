#include "system/linux/desktop_autostart.h"

#include <cstdlib>
#include <span>

#include "system/linux/local_file_system.h"
#include "system/linux/program_environment.h"

namespace quorvel {

namespace {

constexpr std::string_view kEntryGroup = "[Desktop Entry]";

// The escapes every string value of a desktop entry takes.
std::string EscapedValue(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// One argument of an Exec line: quoted when it holds a character the line
// reserves, '%' doubled so that it is no field code.
std::string ExecArgument(std::string_view argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quoted = argument.find_first_of(kReserved) != std::string_view::npos;
    std::string out = quoted ? "\"" : "";
    for (const char c : argument) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
        }
        out += c;
    }
    if (quoted) {
        out += '"';
    }
    return EscapedValue(out);
}

// Calls `onKey(key, value, text)` for each key of the [Desktop Entry] group,
// and `onOther(text)` for every other line; `text` is the whole line.
template <class OnKey, class OnOther> void EachLine(std::string_view entry, OnKey onKey, OnOther onOther) {
    bool inGroup = false;
    while (!entry.empty()) {
        const std::size_t end = entry.find('\n');
        const std::string_view line = entry.substr(0, end);
        entry = end == std::string_view::npos ? std::string_view() : entry.substr(end + 1);
        if (line.starts_with('[')) {
            inGroup = line == kEntryGroup;
            onOther(line);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || line.starts_with('#') || equals == std::string_view::npos) {
            onOther(line);
            continue;
        }
        // The spaces around '=' do not count.
        std::string_view key = line.substr(0, equals);
        std::string_view value = line.substr(equals + 1);
        while (key.ends_with(' ')) {
            key.remove_suffix(1);
        }
        while (value.starts_with(' ')) {
            value.remove_prefix(1);
        }
        onKey(key, value, line);
    }
}

} // namespace

std::string EntryStarting(std::string_view entry, const std::filesystem::path& program) {
    std::string out;
    const auto keep = [&](std::string_view line) {
        out += line;
        out += '\n';
    };
    EachLine(
        entry,
        [&](std::string_view key, std::string_view value, std::string_view line) {
            if (key == "Exec") {
                // The program's own entry names its executable as the first
                // word; the arguments after it stay.
                const std::size_t space = value.find(' ');
                out +=
                    "Exec=" + ExecArgument(program.string()) +
                    std::string(space == std::string_view::npos ? std::string_view() : value.substr(space)) +
                    '\n';
            } else if (key == "TryExec") {
                out += "TryExec=" + EscapedValue(program.string()) + '\n';
            } else {
                keep(line);
            }
        },
        keep);
    return out;
}

bool EntryStarts(std::string_view entry) {
    bool starts = true;
    EachLine(
        entry,
        [&](std::string_view key, std::string_view value, std::string_view) {
            if ((key == "Hidden" && value == "true") ||
                (key == "X-GNOME-Autostart-enabled" && value == "false")) {
                starts = false;
            }
        },
        [](std::string_view) {});
    return starts;
}

DesktopAutostart::DesktopAutostart(Folders folders, std::string fileName, std::string entry,
                                   std::filesystem::path program)
    : folders_(std::move(folders)), fileName_(std::move(fileName)), userEntry_(folders_.user / fileName_),
      startEntry_(EntryStarting(entry, program)) {
    // Not to start: the same entry, hidden, so that the entry of the system
    // folders (the package's) is hidden with it.
    const std::size_t group = startEntry_.find(kEntryGroup);
    const std::size_t after = group == std::string::npos ? 0 : startEntry_.find('\n', group) + 1;
    hiddenEntry_ = startEntry_.substr(0, after) + "Hidden=true\n" + startEntry_.substr(after);
}

DesktopAutostart::Folders DesktopAutostart::SessionFolders() {
    Folders folders;
    const char* configHomeValue = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path configHome = configHomeValue != nullptr ? configHomeValue : "";
    if (!configHome.is_absolute()) {
        const char* home = std::getenv("HOME");
        configHome = std::filesystem::path(home != nullptr ? home : "") / ".config";
    }
    folders.user = configHome / "autostart";
    for (const std::filesystem::path& folder : XdgSearchPath("XDG_CONFIG_DIRS", "/etc/xdg")) {
        folders.system.push_back(folder / "autostart");
    }
    return folders;
}

bool DesktopAutostart::startsWithDesktop() const {
    // The first folder that has the entry decides, as the session reads them.
    LocalFileSystem files;
    std::vector<std::filesystem::path> entries{userEntry_};
    for (const std::filesystem::path& folder : folders_.system) {
        entries.push_back(folder / fileName_);
    }
    for (const std::filesystem::path& entry : entries) {
        std::error_code ignored;
        if (!std::filesystem::exists(std::filesystem::symlink_status(entry, ignored))) {
            continue;
        }
        const FileResult<std::string> text = files.readAll(entry);
        return text && EntryStarts(*text);
    }
    return false;
}

FileStatus DesktopAutostart::setStartsWithDesktop(bool start) {
    std::error_code error;
    std::filesystem::create_directories(folders_.user, error);
    if (error) {
        return FileError{FileError::Kind::WriteFailed, folders_.user, error.value()};
    }
    const std::string& text = start ? startEntry_ : hiddenEntry_;
    return ReplaceFileAtomically(userEntry_,
                                 std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace quorvel
