#include <gtest/gtest.h>

#include "win32/program_options.h"

namespace quorvel {
namespace {

TEST(ProgramOptions, TheDemosOptionsInBothSpellings) {
    const auto parsed = ParseProgramOptions({L"--screenshot", L"C:\\shots\\bild ä.png", L"--page=advanced",
                                             L"--open-row", L"8", L"--open-list=stage"},
                                            /*demo=*/true);
    ASSERT_TRUE(std::holds_alternative<ProgramOptions>(parsed)) << std::get<std::string>(parsed);
    const ProgramOptions& options = std::get<ProgramOptions>(parsed);
    EXPECT_EQ(options.action, ProgramOptions::Action::Run);
    EXPECT_EQ(options.screenshot, std::filesystem::path(L"C:\\shots\\bild ä.png"));
    EXPECT_TRUE(options.advancedPage);
    EXPECT_EQ(options.openRow, 8);
    EXPECT_EQ(options.openList, "stage");

    for (const auto& [arguments, action] :
         {std::pair{std::vector<std::wstring>{}, ProgramOptions::Action::Run},
          std::pair{std::vector<std::wstring>{L"--version"}, ProgramOptions::Action::Version},
          std::pair{std::vector<std::wstring>{L"-v", L"-h"}, ProgramOptions::Action::Help}}) {
        const auto answer = ParseProgramOptions(arguments, /*demo=*/false);
        ASSERT_TRUE(std::holds_alternative<ProgramOptions>(answer));
        EXPECT_EQ(std::get<ProgramOptions>(answer).action, action);
    }
    const auto atLogin = ParseProgramOptions({L"--autostart"}, /*demo=*/false);
    ASSERT_TRUE(std::holds_alternative<ProgramOptions>(atLogin));
    EXPECT_TRUE(std::get<ProgramOptions>(atLogin).autostart);
}

TEST(ProgramOptions, WrongCommandLinesAreRefusedWithTheReason) {
    const struct {
        std::vector<std::wstring> arguments;
        bool demo;
        const char* error;
    } cases[] = {
        {{L"--screenshot", L"a.png"}, false, "unknown option '--screenshot'"}, // the program has no pictures
        {{L"--frobnicate"}, true, "unknown option '--frobnicate'"},
        {{L"--autostart"}, true, "unknown option '--autostart'"}, // the demo is never started at login
        {{L"extra"}, true, "unexpected argument 'extra'"},
        {{L"--screenshot"}, true, "missing value after '--screenshot'"},
        {{L"--version=2"}, true, "'--version' takes no value"},
        {{L"--page", L"expert"}, true, "--page takes basic or advanced, not 'expert'"},
        {{L"--screenshot", L"a.png", L"--open-row", L"9"},
         true,
         "--open-row takes a row from 1 to 8, not '9'"},
        {{L"--screenshot", L"a.png", L"--open-row=0"}, true, "--open-row takes a row from 1 to 8, not '0'"},
        {{L"--screenshot", L"a.png", L"--open-row", L"2x"},
         true,
         "--open-row takes a row from 1 to 8, not '2x'"},
        {{L"--screenshot", L"a.png", L"--open-list", L"dpi"},
         true,
         "--open-list takes mode, parameter or stage, not 'dpi'"},
        {{L"--open-row", L"3"}, true, "--open-row and --open-list need --screenshot"},
        {{L"--screenshot="}, true, "--screenshot needs a file"},
    };
    for (const auto& row : cases) {
        const auto parsed = ParseProgramOptions(row.arguments, row.demo);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << row.error;
        EXPECT_EQ(std::get<std::string>(parsed), row.error);
    }
}

} // namespace
} // namespace quorvel
