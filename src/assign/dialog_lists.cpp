#include "assign/dialog_lists.h"

#include <cstddef>
#include <iterator>

namespace quorvel {

namespace {

// clang-format off
constexpr FireKeyEntry kFireKeys[] = {
    // positions 0-25: letters
    {"A", 0x04}, {"B", 0x05}, {"C", 0x06}, {"D", 0x07}, {"E", 0x08}, {"F", 0x09}, {"G", 0x0A},
    {"H", 0x0B}, {"I", 0x0C}, {"J", 0x0D}, {"K", 0x0E}, {"L", 0x0F}, {"M", 0x10}, {"N", 0x11},
    {"O", 0x12}, {"P", 0x13}, {"Q", 0x14}, {"R", 0x15}, {"S", 0x16}, {"T", 0x17}, {"U", 0x18},
    {"V", 0x19}, {"W", 0x1A}, {"X", 0x1B}, {"Y", 0x1C}, {"Z", 0x1D},
    // positions 26-35: digits, 0 last
    {"1", 0x1E}, {"2", 0x1F}, {"3", 0x20}, {"4", 0x21}, {"5", 0x22}, {"6", 0x23}, {"7", 0x24},
    {"8", 0x25}, {"9", 0x26}, {"0", 0x27},
    // positions 36-41: modifier keys; the Windows keys are not offered
    {"L-CTRL", 0xE0}, {"L-SHIFT", 0xE1}, {"L-ALT", 0xE2}, {"R-CTRL", 0xE4}, {"R-SHIFT", 0xE5},
    {"R-ALT", 0xE6},
    // positions 42-53: function keys
    {"F1", 0x3A}, {"F2", 0x3B}, {"F3", 0x3C}, {"F4", 0x3D}, {"F5", 0x3E}, {"F6", 0x3F}, {"F7", 0x40},
    {"F8", 0x41}, {"F9", 0x42}, {"F10", 0x43}, {"F11", 0x44}, {"F12", 0x45},
    // positions 54-60: mouse codes
    {"L-Button", 0xF0}, {"R-Button", 0xF1}, {"M-Button", 0xF2}, {"B4-Button", 0xF3},
    {"B5-Button", 0xF4}, {"L-Tilt Wheel", 0xF5}, {"R-Tilt Wheel", 0xF6},
};

// Usages of the Consumer page (0x0C); their high byte is 0.
constexpr ConsumerKeyEntry kMediaKeys[] = {
    {{"Next", "下一首", "下一首"}, 0xB5}, // Scan Next Track
    {{"Previous", "上一首", "上一首"}, 0xB6}, // Scan Previous Track
    {{"Stop", "停止", "停止"}, 0xB7}, // Stop
    {{"Play/Pause", "播放/暂停", "播放/暫停"}, 0xCD}, // Play/Pause
    {{"Mute", "静音", "靜音"}, 0xE2}, // Mute
    {{"Vol+", "音量+", "音量+"}, 0xE9}, // Volume Increment
    {{"Vol-", "音量-", "音量-"}, 0xEA}, // Volume Decrement
};

// Usages of the Consumer page (0x0C): the high byte is 0x01 for the
// application-launch keys of positions 0-3 and 0x02 for the browser keys of
// positions 4-10.
constexpr ConsumerKeyEntry kApplicationKeys[] = {
    {{"Multimedia Player", "打开多媒体播放器", "打開多媒體播放器"}, 0x0183}, // AL Consumer Control Configuration
    {{"Mail", "邮件", "郵件"}, 0x018A}, // AL Email Reader
    {{"Calculator", "计算器", "計算器"}, 0x0192}, // AL Calculator
    {{"My Computer", "我的电脑", "我的電腦"}, 0x0194}, // AL Local Machine Browser
    {{"Browser-Search", "浏览器-搜索", "瀏覽器-搜索"}, 0x0221}, // AC Search
    {{"Browser-Home", "浏览器-主页", "瀏覽器-主頁"}, 0x0223}, // AC Home
    {{"Browser-Back", "浏览器-后退", "瀏覽器-後退"}, 0x0224}, // AC Back
    {{"Browser-Forward", "浏览器-前进", "瀏覽器-前進"}, 0x0225}, // AC Forward
    {{"Browser-Stop", "浏览器-停止", "瀏覽器-停止"}, 0x0226}, // AC Stop
    {{"Browser-Refresh", "浏览器-刷新", "瀏覽器-刷新"}, 0x0227}, // AC Refresh
    {{"Browser-My Favorites", "浏览器-收藏夹", "瀏覽器-我的最愛"}, 0x022A}, // AC Bookmarks
};
// clang-format on

static_assert(std::size(kFireKeys) == kFireKeyCount);
static_assert(std::size(kMediaKeys) == kMediaKeyCount);
static_assert(std::size(kApplicationKeys) == kApplicationKeyCount);

std::string_view ConsumerKeyText(std::span<const ConsumerKeyEntry> list, Language language, int position) {
    const ConsumerKeyEntry* entry = EntryAt(list, position);
    const auto column = static_cast<std::size_t>(language);
    if (entry == nullptr || column >= entry->text.size()) {
        return {};
    }
    return entry->text[column];
}

} // namespace

std::span<const FireKeyEntry> FireKeyList() {
    return kFireKeys;
}

std::span<const ConsumerKeyEntry> MediaKeyList() {
    return kMediaKeys;
}

std::span<const ConsumerKeyEntry> ApplicationKeyList() {
    return kApplicationKeys;
}

std::string_view FireKeyText(int position) {
    const FireKeyEntry* entry = EntryAt(FireKeyList(), position);
    return entry != nullptr ? entry->text : std::string_view();
}

std::string_view MediaKeyText(Language language, int position) {
    return ConsumerKeyText(MediaKeyList(), language, position);
}

std::string_view ApplicationKeyText(Language language, int position) {
    return ConsumerKeyText(ApplicationKeyList(), language, position);
}

} // namespace quorvel
