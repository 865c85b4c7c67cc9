// The desktop's autostart folders on real files: which entry the session
// reads, and the user's entry the program writes.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "system/linux/desktop_autostart.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kName = "io.github.quorvel.Quorvel.desktop";
// The program's autostart entry, as the package installs it.
constexpr std::string_view kEntry = "[Desktop Entry]\n"
                                    "Type=Application\n"
                                    "Name=Quorvel Gaming Mouse\n"
                                    "Exec=quorvel --autostart\n"
                                    "TryExec=quorvel\n"
                                    "X-GNOME-Autostart-enabled=true\n";
constexpr const char* kHidden = "[Desktop Entry]\nHidden=true\nName=Quorvel Gaming Mouse\nExec=quorvel\n";

struct DesktopAutostartTest : ::testing::Test {
    fs::path root;
    DesktopAutostart::Folders folders;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvel-autostart-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        folders = {root / "home/autostart", {root / "etc/autostart", root / "more/autostart"}};
    }
    void TearDown() override { fs::remove_all(root); }

    static void Put(const fs::path& file, std::string_view text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    static std::string Read(const fs::path& file) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    DesktopAutostart Autostart(const fs::path& program = "/usr/bin/quorvel") const {
        return DesktopAutostart(folders, kName, std::string(kEntry), program);
    }
};

TEST_F(DesktopAutostartTest, TheEntryOfTheFirstFolderThatHasOneDecides) {
    const struct {
        const char* name;
        const char* user;    // nullptr: no entry
        const char* system;  // the first system folder's
        const char* further; // the second system folder's
        bool starts;
    } cases[] = {
        {"no entry anywhere", nullptr, nullptr, nullptr, false},
        {"the system's entry", nullptr, kEntry.data(), nullptr, true},
        {"a later system folder's", nullptr, nullptr, kEntry.data(), true},
        {"the system's, hidden", nullptr, kHidden, nullptr, false},
        {"the first system folder hides the later one's", nullptr, kHidden, kEntry.data(), false},
        {"the user's hidden one over the system's", kHidden, kEntry.data(), nullptr, false},
        {"the user's over the system's hidden one", kEntry.data(), kHidden, nullptr, true},
        {"GNOME's own switch off", "[Desktop Entry]\nExec=quorvel\nX-GNOME-Autostart-enabled=false\n",
         kEntry.data(), nullptr, false},
        {"Hidden in another group does not count",
         "[Desktop Entry]\nExec=quorvel\n[Desktop Action x]\nHidden=true\n", nullptr, nullptr, true},
    };
    for (const auto& c : cases) {
        fs::remove_all(root / "home");
        fs::remove_all(root / "etc");
        fs::remove_all(root / "more");
        const std::pair<const char*, fs::path> entries[] = {
            {c.user, folders.user}, {c.system, folders.system[0]}, {c.further, folders.system[1]}};
        for (const auto& [text, folder] : entries) {
            if (text != nullptr) {
                Put(folder / kName, text);
            }
        }
        EXPECT_EQ(Autostart().startsWithDesktop(), c.starts) << c.name;
    }
}

// Off, the user's entry is the program's entry hidden, which hides the
// system's too; on, it is the program's entry naming this executable.
// Either is a file of its own, even where the user had linked the system's.
TEST_F(DesktopAutostartTest, TheUsersOwnEntryTurnsTheSystemsOffAndOn) {
    Put(folders.system[0] / kName, kEntry);
    fs::create_directories(folders.user);
    fs::create_symlink(folders.system[0] / kName, folders.user / kName);
    DesktopAutostart autostart = Autostart();
    ASSERT_TRUE(autostart.startsWithDesktop());

    ASSERT_EQ(autostart.setStartsWithDesktop(false), std::nullopt);
    EXPECT_FALSE(autostart.startsWithDesktop());
    EXPECT_FALSE(fs::is_symlink(folders.user / kName));
    EXPECT_EQ(Read(folders.user / kName), "[Desktop Entry]\n"
                                          "Hidden=true\n"
                                          "Type=Application\n"
                                          "Name=Quorvel Gaming Mouse\n"
                                          "Exec=/usr/bin/quorvel --autostart\n"
                                          "TryExec=/usr/bin/quorvel\n"
                                          "X-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(Read(folders.system[0] / kName), kEntry) << "the system's entry is left alone";

    ASSERT_EQ(autostart.setStartsWithDesktop(true), std::nullopt);
    EXPECT_TRUE(autostart.startsWithDesktop());
    EXPECT_EQ(Read(folders.user / kName), "[Desktop Entry]\n"
                                          "Type=Application\n"
                                          "Name=Quorvel Gaming Mouse\n"
                                          "Exec=/usr/bin/quorvel --autostart\n"
                                          "TryExec=/usr/bin/quorvel\n"
                                          "X-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folders.user), fs::directory_iterator{}), 1)
        << "no temporary file is left";
}

TEST_F(DesktopAutostartTest, AnEntryThatCannotBeWrittenIsToldAndTheSystemsStillCounts) {
    Put(folders.system[0] / kName, kEntry);
    Put(root / "home", "a file where the folder would be");
    DesktopAutostart autostart = Autostart();
    const FileStatus error = autostart.setStartsWithDesktop(false);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileError::Kind::WriteFailed);
    EXPECT_EQ(error->path, folders.user);
    EXPECT_NE(error->code, 0);
    EXPECT_TRUE(autostart.startsWithDesktop());
}

// Exec takes the path as one argument, quoted and escaped by the rules of
// the Exec key; TryExec takes it as a plain string.
TEST(EntryStarting, NamesTheExecutableByItsFullPath) {
    const struct {
        const char* program;
        const char* exec;
        const char* tryExec;
    } cases[] = {
        {"/usr/bin/quorvel", "Exec=/usr/bin/quorvel --autostart", "TryExec=/usr/bin/quorvel"},
        {"/home/a b/quorvel", "Exec=\"/home/a b/quorvel\" --autostart", "TryExec=/home/a b/quorvel"},
        {"/opt/100%/quorvel", "Exec=/opt/100%%/quorvel --autostart", "TryExec=/opt/100%/quorvel"},
        {"/x/$q\\y", "Exec=\"/x/\\\\$q\\\\\\\\y\" --autostart", "TryExec=/x/$q\\\\y"},
    };
    for (const auto& c : cases) {
        const std::string entry = EntryStarting(kEntry, c.program);
        EXPECT_NE(entry.find(std::string("\n") + c.exec + "\n"), std::string::npos) << c.program << "\n"
                                                                                    << entry;
        EXPECT_NE(entry.find(std::string("\n") + c.tryExec + "\n"), std::string::npos) << c.program << "\n"
                                                                                       << entry;
    }
}

} // namespace
} // namespace quorvel
