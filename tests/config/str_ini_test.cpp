#include <gtest/gtest.h>

#include <cerrno>

#include "config/str_ini.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

using testing::MemoryFileSystem;

const std::filesystem::path kPath = "/data/str.ini";

TEST(StrIni, LabelKeys) {
    const struct {
        int mode, button;
        const char* key;
    } cases[] = {{0, 0, "Item1"},  {0, 11, "Item12"}, {1, 0, "Item13"},
                 {1, 1, "Item23"}, {1, 9, "Item103"}, {1, 11, "Item123"}};
    for (const auto& row : cases) {
        EXPECT_EQ(LabelKey(row.mode, row.button), row.key);
    }
}

TEST(StrIni, MissingFileGivesEmptyLabelsBlackTextAndTheSkinsFolder) {
    MemoryFileSystem files;
    const InterfaceSettings settings = StrIni(files, kPath, "Setting-EN").ReadAll().value();
    EXPECT_EQ(settings.labels[0][0], "");
    EXPECT_EQ(settings.labels[1][11], "");
    EXPECT_EQ(settings.skin.textColour.red + settings.skin.textColour.green + settings.skin.textColour.blue,
              0);
    EXPECT_EQ(settings.skin.path, "");
}

TEST(StrIni, ReadsLabelsOfTheLanguageSectionAndColoursModulo256) {
    MemoryFileSystem files;
    files.files[kPath] = "[Setting-EN]\nItem1=Left Click\nItem123=Key Off\n"
                         "[Setting-CHS]\nItem1=左键\n"
                         "[Skins]\nRColor=300\nGColor=-1\nBColor=12abc\nPath=Default\n";
    const InterfaceSettings english = StrIni(files, kPath, "Setting-EN").ReadAll().value();
    EXPECT_EQ(english.labels[0][0], "Left Click");
    EXPECT_EQ(english.labels[1][11], "Key Off");
    EXPECT_EQ(english.skin.textColour.red, 44);
    EXPECT_EQ(english.skin.textColour.green, 255);
    EXPECT_EQ(english.skin.textColour.blue, 12);
    EXPECT_EQ(english.skin.path, "Default");
    EXPECT_EQ(files.reads, 1) << "the file is read once for all 28 values";
    // Another language keeps labels of its own.
    EXPECT_EQ(StrIni(files, kPath, "Setting-CHS").ReadAll()->labels[0][0], "左键");
    EXPECT_EQ(StrIni(files, kPath, "Setting-CHT").ReadAll()->labels[0][0], "");
}

TEST(StrIni, WritesLabelsInKeyOrderAndTheSkin) {
    MemoryFileSystem files;
    StrIni strIni(files, kPath, "Setting-EN");
    ButtonLabels labels;
    for (int button = 0; button < kButtonCount; ++button) {
        labels[0][static_cast<std::size_t>(button)] = "A" + std::to_string(button);
        labels[1][static_cast<std::size_t>(button)] = "B" + std::to_string(button);
    }
    ASSERT_EQ(strIni.WriteLabels(labels), std::nullopt);
    ASSERT_EQ(strIni.WriteSkin({{200, 16, 0}, "Carbon"}), std::nullopt);
    EXPECT_EQ(files.writes, 2) << "one rewrite per write";
    std::string expected = "[Setting-EN]\n";
    for (int button = 0; button < 12; ++button) {
        expected += "Item" + std::to_string(button + 1) + "=A" + std::to_string(button) + "\n";
    }
    for (int button = 0; button < 12; ++button) {
        expected += "Item" + std::to_string(button + 1) + "3=B" + std::to_string(button) + "\n";
    }
    expected += "[Skins]\nRColor=200\nGColor=16\nBColor=0\nPath=Carbon\n";
    EXPECT_EQ(files.files[kPath], expected);
    EXPECT_EQ(strIni.ReadAll()->labels, labels);
}

// The labels of a root-owned str.ini must not be replaced by 25 lines of
// the current language: a file that cannot be read is an error, and
// nothing is written.
TEST(StrIni, AFileThatCannotBeReadIsAnErrorAndIsNotWritten) {
    MemoryFileSystem files;
    files.files[kPath] = "[Setting-EN]\nItem1=Mine\n[Skins]\nPath=Carbon\n[Setting-CHS]\nItem1=x\n";
    files.unreadable.insert(kPath);
    StrIni strIni(files, kPath, "Setting-EN");
    const FileError error{FileError::Kind::ReadFailed, kPath, EACCES};
    const auto read = strIni.ReadAll();
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error(), error);
    EXPECT_EQ(strIni.WriteLabels(ButtonLabels()), error);
    EXPECT_EQ(strIni.WriteSkin({{1, 2, 3}, "Default"}), error);
    EXPECT_EQ(files.writes, 0);
}

} // namespace
} // namespace quorvel
