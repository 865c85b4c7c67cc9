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

const QString kCommittedSkins = QStringLiteral(QUORVEL_SOURCE_DIR "/res/skins/");

QString Name(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The file an image of `scale` is kept in.
QString FileName(std::string_view name, int scale) {
    return scale == 1 ? Name(name) : QString::fromStdString(DoubleDensityName(name));
}

TEST(GeneratedSkins, EachDrawsEveryImageOnceAtTwiceTheSizeForDoubleDensity) {
    for (const SkinName& skin : SkinNames()) {
        const std::vector<SkinImage> plain = PaintSkin(skin.skin, 1);
        const std::vector<SkinImage> sharp = PaintSkin(skin.skin, 2);
        std::set<std::string_view> drawn;
        ASSERT_EQ(plain.size(), sharp.size());
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_TRUE(drawn.insert(plain[i].name).second) << plain[i].name;
            EXPECT_FALSE(plain[i].image.isNull()) << plain[i].name;
            EXPECT_EQ(sharp[i].name, plain[i].name);
            EXPECT_EQ(sharp[i].image.size(), plain[i].image.size() * 2) << plain[i].name;
            EXPECT_EQ(sharp[i].image.hasAlphaChannel(), plain[i].image.hasAlphaChannel()) << plain[i].name;
        }
        EXPECT_EQ(drawn, std::set<std::string_view>(kSkinImageNames.begin(), kSkinImageNames.end()))
            << skin.folder;
    }
}

TEST(GeneratedSkins, EmberIsAnotherLookOfTheSameShapes) {
    const std::vector<SkinImage> standard = PaintSkin(Skin::Default, 1);
    const std::vector<SkinImage> ember = PaintSkin(Skin::Ember, 1);
    for (std::size_t i = 0; i < standard.size(); ++i) {
        EXPECT_EQ(ember[i].image.size(), standard[i].image.size()) << ember[i].name;
        EXPECT_NE(ember[i].image, standard[i].image) << ember[i].name << " looks the same in both skins";
    }
}

// The committed skins are exactly what the generator draws, pixel for pixel:
// after a change to the drawing or the layout, run
//   make_skin res/skins
TEST(GeneratedSkins, CommittedImagesAreWhatTheGeneratorDraws) {
    for (const SkinName& skin : SkinNames()) {
        const QString folder = kCommittedSkins + Name(skin.folder);
        for (const int scale : {1, 2}) {
            for (const SkinImage& drawn : PaintSkin(skin.skin, scale)) {
                const QString file = folder + FileName(drawn.name, scale);
                const QImage committed(file);
                ASSERT_FALSE(committed.isNull())
                    << file.toStdString() << " is missing; run make_skin res/skins";
                EXPECT_EQ(committed.hasAlphaChannel(), drawn.image.hasAlphaChannel()) << file.toStdString();
                EXPECT_EQ(committed.size(), drawn.image.size()) << file.toStdString();
                EXPECT_TRUE(committed.convertToFormat(QImage::Format_ARGB32) ==
                            drawn.image.convertToFormat(QImage::Format_ARGB32))
                    << file.toStdString() << " differs; run make_skin res/skins";
            }
        }
    }
}

TEST(GeneratedSkins, TheFoldersHoldNothingElse) {
    std::set<std::string> expected;
    for (std::string_view name : kSkinImageNames) {
        expected.insert(std::string(name.substr(1)));
        expected.insert(DoubleDensityName(name).substr(1));
    }
    std::set<std::string> folders;
    for (const QString& folder : QDir(kCommittedSkins).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        folders.insert(folder.toStdString());
        std::set<std::string> found;
        for (const QString& file : QDir(kCommittedSkins + folder).entryList(QDir::Files)) {
            found.insert(file.toStdString());
        }
        EXPECT_EQ(found, expected) << folder.toStdString();
    }
    std::set<std::string> generated;
    for (const SkinName& skin : SkinNames()) {
        generated.insert(std::string(skin.folder));
    }
    EXPECT_EQ(folders, generated);
}

} // namespace
} // namespace quorvel::skin
