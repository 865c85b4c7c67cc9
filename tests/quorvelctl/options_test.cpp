#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

#include "app/named_settings.h"
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

// set joins its value words, so that "set button.A.3 Combo Key-Left Ctrl+A"
// needs no quotes; export and import take "-" for standard output and input.
TEST(SettingsOptions, TheWordsAfterASettingsCommandAreItsOperands) {
    using Kind = SettingsCommand::Kind;
    const struct {
        std::vector<std::string> arguments;
        std::optional<SettingsCommand> command; // nothing: refused
        std::optional<Byte> sensorType = std::nullopt;
    } cases[] = {
        {{"show"}, SettingsCommand{Kind::Show, "", "", ""}},
        {{"get", "report-rate"}, SettingsCommand{Kind::Get, "report-rate", "", ""}},
        {{"set", "report-rate", "500"}, SettingsCommand{Kind::Set, "report-rate", "500", ""}},
        {{"set", "button.A.3", "Combo", "Key-Left", "Ctrl+A"},
         SettingsCommand{Kind::Set, "button.A.3", "Combo Key-Left Ctrl+A", ""}},
        {{"--sensor-type", "1", "set", "dpi.2", "1600"},
         SettingsCommand{Kind::Set, "dpi.2", "1600", ""},
         Byte{1}},
        {{"set", "--", "pointer.wheel-lines", "-1"},
         SettingsCommand{Kind::Set, "pointer.wheel-lines", "-1", ""}},
        {{"export", "-"}, SettingsCommand{Kind::Export, "", "", "-"}},
        {{"--data", "/d", "import", "p.txt"}, SettingsCommand{Kind::Import, "", "", "p.txt"}},
        {{"show", "all"}, std::nullopt},
        {{"get"}, std::nullopt},
        {{"set", "report-rate"}, std::nullopt},
        {{"export"}, std::nullopt},
        {{"import", "a", "b"}, std::nullopt},
        {{"--sensor-type", "1", "apply"}, std::nullopt},
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
        EXPECT_EQ(parsed.options->action, Action::Settings) << line;
        EXPECT_EQ(parsed.options->settings.kind, row.command->kind) << line;
        EXPECT_EQ(parsed.options->settings.name, row.command->name) << line;
        EXPECT_EQ(parsed.options->settings.value, row.command->value) << line;
        EXPECT_EQ(parsed.options->settings.file, row.command->file) << line;
        EXPECT_EQ(parsed.options->sensorType, row.sensorType) << line;
    }
}

// The list of settings in --help is the table's: every name of the table
// has its form there, and every form names some setting.
TEST(SettingsOptions, HelpListsTheFormOfEverySettingName) {
    std::vector<std::pair<std::string, std::regex>> forms;
    std::istringstream usage(kUsage);
    bool inList = false;
    for (std::string line; std::getline(usage, line);) {
        if (line.find("The settings (") != std::string::npos) {
            inList = true;
            continue;
        }
        if (!inList || !line.starts_with("    ") || line[4] == ' ') {
            inList = inList && line.starts_with("    ");
            continue;
        }
        std::string names = line.substr(4, line.find("  ", 4) - 4);
        for (std::size_t comma; (comma = names.find(", ")) != std::string::npos || !names.empty();) {
            const std::string form = names.substr(0, comma);
            names = comma == std::string::npos ? std::string() : names.substr(comma + 2);
            const std::string pattern =
                std::regex_replace(std::regex_replace(std::regex_replace(form, std::regex(R"(\.)"), R"(\.)"),
                                                      std::regex("[NJK]\\b"), "[0-9]+"),
                                   std::regex("NAME"), ".+");
            forms.emplace_back(form, std::regex(pattern));
        }
    }
    ASSERT_GT(forms.size(), 15u);
    std::set<std::string> used;
    for (const NamedSetting& setting : NamedSettings({std::nullopt, {"Copy"}})) {
        const auto form = std::find_if(forms.begin(), forms.end(), [&](const auto& f) {
            return std::regex_match(setting.name, f.second);
        });
        EXPECT_NE(form, forms.end()) << setting.name;
        if (form != forms.end()) {
            used.insert(form->first);
        }
    }
    EXPECT_EQ(used.size(), forms.size()) << "a form of --help that names no setting";
}

} // namespace
} // namespace quorvel::ctl
