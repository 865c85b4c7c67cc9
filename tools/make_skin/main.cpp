// Draws the Default skin's images into a folder.
//   make_skin <output folder>      (the committed copy lives in res/skins/Default)
#include <QString>

#include <cstdio>

#include "default_skin.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_skin <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const quorvel::skin::SkinImage& image : quorvel::skin::PaintDefaultSkin()) {
        const QString path =
            folder + QString::fromUtf8(image.name.data(), static_cast<qsizetype>(image.name.size()));
        if (!image.image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
