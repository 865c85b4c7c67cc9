#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ports/system_ports.h"

namespace quorvel {

// The desktop's autostart folders (XDG): at login the session starts each
// entry of $XDG_CONFIG_HOME/autostart and of every $XDG_CONFIG_DIRS/autostart,
// where an entry of the user's folder stands for all entries of its name,
// and an entry with Hidden=true starts nothing. The program's choice is
// always the user's own entry: the program's entry naming this executable
// to start it, the same with Hidden=true not to. Either way the entry
// outweighs the system's of the same name.
class DesktopAutostart final : public AutostartPort {
public:
    struct Folders {
        std::filesystem::path user;                // $XDG_CONFIG_HOME/autostart
        std::vector<std::filesystem::path> system; // each $XDG_CONFIG_DIRS/autostart, most important first
    };

    // `fileName` is the entry's name in every folder, `entry` the text of
    // the program's autostart entry, `program` the executable it starts.
    DesktopAutostart(Folders folders, std::string fileName, std::string entry, std::filesystem::path program);

    // The folders of this user's session.
    static Folders SessionFolders();

    bool startsWithDesktop() const override;
    FileStatus setStartsWithDesktop(bool start) override;

    const std::filesystem::path& userEntry() const { return userEntry_; }

private:
    Folders folders_;
    std::string fileName_;
    std::filesystem::path userEntry_;
    std::string startEntry_;
    std::string hiddenEntry_;
};

// `entry` (a desktop entry) with its Exec and TryExec naming `program` by
// its full path, quoted as the Exec key wants where the path needs it.
std::string EntryStarting(std::string_view entry, const std::filesystem::path& program);

// Whether a session that reads `entry` starts it: not when it is Hidden,
// nor when GNOME's own switch (X-GNOME-Autostart-enabled) is off.
bool EntryStarts(std::string_view entry);

} // namespace quorvel
