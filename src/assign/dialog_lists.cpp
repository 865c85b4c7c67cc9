#include "assign/dialog_lists.h"

#include <cstddef>
#include <iterator>

#include "assign/key_name_table.h"

namespace quorvel {

namespace {

// The position of a key name in the key-name table; the table's size when
// the name is not there.
constexpr std::size_t KeyNameIndex(std::string_view name) {
    std::size_t i = 0;
    while (i < std::size(kKeyNames) && kKeyNames[i].name != name) {
        ++i;
    }
    return i;
}

constexpr Byte KeyNameCode(std::string_view name) {
    const std::size_t i = KeyNameIndex(name);
    return i < std::size(kKeyNames) ? kKeyNames[i].code : Byte{0};
}

// The Fire-key list in position order. Where it offers a key of the key-name
// table it shows that key's name and sends its code, taken from the table in
// runs; the modifier keys are spelled the list's own way, and the mouse's
// fourth and fifth buttons and wheel tilts have no key name.
constexpr std::array<FireKeyEntry, kFireKeyCount> kFireKeys = [] {
    std::array<FireKeyEntry, kFireKeyCount> list{};
    std::size_t next = 0;
    // Evaluated only while building: one entry too many is an out-of-range
    // at() there, which stops the build.
    const auto add = [&](std::string_view text, Byte code) { list.at(next++) = {text, code}; };
    const auto addRun = [&](std::string_view first, std::string_view last) {
        const std::size_t end = KeyNameIndex(last);
        if (end == std::size(kKeyNames)) {
            return;
        }
        for (std::size_t i = KeyNameIndex(first); i <= end; ++i) {
            add(kKeyNames[i].name, kKeyNames[i].code);
        }
    };
    addRun("A", "0"); // positions 0-35: letters, then digits with 0 last
    // positions 36-41: modifier keys; the Windows keys are not offered
    add("L-CTRL", KeyNameCode("Ctrl"));
    add("L-SHIFT", KeyNameCode("Shift"));
    add("L-ALT", KeyNameCode("Alt"));
    add("R-CTRL", KeyNameCode("Right Ctrl"));
    add("R-SHIFT", KeyNameCode("Right Shift"));
    add("R-ALT", KeyNameCode("Right Alt"));
    addRun("F1", "F12");            // positions 42-53
    addRun("L-Button", "M-Button"); // positions 54-56
    // positions 57-60: the mouse's own codes
    add("B4-Button", 0xF3);
    add("B5-Button", 0xF4);
    add("L-Tilt Wheel", 0xF5);
    add("R-Tilt Wheel", 0xF6);
    return list;
}();

// Every position filled, each with a text and a code: a name missing from the
// key-name table leaves a hole and stops the build.
constexpr bool EveryFireKeyFilled() {
    for (const FireKeyEntry& entry : kFireKeys) {
        if (entry.text.empty() || entry.code == 0) {
            return false;
        }
    }
    return true;
}
static_assert(EveryFireKeyFilled());

// clang-format off
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
