// Holds every #include under src/ against the module table of the README, so
// that an arrow pointing the wrong way (core including the shell, an adapter
// including core, a Qt or system header in core) fails the tests instead of
// waiting for a second platform to find it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ModuleRule {
    std::string kind; // port, core, adapter or shell
    std::set<std::string> mayInclude;
};

using ModuleTable = std::map<std::string, ModuleRule>;

struct Include {
    std::string file;   // relative to src/
    std::string header; // as written between the quotes or brackets
    bool angled = false;
};

// The table between the two markers of README.md: `module` | kind | `dep` `dep` …
ModuleTable ReadModuleTable(std::istream& readme) {
    ModuleTable table;
    bool inside = false;
    const std::regex name(R"(`([^`]+)`)");
    for (std::string line; std::getline(readme, line);) {
        if (line.find("module dependencies: begin") != std::string::npos) {
            inside = true;
            continue;
        }
        if (line.find("module dependencies: end") != std::string::npos) {
            break;
        }
        if (!inside || line.rfind("| `", 0) != 0) {
            continue;
        }
        std::vector<std::string> cells;
        std::stringstream row(line.substr(1));
        for (std::string cell; std::getline(row, cell, '|');) {
            cells.push_back(cell);
        }
        if (cells.size() < 3) {
            continue;
        }
        std::smatch module;
        if (!std::regex_search(cells[0], module, name)) {
            continue;
        }
        ModuleRule rule;
        std::stringstream kind(cells[1]);
        kind >> rule.kind;
        for (auto it = std::sregex_iterator(cells[2].begin(), cells[2].end(), name);
             it != std::sregex_iterator(); ++it) {
            rule.mayInclude.insert((*it)[1]);
        }
        table[module[1]] = rule;
    }
    return table;
}

// The module a path under src/ belongs to: the longest module name that is a
// folder prefix of it ("hid/linux/x.h" → "hid/linux").
std::string ModuleOf(const std::string& path, const ModuleTable& table) {
    std::string best;
    for (const auto& [module, rule] : table) {
        if (path.rfind(module + "/", 0) == 0 && module.size() > best.size()) {
            best = module;
        }
    }
    return best;
}

// A standard library header: all lower case, no folder and no ".h".
bool IsStandardHeader(const std::string& header) {
    return std::all_of(header.begin(), header.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || c == '_'; });
}

// Every rule the includes break, one line each; empty when the tree keeps the table.
std::vector<std::string> Violations(const std::vector<Include>& includes, const ModuleTable& table) {
    std::vector<std::string> found;
    for (const Include& include : includes) {
        const std::string from = ModuleOf(include.file, table);
        if (from.empty()) {
            found.push_back(include.file + ": in no module of the table");
            continue;
        }
        const ModuleRule& rule = table.at(from);
        if (include.angled) {
            const bool plain = rule.kind == "core" || rule.kind == "port";
            if (plain && !IsStandardHeader(include.header)) {
                found.push_back(include.file + ": " + rule.kind + " includes <" + include.header + ">");
            }
            continue;
        }
        const std::string to = ModuleOf(include.header, table);
        if (to.empty()) {
            found.push_back(include.file + ": includes \"" + include.header + "\" of no module");
        } else if (to != from && rule.mayInclude.count(to) == 0) {
            found.push_back(include.file + ": " + from + " may not include " + to + " (\"" + include.header +
                            "\")");
        }
    }
    return found;
}

std::vector<Include> IncludesOf(const std::string& relativePath, std::istream& source) {
    std::vector<Include> includes;
    const std::regex directive(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    for (std::string line; std::getline(source, line);) {
        std::smatch match;
        if (std::regex_search(line, match, directive)) {
            includes.push_back({relativePath, match[2], match[1] == "<"});
        }
    }
    return includes;
}

ModuleTable ProjectTable() {
    std::ifstream readme(fs::path(QUORVEL_SOURCE_DIR) / "README.md");
    return ReadModuleTable(readme);
}

TEST(Layering, TheReadmeTableNamesEveryModule) {
    const ModuleTable table = ProjectTable();
    ASSERT_FALSE(table.empty()) << "README.md has no module table between its markers";
    for (const auto& [module, rule] : table) {
        EXPECT_TRUE(fs::is_directory(fs::path(QUORVEL_SOURCE_DIR) / "src" / module)) << module;
        for (const std::string& dependency : rule.mayInclude) {
            EXPECT_TRUE(table.count(dependency)) << module << " names unknown module " << dependency;
        }
    }
}

TEST(Layering, EveryIncludeUnderSrcKeepsTheTable) {
    const ModuleTable table = ProjectTable();
    const fs::path src = fs::path(QUORVEL_SOURCE_DIR) / "src";
    std::vector<Include> includes;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) {
            continue;
        }
        std::ifstream source(entry.path());
        const auto found = IncludesOf(fs::relative(entry.path(), src).generic_string(), source);
        includes.insert(includes.end(), found.begin(), found.end());
    }
    ASSERT_GT(includes.size(), 100u);
    for (const std::string& violation : Violations(includes, table)) {
        ADD_FAILURE() << violation;
    }
}

// Text inside the program is UTF-8, and a path meets it only through
// PathFromUtf8 and Utf8FromPath (src/ports/file_system.h): on Windows a path
// made from a narrow string reads the ANSI code page, so a folder named Zoë
// or 鼠标 would be lost on the way. The lines of code built for Windows that
// make a path from a narrow string that is no literal, or take a path's
// narrow string, otherwise; comments aside.
std::vector<std::string> NarrowPathLines(const std::string& file, std::istream& source, bool takesNarrow) {
    static const std::regex made(R"(\b(?:std::filesystem::|fs::)path(?:\s+\w+)?\s*[({]\s*([^)}\s][^;]*))");
    static const std::regex taken(R"((?:\.|->)(?:generic_)?string\s*\(\s*\)|\bu8path\s*\()");
    std::vector<std::string> found;
    int number = 0;
    for (std::string line; std::getline(source, line);) {
        ++number;
        const std::size_t code = line.find_first_not_of(" \t");
        if (code == std::string::npos || line.compare(code, 2, "//") == 0) {
            continue;
        }
        std::smatch match;
        bool narrow = false;
        if (std::regex_search(line, match, made)) {
            const std::string argument = match[1];
            const bool literal = argument.starts_with("\"") || argument.starts_with("L\"");
            const bool wide = argument.find("wstring") != std::string::npos ||
                              argument.find("Wide") != std::string::npos ||
                              argument.find("u8string") != std::string::npos;
            const bool declared = argument.starts_with("const "); // a function's parameters
            narrow = !literal && !wide && !declared;
        }
        if (narrow || (takesNarrow && std::regex_search(line, taken))) {
            found.push_back(file + ":" + std::to_string(number));
        }
    }
    return found;
}

TEST(Layering, PathsMeetNarrowTextOnlyThroughTheUtf8Forms) {
    const fs::path root = QUORVEL_SOURCE_DIR;
    // Never built for Windows: the Linux adapters and the Qt shell keep the
    // system's own bytes. The port itself holds the two forms.
    const std::set<std::string> linuxOnly = {"src/qt", "src/system/linux", "src/hid/linux"};
    std::vector<std::string> found;
    std::size_t files = 0;
    for (const char* folder : {"src", "programs/win32", "tools/quorvelctl"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string relative = fs::relative(entry.path(), root).generic_string();
            const std::string extension = entry.path().extension().string();
            const bool excluded =
                std::any_of(linuxOnly.begin(), linuxOnly.end(),
                            [&](const std::string& skip) { return relative.starts_with(skip + "/"); });
            if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp") || excluded ||
                relative == "src/ports/file_system.h") {
                continue;
            }
            ++files;
            std::ifstream source(entry.path());
            // quorvelctl's narrow paths go to its messages only, where
            // MinGW's narrow string is UTF-8 already.
            const auto lines = NarrowPathLines(relative, source, !relative.starts_with("tools/"));
            found.insert(found.end(), lines.begin(), lines.end());
        }
    }
    ASSERT_GT(files, 100u);
    EXPECT_EQ(found, std::vector<std::string>{}) << "use PathFromUtf8 and Utf8FromPath";
}

// The checker itself, on planted lines.
TEST(Layering, PlantedNarrowPathsAreFound) {
    std::istringstream source("std::filesystem::path folder(\"Skins\");\n"         // an ASCII literal
                              "auto a = std::filesystem::path(L\"HKEY\");\n"       // wide
                              "auto b = std::filesystem::path(std::wstring(w));\n" // wide
                              "// fs::path(name) in a comment\n"
                              "auto c = std::filesystem::path(name);\n"     // 5: narrow
                              "fs::path d{text + \"/x\"};\n"                // 6: narrow
                              "return path.string() + \": \";\n"            // 7: narrow form taken
                              "auto e = std::filesystem::u8path(text);\n"); // 8: the old form
    EXPECT_EQ(NarrowPathLines("x.cpp", source, true),
              (std::vector<std::string>{"x.cpp:5", "x.cpp:6", "x.cpp:7", "x.cpp:8"}));
}

// The checker itself, on a small table and planted includes.
TEST(Layering, PlantedWrongIncludesAreFound) {
    std::istringstream readme("<!-- module dependencies: begin -->\n"
                              "| Module | Kind | May include |\n"
                              "|---|---|---|\n"
                              "| `ports` | port | |\n"
                              "| `ui` | core | `ports` |\n"
                              "| `app` | core | `ports` `ui` |\n"
                              "| `hid/linux` | adapter | `ports` |\n"
                              "| `qt` | shell | `app` `ports` `ui` |\n"
                              "<!-- module dependencies: end -->\n"
                              "| `dialogs` | core | `ui` |\n");
    const ModuleTable table = ReadModuleTable(readme);
    ASSERT_EQ(table.size(), 5u);

    const std::vector<Include> planted = {
        {"app/page.h", "ui/hover_set.h", false},          // allowed
        {"app/page.h", "app/page_context.h", false},      // own module
        {"app/page.h", "vector", true},                   // standard library
        {"hid/linux/hidraw.cpp", "linux/hidraw.h", true}, // adapters may use the system
        {"qt/window.cpp", "QWidget", true},               // the shell may use Qt
        {"ui/hover_set.h", "app/main_window.h", false},   // upwards
        {"ports/hid_port.h", "ui/geometry.h", false},     // a port depends on core
        {"app/main_window.cpp", "QString", true},         // Qt in core
        {"ui/canvas.cpp", "unistd.h", true},              // a system header in core
        {"app/x.cpp", "hid/linux/hidraw.h", false},       // core on an adapter
        {"dialogs/combo.cpp", "ui/sub_dialog.h", false},  // a module the table lacks
    };
    const std::vector<std::string> expected = {
        "ui/hover_set.h: ui may not include app (\"app/main_window.h\")",
        "ports/hid_port.h: ports may not include ui (\"ui/geometry.h\")",
        "app/main_window.cpp: core includes <QString>",
        "ui/canvas.cpp: core includes <unistd.h>",
        "app/x.cpp: app may not include hid/linux (\"hid/linux/hidraw.h\")",
        "dialogs/combo.cpp: in no module of the table",
    };
    EXPECT_EQ(Violations(planted, table), expected);
}

} // namespace
