#include "lang/texts.h"

#include <array>
#include <cstddef>
#include <iterator>

namespace quorvel {

namespace {

// The behaviour leaves the maker's web-site address to the implementer; the
// project's own placeholder stands in for it in every language.
constexpr std::string_view kMakerWebSite = "https://quorvel.example.org";

struct TextRow {
    TextId id;
    std::array<std::string_view, kLanguageCount> text; // English, Simplified, Traditional Chinese
};

// clang-format off
constexpr TextRow kTexts[] = {
    {TextId::kBasicSettings, {"Basic Settings", "基本设置", "基本設置"}},
    {TextId::kAdvancedSettings, {"Advanced Settings", "高级设置", "高級設置"}},
    {TextId::kColorSetting, {"Color Setting", "颜色设置", "顏色設置"}},
    {TextId::kOk, {"OK", "确定", "確定"}},
    {TextId::kApply, {"Apply", "应用", "應用"}},
    {TextId::kCancel, {"Cancel", "取消", "取消"}},
    {TextId::kKeySetting, {"Key Setting", "按键设置", "按鍵設置"}},
    {TextId::kReportRateSetting, {"Report Rate Setting", "报告率设置", "報告率設置"}},
    {TextId::kDpiSetting, {"DPI Setting", "DPI设置", "DPI設置"}},
    {TextId::kBasicDefault, {"Default", "按键恢复", "按鍵恢復"}},
    {TextId::kKeyConfiguration1, {"Key Configuration 1", "按键配置1", "按鍵配置1"}},
    {TextId::kKeyConfiguration2, {"Key Configuration 2", "按键配置2", "按鍵配置2"}},
    {TextId::kKeyConfiguration3, {"Key Configuration 3", "按键配置3", "按鍵配置3"}},
    {TextId::kKeyConfiguration4, {"Key Configuration 4", "按键配置4", "按鍵配置4"}},
    {TextId::kAuxiliaryLedSetting, {"Auxiliary LED Setting", "辅灯设置", "輔燈設置"}},
    {TextId::kAsRespirationLed, {"As Respiration LED", "设为呼吸灯", "設為呼吸燈"}},
    {TextId::kAsHeartBeatLed, {"As Heart Beat LED", "设为心跳灯", "設為心跳燈"}},
    {TextId::kAsKeyGroupSwitchLed, {"As Key Group Switch LED", "设为按键组切换灯", "設為按鍵群組切換燈"}},
    {TextId::kRgbEffectHeading, {"RGB Effect", "RGB显示特效", "RGB顯示特效"}},
    {TextId::kMode, {"Mode", "模式", "模式"}},
    {TextId::kParameter, {"Parameter", "参数", "參數"}},
    {TextId::kSpeed, {"Speed", "速度:请调整灯光显示速度", "速度"}},
    {TextId::kBrightness, {"Brightness", "亮度:请调整灯光显示亮度", "亮度"}},
    {TextId::kLoopColorSetting, {"Loop Color Setting", "循环颜色设置", "迴圈顏色設置"}},
    {TextId::kDpiSelfColorLedSetting, {"DPI Self-Color LED Setting ", "DPI单色灯设置", "DPI單色燈設置"}},
    {TextId::kOffMode, {"Off Mode", "关闭模式", "關閉模式"}},
    {TextId::kStandardMode, {"Standard Mode", "标准模式", "標準模式"}},
    {TextId::kRespirationMode, {"Respiration Mode", "呼吸模式", "呼吸模式"}},
    {TextId::kNeonMode, {"Neon Mode", "霓虹模式", "霓虹模式"}},
    {TextId::kNonDisolay, {"Non-Disolay", "关闭", "關閉"}},
    {TextId::kRgbEffect, {"RGB Effect", "RGB效果", "RGB效果"}},
    {TextId::kRgbFlash, {"RGB Flash", "RGB闪烁", "RGB閃爍"}},
    {TextId::kRgbFixedOn, {"RGB Fixed On", "RGB常亮", "RGB常亮"}},
    {TextId::kSelfColorLed, {"Self-Color LED", "单色LED", "單色LED"}},
    {TextId::kLoopColor, {"Loop Color", "循环色", "迴圈色"}},
    {TextId::kDpiColor, {"DPI Color", "DPI颜色", "DPI顏色"}},
    {TextId::kFixedColor, {"Fixed Color", "单色", "單色"}},
    {TextId::kLeftClick, {"Left Click", "左键", "左鍵"}},
    {TextId::kRightClick, {"Right Click", "右键", "右鍵"}},
    {TextId::kMidClick, {"Mid Click", "中键", "中鍵"}},
    {TextId::kForward, {"Forward", "前进方向键", "前進方向鍵"}},
    {TextId::kBackward, {"Backward", "后退方向键", "後退方向鍵"}},
    {TextId::kTripleClick, {"Triple-click", "三连发", "三連發"}},
    {TextId::kDpiSwitch, {"DPI Switch", "DPI切换", "DPI切換"}},
    {TextId::kReportRateSwitch, {"Report Rate Switch", "报告率切换", "報告率切換"}},
    {TextId::kShift, {"Shift", "Shift", "Shift"}},
    {TextId::kRgbOnOff, {"RGB On/Off", "RGB打开/关闭", "RGB打開/關閉"}},
    {TextId::kWindows, {"Windows", "Windows", "Windows"}},
    {TextId::kMultimedia, {"Multimedia", "多媒体", "多媒體"}},
    {TextId::kFireKey, {"Fire Key", "火力键", "火力鍵"}},
    {TextId::kSingleKey, {"Single Key", "单键", "單鍵"}},
    {TextId::kComboKey, {"Combo Key", "组合键", "複合鍵"}},
    {TextId::kMacroKey, {"Macro Key", "宏", "巨集"}},
    {TextId::kKeyOff, {"Key Off", "按键关闭", "按鍵關閉"}},
    {TextId::kLeftKeyMustBeSelected,
     {"Left key must be selected!", "左键功能必须选择！", "左鍵功能必須選擇！"}},
    {TextId::kMakerWebSite, {kMakerWebSite, kMakerWebSite, kMakerWebSite}},
    {TextId::kSwitchReportRateInto1000Hz,
     {"Switch report rate into 1000HZ", "报告率切换到1000HZ", "報告率切換到1000HZ"}},
    {TextId::kSwitchReportRateInto500Hz,
     {"Switch report rate into 500HZ", "报告率切换到500HZ", "報告率切換到500HZ"}},
    {TextId::kSwitchReportRateInto250Hz,
     {"Switch report rate into 250HZ", "报告率切换到250HZ", "報告率切換到250HZ"}},
    {TextId::kSwitchReportRateInto125Hz,
     {"Switch report rate into 125HZ", "报告率切换到125HZ", "報告率切換到125HZ"}},
    {TextId::kSwitchDpiIntoFirstStage,
     {"Switch DPI into the first stage ", "DPI切换到第一段", "DPI切換到第一段"}},
    {TextId::kSwitchDpiIntoSecondStage,
     {"Switch DPI into the second stage ", "DPI切换到第二段", "DPI切換到第二段"}},
    {TextId::kSwitchDpiIntoThirdStage,
     {"Switch DPI into the third stage ", "DPI切换到第三段", "DPI切換到第三段"}},
    {TextId::kSwitchDpiIntoFourthStage,
     {"Switch DPI into the fourth stage ", "DPI切换到第四段", "DPI切換到第四段"}},
    {TextId::kSwitchToKeyMatrix1, {"Switch to key matrix 1", "切换到按键组1", "切換到按鍵群組1"}},
    {TextId::kSwitchToKeyMatrix2, {"Switch to key matrix 2", "切换到按键组2", "切換到按鍵群組2"}},
    {TextId::kSwitchToKeyMatrix3, {"Switch to key matrix 3", "切换到按键组3", "切換到按鍵群組3"}},
    {TextId::kSwitchToKeyMatrix4, {"Switch to key matrix 4", "切换到按键组4", "切換到按鍵群組4"}},
    {TextId::kSwitchToMacroKey, {"Switch to macro key", "切换到宏", "切換到巨集"}},
    {TextId::kExit, {"Exit", "退出", "退出"}},
    {TextId::kSystemDidNotDetectMouse,
     {"The system did not detect the gaming mouse!", "系统没有检测到游戏鼠标！", "系統沒有檢測到遊戲滑鼠！"}},
    {TextId::kSystemDetectMouse,
     {"The system detect the gaming mouse.", "系统检测到游戏鼠标。", "系統檢測到遊戲滑鼠。"}},
    {TextId::kMouseSpeed, {"Mouse Speed", "鼠标移动速度", "滑鼠移動速度"}},
    {TextId::kScrollingSpeed, {"Scrolling Speed", "鼠标滚动速度", "滑鼠滾動速度"}},
    {TextId::kDoubleClickSpeed, {"Double-Click Speed", "鼠标双击速度", "滑鼠雙擊速度"}},
    {TextId::kMacroSetting, {"Macro Setting", "宏设置", "巨集設置"}},
    {TextId::kSelectMacro, {"Select Macro", "选择宏", "選擇巨集"}},
    {TextId::kKeyPressSequence, {"Key Press Sequence", "按键序列", "按鍵序列"}},
    {TextId::kRecordOption, {"Record Option", "录制选项", "錄製選項"}},
    {TextId::kEnhancePointerPrecision, {"Enhance Pointer Precision", "提高指针准确度", "提高指針準確度"}},
    {TextId::kScrollOneScreen, {"Scroll One Screen", "一次滚动一个屏幕", "一次滾動一個螢幕"}},
    {TextId::kAdvancedDefault, {"Default", "恢复默认", "恢復默認"}},
    {TextId::kMacroName, {"Macro Name", "宏名称", "巨集名稱"}},
    {TextId::kStartRecording, {"Start Recording", "开始录制", "開始錄製"}},
    {TextId::kStopRecording, {"Stop Recording", "停止录制", "停止錄製"}},
    {TextId::kRecordMouseEvent, {"Record Mouse Event", "只录制键盘事件", "只錄製鍵盤事件"}},
    {TextId::kLoopTimes, {"Loop Times", "循环次数", "迴圈次數"}},
    {TextId::kInsertAMouseEvent, {"Insert A Mouse Event", "插入一个鼠标事件", "插入一個滑鼠事件"}},
    {TextId::kNew, {"New", "新建", "新建"}},
    {TextId::kDelete, {"Delete", "删除", "刪除"}},
    {TextId::kConfirm, {"Confirm", "确认", "確認"}},
    {TextId::kMacroNameIsBlank, {"Macro name is blank", "宏名称为空", "巨集名稱為空"}},
    {TextId::kMacroNameAlreadyExists, {"Macro name already exists", "宏名称已经存在", "巨集名稱已經存在"}},
    {TextId::kMacroNameNotStorable,
     {"A macro name cannot begin or end with a space, or hold [ ], tabs or other control characters",
      "宏名称的开头和结尾不能是空格，也不能包含 [ ]、制表符或其他控制字符",
      "巨集名稱的開頭和結尾不能是空格，也不能包含 [ ]、定位字元或其他控制字元"}},
    {TextId::kMacroNamesTooLong,
     {"The macro names together are too long for the macro list: shorten or delete one first",
      "所有宏名称加起来太长，宏列表放不下：请先缩短或删除一个",
      "所有巨集名稱加起來太長，巨集清單放不下：請先縮短或刪除一個"}},
    {TextId::kMacrosBeyondTwelfthIgnored,
     {"Only 12 macros fit in the mouse: %s more were ignored",
      "鼠标只能存放12个宏：其余%s个已被忽略",
      "滑鼠只能存放12個巨集：其餘%s個已被忽略"}},
    {TextId::kMacrosCutToFitTheirSlots,
     {"Too long for the mouse, cut to fit its slot: %s",
      "宏过长，已截断以适合鼠标的存储空间：%s",
      "巨集過長，已截斷以符合滑鼠的儲存空間：%s"}},
    {TextId::kPressCtrlBreakKeyToStopRecording,
     {"Press Ctrl+Break key to stop recording", "按Ctrl+Break可以停止录制", "按Ctrl+Break可以停止錄製"}},
    // The apostrophe of "doesn’t" is U+2019, not the ASCII one.
    {TextId::kItDoesntStartRecording,
     {"It doesn’t start recording, unnecessary to press Stop key!",
      "没有开始录制,点击停止录制按钮没有意义！",
      "沒有開始錄製，點擊停止錄製按鈕沒有意義！"}},
    {TextId::kFileMissing,
     {"no such file",
      "文件不存在",
      "檔案不存在"}},
    {TextId::kFileNotRegular,
     {"not a regular file (a folder, a FIFO or a device); not read",
      "不是普通文件（而是文件夹、FIFO 或设备），未读取",
      "不是一般檔案（而是資料夾、FIFO 或裝置），未讀取"}},
    {TextId::kFileTooLarge,
     {"%s bytes, more than the %s MB a data file may have; not read",
      "%s 字节，超过数据文件允许的 %s MB，未读取",
      "%s 位元組，超過資料檔案允許的 %s MB，未讀取"}},
    {TextId::kFileCannotBeRead,
     {"cannot be read: %s",
      "无法读取：%s",
      "無法讀取：%s"}},
    {TextId::kFileCannotBeWritten,
     {"cannot be written: %s",
      "无法写入：%s",
      "無法寫入：%s"}},
    {TextId::kFileWrongSize,
     {"%s bytes; a configuration file has %s",
      "%s 字节；配置文件应为 %s 字节",
      "%s 位元組；設定檔應為 %s 位元組"}},
    {TextId::kFileIsTheProgram,
     {"not written: it is the running program itself",
      "未写入：它是正在运行的程序本身",
      "未寫入：它是正在執行的程式本身"}},
    {TextId::kFileNameNotStorable,
     {"not written: a name that starts with '[' or ';' or holds '=', ']' or a line break cannot be stored",
      "未写入：以“[”或“;”开头、或包含“=”“]”或换行的名称无法保存",
      "未寫入：以「[」或「;」開頭、或包含「=」「]」或換行的名稱無法儲存"}},
    {TextId::kSettingsStartEmpty,
     {"The settings start empty; the file stays as it is until Apply replaces it.",
      "设置从空白开始；在“应用”替换该文件之前，文件保持原样。",
      "設定從空白開始；在「應用」取代該檔案之前，檔案保持原樣。"}},
    {TextId::kLabelsStartEmpty,
     {"The button labels and the skin settings start empty.",
      "按键名称和皮肤设置从空白开始。",
      "按鍵名稱和皮膚設定從空白開始。"}},
    {TextId::kSettingsCannotBeSaved,
     {"Settings cannot be saved in this folder; what is missing there is read from the factory files, "
      "and nothing there is changed.",
      "设置无法保存到此文件夹；其中缺少的文件从出厂文件读取，文件夹中的内容不会被更改。",
      "設定無法儲存到此資料夾；其中缺少的檔案從出廠檔案讀取，資料夾中的內容不會被變更。"}},
    {TextId::kNoSkinInFolder,
     {"%s holds no skin; the Default skin is used.",
      "%s 中没有皮肤；将使用默认皮肤。",
      "%s 中沒有皮膚；將使用預設皮膚。"}},
    {TextId::kSkinCannotBeDrawn,
     {"The skin \"%s\" cannot be drawn; the Default skin is used.",
      "无法绘制皮肤“%s”；将使用默认皮肤。",
      "無法繪製皮膚「%s」；將使用預設皮膚。"}},
    {TextId::kWindowCannotBeDrawn,
     {"The settings window cannot be drawn without the Default skin's background; the program ends.",
      "没有默认皮肤的背景图像，无法绘制设置窗口；程序将退出。",
      "沒有預設皮膚的背景影像，無法繪製設定視窗；程式將結束。"}},
    {TextId::kImageNotReadable,
     {"not an image this program can read (damaged, cut short or no PNG)",
      "不是本程序能读取的图像（已损坏、不完整或不是 PNG）",
      "不是本程式能讀取的影像（已損毀、不完整或不是 PNG）"}},
    {TextId::kImageTooLarge,
     {"%s × %s pixels, more than the %s × %s an image may have",
      "%s × %s 像素，超过图像允许的 %s × %s 像素",
      "%s × %s 像素，超過影像允許的 %s × %s 像素"}},
    {TextId::kMouseNotAllowed,
     {"The gaming mouse is connected, but this user is not allowed to open it.\nInstall the udev rule 70-quorvel.rules (res/udev/70-quorvel.rules in the sources) in the udev rules folder, then unplug the mouse and plug it in again:\nsudo cp res/udev/70-quorvel.rules /etc/udev/rules.d/ && sudo udevadm control --reload",
      "游戏鼠标已连接，但当前用户无权打开它。\n请把 udev 规则 70-quorvel.rules（源代码中的 res/udev/70-quorvel.rules）安装到 udev 规则文件夹，然后拔下鼠标再重新插上：\nsudo cp res/udev/70-quorvel.rules /etc/udev/rules.d/ && sudo udevadm control --reload",
      "遊戲滑鼠已連接，但目前的使用者無權開啟它。\n請把 udev 規則 70-quorvel.rules（原始碼中的 res/udev/70-quorvel.rules）安裝到 udev 規則資料夾，然後拔下滑鼠再重新插上：\nsudo cp res/udev/70-quorvel.rules /etc/udev/rules.d/ && sudo udevadm control --reload"}},
    {TextId::kMouseAnswerUnusable,
     {"The gaming mouse answered something this program cannot use.",
      "游戏鼠标的应答是本程序无法使用的内容。",
      "遊戲滑鼠的回應是本程式無法使用的內容。"}},
    {TextId::kStartWithDesktop, {"Start with the desktop", "随桌面启动", "隨桌面啟動"}},
    {TextId::kStartWithDesktopNotSaved,
     {"The choice of starting with the desktop could not be saved; it stays as it was.",
      "无法保存是否随桌面启动的选择，它保持原样。",
      "無法儲存是否隨桌面啟動的選擇，它保持原樣。"}},
    {TextId::kSettingsChangedOutside,
     {"Another program changed the settings files while this window was open. The window now shows their settings, with your changes that are not applied yet over them.",
      "另一个程序在此窗口打开期间更改了设置文件。窗口现在显示这些设置，并保留您尚未应用的更改。",
      "另一個程式在此視窗開啟期間變更了設定檔。視窗現在顯示這些設定，並保留您尚未套用的變更。"}},
    {TextId::kExportSettings, {"Export settings…", "导出设置…", "匯出設定…"}},
    {TextId::kImportSettings, {"Import settings…", "导入设置…", "匯入設定…"}},
    {TextId::kSettingsNotExported, {"The settings were not exported: %s", "设置未导出：%s", "設定未匯出：%s"}},
    {TextId::kSettingsNotImported, {"The settings were not imported: %s", "设置未导入：%s", "設定未匯入：%s"}},
    {TextId::kSkins, {"Skins", "皮肤", "皮膚"}},
    {TextId::kMinimise, {"Minimise", "最小化", "最小化"}},
    {TextId::kClose, {"Close", "关闭", "關閉"}},
    {TextId::kDpiStageNumber, {"DPI stage %s", "DPI档位%s", "DPI檔位%s"}},
    {TextId::kUseDpiStage, {"Use DPI stage %s", "启用DPI档位%s", "啟用DPI檔位%s"}},
    {TextId::kColourSwitchNumber, {"Colour switch %s", "颜色开关%s", "顏色開關%s"}},
    {TextId::kUseLoopColour, {"Use loop colour %s", "启用循环颜色%s", "啟用迴圈顏色%s"}},
    {TextId::kLoopColourNumber, {"Loop colour %s", "循环颜色%s", "迴圈顏色%s"}},
    {TextId::kKeyConfigurationGroup, {"Key configuration", "按键配置", "按鍵配置"}},
    {TextId::kReportRate, {"Report rate", "报告率", "報告率"}},
    {TextId::kDelayTime, {"Delay time", "延时", "延時"}},
    {TextId::kSettingSection, {"Setting-EN", "Setting-CHS", "Setting-CHT"}},
};
// clang-format on

static_assert(std::size(kTexts) == kTextCount);
static_assert(static_cast<int>(TextId::kSettingSection) + 1 == kTextCount);

constexpr bool RowsInIdOrder() {
    for (std::size_t i = 0; i < std::size(kTexts); ++i) {
        if (static_cast<std::size_t>(kTexts[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInIdOrder(), "every row must sit at the position of its TextId");

constexpr TextId kFunctionList[kFunctionListCount] = {
    TextId::kLeftClick, TextId::kRightClick,  TextId::kMidClick,  TextId::kForward,
    TextId::kBackward,  TextId::kTripleClick, TextId::kDpiSwitch, TextId::kRgbOnOff,
    TextId::kWindows,   TextId::kMultimedia,  TextId::kFireKey,   TextId::kSingleKey,
    TextId::kComboKey,  TextId::kMacroKey,    TextId::kShift,     TextId::kKeyOff,
};

} // namespace

std::string_view Text(Language language, TextId id) {
    const auto row = static_cast<std::size_t>(id);
    const auto column = static_cast<std::size_t>(language);
    if (row >= std::size(kTexts) || column >= static_cast<std::size_t>(kLanguageCount)) {
        return {};
    }
    return kTexts[row].text[column];
}

std::string Filled(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(text.size());
    auto value = values.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (value != values.end() && text.compare(i, 2, "%s") == 0) {
            out += *value++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string_view SectionName(Language language) {
    return Text(language, TextId::kSettingSection);
}

std::string_view FunctionListText(Language language, int index) {
    if (index < 0 || index >= kFunctionListCount) {
        return {};
    }
    return Text(language, kFunctionList[index]);
}

} // namespace quorvel
