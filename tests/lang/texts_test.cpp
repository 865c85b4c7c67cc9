#include "lang/texts.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "assign/function_list.h"

namespace quorvel {
namespace {

constexpr Language kAllLanguages[] = {Language::kEnglish, Language::kSimplifiedChinese,
                                      Language::kTraditionalChinese};

struct TextCase {
    TextId id;
    std::string_view english;
    std::string_view simplified;
    std::string_view traditional;
};

class TextTest : public testing::TestWithParam<TextCase> {};

TEST_P(TextTest, IsExactInEveryLanguage) {
    const TextCase& c = GetParam();
    EXPECT_EQ(Text(Language::kEnglish, c.id), c.english);
    EXPECT_EQ(Text(Language::kSimplifiedChinese, c.id), c.simplified);
    EXPECT_EQ(Text(Language::kTraditionalChinese, c.id), c.traditional);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowTexts, TextTest,
    testing::Values(
        TextCase{TextId::kBasicSettings, "Basic Settings", "基本设置", "基本設置"},
        TextCase{TextId::kOk, "OK", "确定", "確定"},
        TextCase{TextId::kAsKeyGroupSwitchLed, "As Key Group Switch LED", "设为按键组切换灯",
                 "設為按鍵群組切換燈"},
        // Only the English wording ends with a blank.
        TextCase{TextId::kDpiSelfColorLedSetting, "DPI Self-Color LED Setting ", "DPI单色灯设置",
                 "DPI單色燈設置"},
        TextCase{TextId::kSwitchDpiIntoFirstStage, "Switch DPI into the first stage ", "DPI切换到第一段",
                 "DPI切換到第一段"},
        TextCase{TextId::kSwitchDpiIntoFourthStage, "Switch DPI into the fourth stage ", "DPI切换到第四段",
                 "DPI切換到第四段"},
        TextCase{TextId::kNonDisolay, "Non-Disolay", "关闭", "關閉"},
        TextCase{TextId::kComboKey, "Combo Key", "组合键", "複合鍵"},
        TextCase{TextId::kMacroKey, "Macro Key", "宏", "巨集"},
        TextCase{TextId::kShift, "Shift", "Shift", "Shift"},
        TextCase{TextId::kLeftKeyMustBeSelected, "Left key must be selected!", "左键功能必须选择！",
                 "左鍵功能必須選擇！"},
        TextCase{TextId::kSwitchReportRateInto1000Hz, "Switch report rate into 1000HZ", "报告率切换到1000HZ",
                 "報告率切換到1000HZ"},
        TextCase{TextId::kSwitchToKeyMatrix4, "Switch to key matrix 4", "切换到按键组4", "切換到按鍵群組4"},
        TextCase{TextId::kSystemDetectMouse, "The system detect the gaming mouse.", "系统检测到游戏鼠标。",
                 "系統檢測到遊戲滑鼠。"},
        TextCase{TextId::kRecordMouseEvent, "Record Mouse Event", "只录制键盘事件", "只錄製鍵盤事件"},
        TextCase{TextId::kPressCtrlBreakKeyToStopRecording, "Press Ctrl+Break key to stop recording",
                 "按Ctrl+Break可以停止录制", "按Ctrl+Break可以停止錄製"},
        // U+2019 in English; an ASCII comma in Simplified and a full-width one in Traditional Chinese.
        TextCase{TextId::kItDoesntStartRecording,
                 "It doesn\xE2\x80\x99t start recording, unnecessary to press Stop key!",
                 "没有开始录制,点击停止录制按钮没有意义！", "沒有開始錄製，點擊停止錄製按鈕沒有意義！"},
        TextCase{TextId::kSettingSection, "Setting-EN", "Setting-CHS", "Setting-CHT"}));

TEST(TextTableTest, HoldsNinetySixTextsNoneEmpty) {
    for (Language language : kAllLanguages) {
        for (int i = 0; i < kTextCount; ++i) {
            EXPECT_FALSE(Text(language, static_cast<TextId>(i)).empty())
                << "text " << i << " in language " << static_cast<int>(language);
        }
    }
    EXPECT_TRUE(Text(Language::kEnglish, static_cast<TextId>(kTextCount)).empty());
    EXPECT_TRUE(Text(Language::kEnglish, static_cast<TextId>(-1)).empty());
    EXPECT_TRUE(Text(static_cast<Language>(kLanguageCount), TextId::kOk).empty());
}

TEST(TextTableTest, OnlyFiveEnglishTextsEndWithABlank) {
    std::vector<std::string> withTrailingBlank;
    for (Language language : kAllLanguages) {
        for (int i = 0; i < kTextCount; ++i) {
            const std::string_view text = Text(language, static_cast<TextId>(i));
            if (text.back() == ' ') {
                withTrailingBlank.emplace_back(text);
            }
            EXPECT_NE(text.front(), ' ') << "text " << i;
        }
    }
    EXPECT_EQ(withTrailingBlank, (std::vector<std::string>{
                                     "DPI Self-Color LED Setting ", "Switch DPI into the first stage ",
                                     "Switch DPI into the second stage ", "Switch DPI into the third stage ",
                                     "Switch DPI into the fourth stage "}));
}

TEST(TextTableTest, TheApostropheIsTheTypographicOne) {
    const std::string_view text = Text(Language::kEnglish, TextId::kItDoesntStartRecording);
    EXPECT_EQ(text.substr(0, 12), "It doesn\xE2\x80\x99t");
    EXPECT_EQ(text.find('\''), std::string_view::npos);
}

TEST(TextTableTest, DefaultAndRgbEffectOccurTwiceWithDifferentChineseTexts) {
    EXPECT_EQ(Text(Language::kEnglish, TextId::kBasicDefault), "Default");
    EXPECT_EQ(Text(Language::kEnglish, TextId::kAdvancedDefault), "Default");
    EXPECT_EQ(Text(Language::kSimplifiedChinese, TextId::kBasicDefault), "按键恢复");
    EXPECT_EQ(Text(Language::kSimplifiedChinese, TextId::kAdvancedDefault), "恢复默认");
    EXPECT_EQ(Text(Language::kTraditionalChinese, TextId::kBasicDefault), "按鍵恢復");
    EXPECT_EQ(Text(Language::kTraditionalChinese, TextId::kAdvancedDefault), "恢復默認");

    EXPECT_EQ(Text(Language::kEnglish, TextId::kRgbEffectHeading), "RGB Effect");
    EXPECT_EQ(Text(Language::kEnglish, TextId::kRgbEffect), "RGB Effect");
    EXPECT_EQ(Text(Language::kSimplifiedChinese, TextId::kRgbEffectHeading), "RGB显示特效");
    EXPECT_EQ(Text(Language::kSimplifiedChinese, TextId::kRgbEffect), "RGB效果");
}

TEST(TextTableTest, OnlySimplifiedChineseSpeedAndBrightnessCarryAHint) {
    EXPECT_EQ(Text(Language::kEnglish, TextId::kSpeed), "Speed");
    EXPECT_EQ(Text(Language::kSimplifiedChinese, TextId::kSpeed), "速度:请调整灯光显示速度");
    EXPECT_EQ(Text(Language::kTraditionalChinese, TextId::kSpeed), "速度");
    EXPECT_EQ(Text(Language::kEnglish, TextId::kBrightness), "Brightness");
    EXPECT_EQ(Text(Language::kSimplifiedChinese, TextId::kBrightness), "亮度:请调整灯光显示亮度");
    EXPECT_EQ(Text(Language::kTraditionalChinese, TextId::kBrightness), "亮度");
}

TEST(TextTableTest, TheMakersAddressIsTheSameWebAddressInEveryLanguage) {
    const std::string_view address = Text(Language::kEnglish, TextId::kMakerWebSite);
    EXPECT_EQ(address.substr(0, 8), "https://");
    EXPECT_EQ(Text(Language::kSimplifiedChinese, TextId::kMakerWebSite), address);
    EXPECT_EQ(Text(Language::kTraditionalChinese, TextId::kMakerWebSite), address);
}

TEST(SectionNameTest, NamesTheLabelSectionOfEachLanguage) {
    EXPECT_EQ(SectionName(Language::kEnglish), "Setting-EN");
    EXPECT_EQ(SectionName(Language::kSimplifiedChinese), "Setting-CHS");
    EXPECT_EQ(SectionName(Language::kTraditionalChinese), "Setting-CHT");
}

TEST(FunctionListTest, EnglishEntriesInListOrder) {
    const std::vector<std::string_view> expected = {"Left Click", "Right Click",  "Mid Click",  "Forward",
                                                    "Backward",   "Triple-click", "DPI Switch", "RGB On/Off",
                                                    "Windows",    "Multimedia",   "Fire Key",   "Single Key",
                                                    "Combo Key",  "Macro Key",    "Shift",      "Key Off"};
    ASSERT_EQ(static_cast<int>(expected.size()), kFunctionListCount);
    for (int i = 0; i < kFunctionListCount; ++i) {
        EXPECT_EQ(FunctionListText(Language::kEnglish, i), expected[static_cast<std::size_t>(i)]) << i;
    }
}

TEST(FunctionListTest, PositionsAreTheFunctionIndicesOfTheButtonModel) {
    EXPECT_EQ(kFunctionListCount, kFunctionCount);
    EXPECT_EQ(FunctionListText(Language::kEnglish, kFnTripleClick), "Triple-click");
    EXPECT_EQ(FunctionListText(Language::kEnglish, kFnRgbOnOff), "RGB On/Off");
    EXPECT_EQ(FunctionListText(Language::kEnglish, kFnShift), "Shift");
    EXPECT_EQ(FunctionListText(Language::kEnglish, kFnKeyOff), "Key Off");
}

TEST(FunctionListTest, ChineseEntriesComeFromTheSameRows) {
    EXPECT_EQ(FunctionListText(Language::kSimplifiedChinese, kFnLeftClick), "左键");
    EXPECT_EQ(FunctionListText(Language::kSimplifiedChinese, kFnComboKey), "组合键");
    EXPECT_EQ(FunctionListText(Language::kTraditionalChinese, kFnComboKey), "複合鍵");
    EXPECT_EQ(FunctionListText(Language::kTraditionalChinese, kFnMacroKey), "巨集");
    EXPECT_EQ(FunctionListText(Language::kTraditionalChinese, kFnForward), "前進方向鍵");
}

TEST(FunctionListTest, ReportRateSwitchIsNoEntryAndOutOfRangeIsEmpty) {
    for (int i = 0; i < kFunctionListCount; ++i) {
        EXPECT_NE(FunctionListText(Language::kEnglish, i), "Report Rate Switch");
    }
    EXPECT_TRUE(FunctionListText(Language::kEnglish, -1).empty());
    EXPECT_TRUE(FunctionListText(Language::kEnglish, 16).empty());
    EXPECT_TRUE(FunctionListText(Language::kSimplifiedChinese, 255).empty());
}

} // namespace
} // namespace quorvel
