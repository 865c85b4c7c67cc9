#include "assign/dialog_lists.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "assign/key_codes.h"

namespace quorvel {
namespace {

using Texts = std::vector<std::string_view>;

Texts FireKeyTexts() {
    Texts texts;
    for (int position = 0; position < kFireKeyCount; ++position) {
        texts.push_back(FireKeyText(position));
    }
    return texts;
}

Texts MediaKeyTexts(Language language) {
    Texts texts;
    for (int position = 0; position < kMediaKeyCount; ++position) {
        texts.push_back(MediaKeyText(language, position));
    }
    return texts;
}

Texts ApplicationKeyTexts(Language language) {
    Texts texts;
    for (int position = 0; position < kApplicationKeyCount; ++position) {
        texts.push_back(ApplicationKeyText(language, position));
    }
    return texts;
}

TEST(FireKeyListTest, ShowsTheSixtyOneKeysInPositionOrder) {
    static const std::string kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const std::string kDigits = "1234567890";
    static const std::string kFunctionKeys[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                                "F7", "F8", "F9", "F10", "F11", "F12"};
    std::vector<std::string> expected;
    for (char letter : kLetters) {
        expected.emplace_back(1, letter);
    }
    for (char digit : kDigits) {
        expected.emplace_back(1, digit);
    }
    expected.insert(expected.end(), {"L-CTRL", "L-SHIFT", "L-ALT", "R-CTRL", "R-SHIFT", "R-ALT"});
    expected.insert(expected.end(), std::begin(kFunctionKeys), std::end(kFunctionKeys));
    expected.insert(expected.end(), {"L-Button", "R-Button", "M-Button", "B4-Button", "B5-Button",
                                     "L-Tilt Wheel", "R-Tilt Wheel"});

    ASSERT_EQ(FireKeyList().size(), static_cast<std::size_t>(kFireKeyCount));
    const Texts texts = FireKeyTexts();
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.end()), expected);
}

TEST(FireKeyListTest, FirstEntryIsTheDialogsInitialChoice) {
    EXPECT_EQ(FireKeyText(0), "A");
    EXPECT_EQ(FireKeyCode(0), 0x04);
}

TEST(FireKeyListTest, EachRowCarriesTheCodeOfItsPosition) {
    for (int position = 0; position < kFireKeyCount; ++position) {
        EXPECT_EQ(FireKeyList()[static_cast<std::size_t>(position)].code, FireKeyCode(position));
    }
    EXPECT_EQ(FireKeyText(39), "R-CTRL");
    EXPECT_EQ(FireKeyCode(39), 0xE4);
}

TEST(FireKeyListTest, PositionsOutsideTheListHaveNoText) {
    EXPECT_EQ(FireKeyText(-1), "");
    EXPECT_EQ(FireKeyText(61), "");
}

TEST(MediaKeyListTest, ShowsTheSevenKeysInEachLanguage) {
    ASSERT_EQ(MediaKeyList().size(), static_cast<std::size_t>(kMediaKeyCount));
    EXPECT_EQ(MediaKeyTexts(Language::kEnglish),
              (Texts{"Next", "Previous", "Stop", "Play/Pause", "Mute", "Vol+", "Vol-"}));
    EXPECT_EQ(MediaKeyTexts(Language::kSimplifiedChinese),
              (Texts{"下一首", "上一首", "停止", "播放/暂停", "静音", "音量+", "音量-"}));
    EXPECT_EQ(MediaKeyTexts(Language::kTraditionalChinese),
              (Texts{"下一首", "上一首", "停止", "播放/暫停", "靜音", "音量+", "音量-"}));
}

TEST(MediaKeyListTest, EachRowCarriesTheUsageOfItsPosition) {
    for (int position = 0; position < kMediaKeyCount; ++position) {
        EXPECT_EQ(MediaKeyList()[static_cast<std::size_t>(position)].usage, MediaUsage(position));
    }
    EXPECT_EQ(MediaKeyText(Language::kEnglish, 3), "Play/Pause");
    EXPECT_EQ(MediaUsage(3), 0xCD);
}

TEST(MediaKeyListTest, PositionsOutsideTheListHaveNoText) {
    EXPECT_EQ(MediaKeyText(Language::kEnglish, 7), "");
    EXPECT_EQ(MediaKeyText(Language::kSimplifiedChinese, -1), "");
    EXPECT_EQ(MediaKeyText(static_cast<Language>(kLanguageCount), 0), "");
}

TEST(ApplicationKeyListTest, ShowsTheElevenKeysInEachLanguage) {
    ASSERT_EQ(ApplicationKeyList().size(), static_cast<std::size_t>(kApplicationKeyCount));
    EXPECT_EQ(ApplicationKeyTexts(Language::kEnglish),
              (Texts{"Multimedia Player", "Mail", "Calculator", "My Computer", "Browser-Search",
                     "Browser-Home", "Browser-Back", "Browser-Forward", "Browser-Stop", "Browser-Refresh",
                     "Browser-My Favorites"}));
    EXPECT_EQ(ApplicationKeyTexts(Language::kSimplifiedChinese),
              (Texts{"打开多媒体播放器", "邮件", "计算器", "我的电脑", "浏览器-搜索", "浏览器-主页",
                     "浏览器-后退", "浏览器-前进", "浏览器-停止", "浏览器-刷新", "浏览器-收藏夹"}));
    EXPECT_EQ(ApplicationKeyTexts(Language::kTraditionalChinese),
              (Texts{"打開多媒體播放器", "郵件", "計算器", "我的電腦", "瀏覽器-搜索", "瀏覽器-主頁",
                     "瀏覽器-後退", "瀏覽器-前進", "瀏覽器-停止", "瀏覽器-刷新", "瀏覽器-我的最愛"}));
}

TEST(ApplicationKeyListTest, EachRowCarriesTheUsageOfItsPosition) {
    for (int position = 0; position < kApplicationKeyCount; ++position) {
        EXPECT_EQ(ApplicationKeyList()[static_cast<std::size_t>(position)].usage, ApplicationUsage(position));
    }
    EXPECT_EQ(ApplicationKeyText(Language::kEnglish, 0), "Multimedia Player");
    EXPECT_EQ(ApplicationUsage(0), 0x0183);
    EXPECT_EQ(ApplicationKeyText(Language::kEnglish, 4), "Browser-Search");
    EXPECT_EQ(ApplicationUsage(4), 0x0221);
}

TEST(ApplicationKeyListTest, PositionsOutsideTheListHaveNoText) {
    EXPECT_EQ(ApplicationKeyText(Language::kEnglish, 11), "");
    EXPECT_EQ(ApplicationKeyText(Language::kTraditionalChinese, -1), "");
}

} // namespace
} // namespace quorvel
