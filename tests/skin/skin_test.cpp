#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>

#include <set>
#include <string>

#include "default_skin.h"
#include "ui/skin_images.h"

namespace quorvel::skin {
namespace {

const QString kCommittedFolder = QStringLiteral(QUORVEL_SOURCE_DIR "/res/skins/Default");

QString Name(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

TEST(DefaultSkin, TheGeneratorDrawsEveryImageOnce) {
    std::set<std::string_view> drawn;
    for (const SkinImage& image : PaintDefaultSkin()) {
        EXPECT_TRUE(drawn.insert(image.name).second) << image.name;
        EXPECT_FALSE(image.image.isNull()) << image.name;
    }
    EXPECT_EQ(drawn, std::set<std::string_view>(kSkinImageNames.begin(), kSkinImageNames.end()));
}

// The committed skin is exactly what the generator draws, pixel for pixel:
// after a change to the drawing or the layout, run
//   make_skin res/skins/Default
TEST(DefaultSkin, CommittedImagesAreWhatTheGeneratorDraws) {
    for (const SkinImage& drawn : PaintDefaultSkin()) {
        const QImage committed(kCommittedFolder + Name(drawn.name));
        ASSERT_FALSE(committed.isNull()) << drawn.name << " is missing; run make_skin res/skins/Default";
        EXPECT_EQ(committed.hasAlphaChannel(), drawn.image.hasAlphaChannel()) << drawn.name;
        EXPECT_EQ(committed.size(), drawn.image.size()) << drawn.name;
        EXPECT_TRUE(committed.convertToFormat(QImage::Format_ARGB32) ==
                    drawn.image.convertToFormat(QImage::Format_ARGB32))
            << drawn.name << " differs; run make_skin res/skins/Default";
    }
}

TEST(DefaultSkin, TheFolderHoldsNothingElse) {
    const QStringList files = QDir(kCommittedFolder).entryList(QDir::Files);
    std::set<std::string> expected;
    for (std::string_view name : kSkinImageNames) {
        expected.insert(std::string(name.substr(1)));
    }
    std::set<std::string> found;
    for (const QString& file : files) {
        found.insert(file.toStdString());
    }
    EXPECT_EQ(found, expected);
}

} // namespace
} // namespace quorvel::skin
