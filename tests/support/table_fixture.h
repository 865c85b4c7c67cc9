#pragma once

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace quorvel::testing {

// One entry of a table fixture: its fields and the line it stands on, for
// the failure messages.
struct FixtureRow {
    int line = 0;
    std::vector<std::string> fields;
};

// The entries of tests/data/`name`: one entry a line, its fields separated
// by tabs and kept exactly (blanks included); lines starting with '#' and
// empty lines are skipped. Empty when the file cannot be read, so the
// caller's size check fails.
inline std::vector<FixtureRow> ReadTableFixture(const std::string& name) {
    std::ifstream in(std::string(QUORVEL_SOURCE_DIR) + "/tests/data/" + name, std::ios::binary);
    std::vector<FixtureRow> rows;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (text.empty() || text.front() == '#') {
            continue;
        }
        FixtureRow row{line, {}};
        std::size_t start = 0;
        for (std::size_t tab = text.find('\t'); tab != std::string::npos; tab = text.find('\t', start)) {
            row.fields.push_back(text.substr(start, tab - start));
            start = tab + 1;
        }
        row.fields.push_back(text.substr(start));
        rows.push_back(std::move(row));
    }
    return rows;
}

// A number field, decimal or with a 0x prefix; -1 when the field is not a
// whole number.
inline long FixtureNumber(const std::string& field) {
    char* end = nullptr;
    const long value = std::strtol(field.c_str(), &end, 0);
    return field.empty() || *end != '\0' ? -1 : value;
}

} // namespace quorvel::testing
