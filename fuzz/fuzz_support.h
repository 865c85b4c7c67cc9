#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/memory_file_system.h"

// What the fuzz targets share: a check that stops the run with the input
// that broke it.
namespace quorvel::fuzz {

inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The input as the one file of an in-memory file system.
struct InputFile {
    InputFile(std::filesystem::path at, const std::uint8_t* data, std::size_t size) : path(std::move(at)) {
        files.files[path] = std::string(reinterpret_cast<const char*>(data), size);
    }
    std::filesystem::path path;
    testing::MemoryFileSystem files;
};

inline std::string_view Trimmed(std::string_view s) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace quorvel::fuzz
