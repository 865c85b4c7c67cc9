// Skin images through Qt's reader, as a user's skin folder may hold them.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "qt/qt_image_decoder.h"
#include "system/linux/local_file_system.h"
#include "ui/skin_painter.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = QUORVEL_SOURCE_DIR;

// A text file named like an image, a PNG cut off inside its pixel data, and
// a PNG of 157 bytes that claims 20000 x 20000 pixels: none is drawn, each
// says why, and the large one is judged by its header alone.
TEST(QtImageDecoder, ADamagedOrOversizedImageIsToldAndNotDrawn) {
    const fs::path folder = fs::temp_directory_path() / ("quorvel-qt-images-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "notes.png") << "not a picture";
    {
        std::ifstream whole(kSource / "res/skins/Default/main.png", std::ios::binary);
        std::vector<char> start(400);
        whole.read(start.data(), static_cast<std::streamsize>(start.size()));
        std::ofstream(folder / "cut.png", std::ios::binary).write(start.data(), whole.gcount());
    }
    fs::copy_file(kSource / "tests/data/claims-20000x20000.png", folder / "huge.png");

    QtImageDecoder decoder;
    LocalFileSystem files;
    ImageCache images(files, decoder);
    using Kind = ImageFault::Kind;
    const struct {
        const char* name;
        ImageFault fault;
    } cases[] = {
        {"missing.png", {Kind::Missing, folder / "missing.png"}},
        {"notes.png", {Kind::Unreadable, folder / "notes.png"}},
        {"cut.png", {Kind::Unreadable, folder / "cut.png"}},
        {"huge.png", {Kind::TooLarge, folder / "huge.png", 20000, 20000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(images.fault(folder / c.name), c.fault) << c.name;
        EXPECT_EQ(images.load(folder / c.name), nullptr) << c.name;
    }
    const std::optional<DecodedImage> huge = decoder.decode(folder / "huge.png");
    ASSERT_TRUE(huge);
    EXPECT_TRUE(huge->rgba.empty()) << "not a pixel decoded";

    const SkinImage* main = images.load(kSource / "res/skins/Default/main.png");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->pixels.size(),
              static_cast<std::size_t>(main->width) * static_cast<std::size_t>(main->height));
    // Read straight into the cache's pixels, the image without alpha has
    // Qt's own pixels for it.
    const QImage qt = QImage(QString::fromStdString((kSource / "res/skins/Default/main.png").string()))
                          .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(QSize(main->width, main->height), qt.size());
    EXPECT_FALSE(main->hasAlpha);
    EXPECT_EQ(std::memcmp(main->pixels.data(), qt.constBits(), main->pixels.size() * 4), 0);
    fs::remove_all(folder);
}

} // namespace
} // namespace quorvel
