// Draws the generated skins' images into a skins folder, each skin in a
// folder of its own, every image also at twice the density ("@2x").
//   make_skin <skins folder>      (the committed copies live in res/skins)
#include <QDir>
#include <QString>

#include <cstdio>

#include "default_skin.h"
#include "ui/skin_images.h"

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

int main(int argc, char** argv) {
    using namespace quorvel::skin;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_skin <skins folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const SkinName& skin : SkinNames()) {
        const QString folder = root + "/" + FromView(skin.folder);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "cannot make %s\n", folder.toLocal8Bit().constData());
            return 1;
        }
        for (const int scale : {1, 2}) {
            for (const SkinImage& image : PaintSkin(skin.skin, scale)) {
                const QString name = scale == 1
                                         ? FromView(image.name)
                                         : QString::fromStdString(quorvel::DoubleDensityName(image.name));
                if (!image.image.save(folder + name, "PNG")) {
                    std::fprintf(stderr, "cannot write %s\n", (folder + name).toLocal8Bit().constData());
                    return 1;
                }
            }
        }
    }
    return 0;
}
