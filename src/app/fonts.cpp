#include "app/fonts.h"

namespace quorvel {

namespace {

constexpr std::uint16_t kSimplifiedChinese = 0x0804;
constexpr std::uint16_t kTraditionalChinese = 0x0404;
constexpr const char* kHeiti = "黑体";
constexpr const char* kSongti = "宋体";
constexpr int kBold = 700;

InterfaceFonts Chinese(const char* face) {
    return {{face, 13, 400}, {face, 18, kBold}};
}

} // namespace

InterfaceFonts FontsFor(std::uint16_t langId, int majorVersion, int minorVersion) {
    if (langId == kSimplifiedChinese) {
        return Chinese(majorVersion == 6 && minorVersion == 2 ? kHeiti : kSongti);
    }
    if (langId == kTraditionalChinese) {
        return Chinese(kHeiti);
    }
    return {{"Arial", 14, 400}, {"Tahoma", 18, kBold}};
}

} // namespace quorvel
