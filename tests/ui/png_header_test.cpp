// What a look at a PNG's first and last bytes tells, on the Default skin's
// main.png and damaged copies of it.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ui/png_header.h"

namespace quorvel {
namespace {

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<ImageSize> SizeOf(const std::string& file) {
    std::array<unsigned char, kPngHeaderBytes> start{};
    std::array<unsigned char, kPngEndBytes> end{};
    if (file.size() < start.size() + end.size()) {
        return std::nullopt;
    }
    std::copy_n(file.begin(), start.size(), start.begin());
    std::copy_n(file.end() - static_cast<std::ptrdiff_t>(end.size()), end.size(), end.begin());
    return PngHeaderSize(start, end);
}

TEST(PngHeaderSize, TheSizeOfAWholeHeaderAndEndAndNothingForADamagedOne) {
    const std::filesystem::path source = QUORVEL_SOURCE_DIR;
    const std::string main = Read(source / "res/skins/Default/main.png");
    ASSERT_GT(main.size(), 1000u);
    const auto changed = [&](std::size_t at) {
        std::string copy = main;
        copy[at] = static_cast<char>(copy[at] ^ 0x01);
        return copy;
    };
    const struct {
        const char* what;
        std::string file;
        std::optional<ImageSize> size;
    } cases[] = {
        {"whole", main, ImageSize{880, 640}},
        {"pixel data damaged, header and end whole", changed(main.size() / 2), ImageSize{880, 640}},
        {"the size of the huge test image", Read(source / "tests/data/claims-20000x20000.png"),
         ImageSize{20000, 20000}},
        {"signature", changed(1), std::nullopt},
        {"IHDR's length", changed(11), std::nullopt},
        {"IHDR's width, its CRC now wrong", changed(18), std::nullopt},
        {"IHDR's CRC", changed(31), std::nullopt},
        {"IEND's CRC", changed(main.size() - 1), std::nullopt},
        {"cut short", main.substr(0, 400), std::nullopt},
        {"cut to the header", main.substr(0, kPngHeaderBytes), std::nullopt},
        {"no PNG", "not a picture, but long enough to be looked at as one", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeOf(c.file), c.size) << c.what;
    }
}

} // namespace
} // namespace quorvel
