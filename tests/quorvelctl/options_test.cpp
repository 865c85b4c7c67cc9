#include <gtest/gtest.h>

#include "options.h"

namespace quorvel::ctl {
namespace {

// The words after "macro": "-" is standard input, and "--" lets a name
// begin with "-"; anything else out of place is a usage error.
TEST(MacroOptions, TheWordsAfterMacroAreItsCommandAndOperands) {
    const struct {
        std::vector<std::string> arguments;
        std::optional<MacroCommand> command; // nothing: refused
    } cases[] = {
        {{"macro", "list"}, MacroCommand{MacroCommand::Kind::List, "", ""}},
        {{"--data", "/d", "macro", "show", "Copy"}, MacroCommand{MacroCommand::Kind::Show, "Copy", ""}},
        {{"macro", "add", "Copy", "-"}, MacroCommand{MacroCommand::Kind::Add, "Copy", "-"}},
        {{"macro", "add", "--", "-x", "-"}, MacroCommand{MacroCommand::Kind::Add, "-x", "-"}},
        {{"macro", "--data=/d", "delete", "Copy"}, MacroCommand{MacroCommand::Kind::Delete, "Copy", ""}},
        {{"macro"}, std::nullopt},
        {{"macro", "list", "Copy"}, std::nullopt},
        {{"macro", "add", "Copy"}, std::nullopt},
        {{"macro", "rename", "A", "B"}, std::nullopt},
        {{"macro", "show", "-x"}, std::nullopt},
        {{"info", "macro"}, std::nullopt},
    };
    for (const auto& row : cases) {
        std::string line;
        for (const std::string& word : row.arguments) {
            line += word + " ";
        }
        const ParseResult parsed = ParseOptions(row.arguments);
        ASSERT_EQ(parsed.options.has_value(), row.command.has_value()) << line << parsed.error;
        if (!row.command) {
            EXPECT_FALSE(parsed.error.empty()) << line;
            continue;
        }
        EXPECT_EQ(parsed.options->action, Action::Macro) << line;
        EXPECT_EQ(parsed.options->macro.kind, row.command->kind) << line;
        EXPECT_EQ(parsed.options->macro.name, row.command->name) << line;
        EXPECT_EQ(parsed.options->macro.source, row.command->source) << line;
    }
}

} // namespace
} // namespace quorvel::ctl
