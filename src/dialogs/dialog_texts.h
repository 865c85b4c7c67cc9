#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "lang/language.h"

namespace quorvel {

// The parameter dialogs' own texts, each in the three interface languages
// (indexed by Language). The list entries they offer are in assign/.
using DialogText = std::array<std::string_view, kLanguageCount>;

constexpr std::string_view In(Language language, const DialogText& text) {
    return text[static_cast<std::size_t>(language)];
}

inline constexpr DialogText kSingleKeyPrompt = {"Please enter a key", "请输入一个按键", "請輸入一個按鍵"};

// The names of the combo-key dialog's controls, which show no label.
inline constexpr DialogText kModifierName = {"Modifier", "修饰键", "修飾鍵"};
inline constexpr DialogText kFirstKeyName = {"First key", "第一个按键", "第一個按鍵"};
inline constexpr DialogText kSecondKeyName = {"Second key", "第二个按键", "第二個按鍵"};

inline constexpr DialogText kFireSpeedLabel = {"Speed", "速度", "速度"};
inline constexpr DialogText kFireTimesLabel = {"Times", "次数", "次數"};
// The illustration under the edits, row by row.
inline constexpr std::array<DialogText, 3> kFireIllustration = {{
    {"Illustration:", "说明:", "說明:"},
    {"Speed (value range 5-255, with smaller values faster)", "速度(数值范围5-255，数值越小速度越快)",
     "速度(數值範圍5-255，數值越小速度越快)"},
    {"Times (value range 0-255,0 indicates fire key to end when the key released)",
     "次数(数值范围0-255，0表示按键放开火力键结束)", "次數(數值範圍0-255，0表示按鍵放開火力鍵結束)"},
}};

inline constexpr DialogText kDelayPrompt = {"Please enter a delay", "请输入一个延时", "請輸入一個延時"};
inline constexpr DialogText kDelayRangeNote = {"(value range 50-10000)", "(数值范围 50-10000)",
                                               "(數值範圍 50-10000)"};

inline constexpr DialogText kMacroPrompt = {"Please select a macro", "请从列表框选择一个宏",
                                            "請從清單方塊選擇一個巨集"};
// Repeat modes 1, 2 and 3.
inline constexpr std::array<DialogText, 3> kRepeatModeTexts = {{
    {"Repeat a specified number of times or press any key to end", "重复指定次数或按任意键结束",
     "重複指定次數或按任意鍵結束"},
    {"Repeat until press any key to end", "重复直到按任意键结束", "重複直到按任意鍵結束"},
    {"Repeat until the key is released", "重复直到该按键松开结束", "重複直到該按鍵鬆開結束"},
}};

inline constexpr DialogText kSkinsPrompt = {"Please click to set the UI text color", "请点击设置UI文本颜色",
                                            "請點擊設置UI文本顏色"};

} // namespace quorvel
