// The settings by name against the window's own controls: a set stores the
// bytes and labels the control stores, a get reads back the value set, and
// a refused value changes nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/advanced_page.h"
#include "app/basic_page_layout.h"
#include "app/named_settings.h"
#include "assign/function_list.h"
#include "support/basic_page_harness.h"

namespace quorvel::testing {
namespace {

struct NamedSettingsTest : BasicPageHarness {
    KeptPointerSettings desktop;
    std::unique_ptr<AdvancedPage> advanced;

    NamedSettingsTest() {
        mouse.setSensorType(1); // 600 .. 3200
        SetConfigBin(FactoryDeviceConfig(), 1);
        Start();
        advanced = std::make_unique<AdvancedPage>(*main, desktop);
        main->setPages(page.get(), advanced.get());
    }

    SettingContext Context() const { return {main->sensorType(), {"Copy"}}; }

    // The window's labels as the English section of str.ini keeps them.
    SettingEdit EditOfWindow() {
        SettingEdit edit{main->working(), {}, false};
        edit.labels[0] = main->labels();
        return edit;
    }

    void ChooseInRow(int row, int entry) {
        Click(kBasicPage.rowBox(row));
        main->OnListChoice(kBasicPage.rowList(row).id, entry);
    }
};

std::vector<Byte> Bytes(const DeviceConfig& config) {
    return {config.bytes().begin(), config.bytes().end()};
}

TEST_F(NamedSettingsTest, EachSetStoresWhatTheWindowsControlStoresAndGetReadsItBack) {
    using Self = NamedSettingsTest;
    const struct {
        std::string name;
        std::string value;
        std::function<void(Self&)> window;
    } cases[] = {
        {"report-rate", "500", [](Self& t) { t.page->dpi().SelectReportRate(2); }},
        {"report-rate", "125", [](Self& t) { t.page->dpi().SelectReportRate(0); }},
        {"dpi.2", "1600", [](Self& t) { t.page->dpi().SetDpiStageValue(1, 5); }},
        {"dpi.4", "600", [](Self& t) { t.page->dpi().SetDpiStageValue(3, 1); }},
        {"dpi.3.enabled", "off", [](Self& t) { t.page->dpi().ToggleDpiStage(2); }},
        {"dpi.4.colour.3", "on",
         [](Self& t) {
             t.page->dpi().ChooseColourStage(3);
             t.page->dpi().ToggleDpiColourSwitch(2);
         }},
        {"dpi.1.colour.1", "on",
         [](Self& t) {
             t.page->dpi().ChooseColourStage(0);
             t.page->dpi().ToggleDpiColourSwitch(0);
         }},
        {"key-configuration", "Mode B", [](Self& t) { t.page->SelectMode(1); }},
        {"button.A.2", "Mid Click", [](Self& t) { t.ChooseInRow(2, kFnMidClick); }},
        {"button.A.3", "Single Key-F5",
         [](Self& t) {
             t.dialogs.singleKey = SingleKeyChoice{"F5"};
             t.ChooseInRow(3, kFnSingleKey);
         }},
        {"button.A.4", "Combo Key-Left Ctrl+A",
         [](Self& t) {
             t.dialogs.comboKey = ComboKeyChoice{"Left Ctrl", "A", ""};
             t.ChooseInRow(4, kFnComboKey);
         }},
        {"button.B.5", "Combo Key-Right Alt",
         [](Self& t) {
             t.page->SelectMode(1);
             t.dialogs.comboKey = ComboKeyChoice{"Right Alt", "", ""};
             t.ChooseInRow(5, kFnComboKey);
             t.page->SelectMode(0);
         }},
        // Shift goes to both modes, labels included.
        {"button.A.8", "Shift", [](Self& t) { t.ChooseInRow(8, kFnShift); }},
        {"button.B.2", "DPI Loop",
         [](Self& t) {
             t.page->SelectMode(1);
             t.Click(kBasicPage.rowBox(2));
             const int list = kBasicPage.rowList(2).id;
             t.main->OnListPointer(list, kFnDpiSwitch, {1, 103, 208, 120});
             t.main->OnListChoice(kBasicPage.dpiSubListId, 2);
             t.page->SelectMode(0);
         }},
        {"lighting.mode", "Neon Mode", [](Self& t) { t.page->lighting().ChooseMode(2); }},
        {"lighting.brightness", "45%", [](Self& t) { t.page->lighting().ChooseParameter(4); }},
        {"lighting.colour.2.enabled", "off", [](Self& t) { t.page->lighting().ToggleColourSlot(1); }},
        {"lighting.colour.3", "#00ff80",
         [](Self& t) {
             t.window.chosenColour = Colour{0x00, 0xFF, 0x80};
             t.page->lighting().EditLoopColour(2);
         }},
        {"pointer.speed", "9", [](Self& t) { t.advanced->SlideTo(PointerTrack::MouseSpeed, 9); }},
        {"pointer.wheel-lines", "11", [](Self& t) { t.advanced->SlideTo(PointerTrack::WheelLines, 11); }},
        {"pointer.double-click", "2", [](Self& t) { t.advanced->SlideTo(PointerTrack::DoubleClick, 2); }},
        {"pointer.precision", "off", [](Self& t) { t.advanced->TogglePointerPrecision(); }},
        {"pointer.scroll-one-screen", "on", [](Self& t) { t.advanced->ToggleScrollOneScreen(); }},
    };
    const DeviceConfig before = main->working();
    const ButtonLabels labelsBefore = main->labels();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " = " + c.value);
        main->working() = before;
        main->labels() = labelsBefore;
        c.window(*this);
        const DeviceConfig byWindow = main->working();
        const ButtonLabels labelsByWindow = main->labels();
        main->working() = before;
        main->labels() = labelsBefore;

        const std::optional<NamedSetting> setting = FindNamedSetting(Context(), c.name);
        ASSERT_TRUE(setting);
        SettingEdit edit = EditOfWindow();
        ASSERT_EQ(SetNamedSetting(*setting, edit, c.value, Context()), std::nullopt);
        EXPECT_EQ(Bytes(edit.config), Bytes(byWindow));
        EXPECT_EQ(*edit.labels[0], labelsByWindow);
        EXPECT_EQ(setting->read(edit.config, Context()), c.value);
        EXPECT_EQ(ExactText(*setting, edit.config, Context()), c.value);
    }
}

// Functions whose dialogs the harness does not script: the bytes the
// function list's words are built from, and the label in each language.
TEST_F(NamedSettingsTest, ParametersTheLabelLeavesOutAreWrittenAfterItAndEveryLanguageGetsItsLabel) {
    const struct {
        std::string value;
        std::vector<std::pair<int, Byte>> fields; // field k of button.A.2
        std::string chineseLabel;
    } cases[] = {
        {"Calculator", {{kFieldFunction, kFnWindows}, {3, 2}, {4, 0x92}, {5, 0x01}}, "计算器"},
        {"Multimedia-Vol+", {{kFieldFunction, kFnMultimedia}, {1, 5}, {2, 0xE9}}, "多媒体-音量+"},
        {"Fire Key-B, speed 20, times 0",
         {{kFieldFunction, kFnFireKey}, {6, 1}, {7, 0x05}, {8, 20}, {9, 0}},
         "火力键-B"},
        {"Macro Key-Copy, repeat 3", {{kFieldFunction, kFnMacroKey}, {14, 0}, {15, 2}}, "宏-Copy"},
        {"Single Key F5", {{kFieldFunction, kFnSingleKey}, {10, 0x3E}}, "单键-F5"},
    };
    const NamedSetting setting = *FindNamedSetting(Context(), "button.A.2");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        SettingEdit edit{FactoryDeviceConfig(), {}, false};
        edit.labels[0].emplace();
        edit.labels[1].emplace();
        ASSERT_EQ(SetNamedSetting(setting, edit, c.value, Context()), std::nullopt);
        for (const auto& [k, value] : c.fields) {
            EXPECT_EQ(edit.config.modeA.field(k, 1), value) << "field " << k;
        }
        EXPECT_EQ((*edit.labels[1])[0][1], c.chineseLabel);
        EXPECT_FALSE(edit.labels[2]) << "a language without labels stays without";
        EXPECT_TRUE(ExactText(setting, edit.config, Context()));
    }
}

TEST_F(NamedSettingsTest, ARefusedValueSaysWhyAndChangesNothing) {
    DeviceConfig onlyStageTwo = FactoryDeviceConfig();
    onlyStageTwo.dpiStageEnabled = {0, 1, 0, 0, 0, 0, 0, 0};
    DeviceConfig shiftOnFour = FactoryDeviceConfig();
    shiftOnFour.modeA.field(kFieldFunction, 3) = kFnShift;
    shiftOnFour.modeB.field(kFieldFunction, 3) = kFnShift;
    const struct {
        std::string name;
        std::string value;
        std::string says;
        DeviceConfig config = FactoryDeviceConfig();
    } cases[] = {
        {"report-rate", "300", "no report rate"},
        {"report-rate", "", "no report rate"},
        {"dpi.2", "1750", "not a DPI of this sensor (600, 800"},
        {"dpi.2.enabled", "off", "last enabled DPI stage", onlyStageTwo},
        {"dpi.2.enabled", "yes", "neither on nor off"},
        {"button.A.1", "Right Click", "Left key must be selected!"},
        {"button.A.5", "Shift", "already holds Shift", shiftOnFour},
        {"button.A.2", "Fire Key-A, speed 3", "speed is 5-255"},
        {"button.A.2", "Fire Key-A, times 256", "times are 0-255"},
        {"button.A.2", "Macro Key-Paste", "no macro named 'Paste'"},
        {"button.A.2", "Macro Key-Copy, repeat 4", "repeat mode is 1-3"},
        {"button.A.2", "Combo Key-Left Ctrl+A+B+C", "no combination"},
        {"button.A.2", "Single Key-Hyper", "no key name"},
        {"button.A.2", "Right click", "no button function"},
        {"lighting.mode", "Off Mode", "not offered"},
        {"lighting.neon-period", "16S", "not one of"},
        {"lighting.colour.1", "red", "no colour"},
        {"pointer.speed", "12", "not one of"},
        {"pointer.wheel-lines", "-1", "not one of"},
        {"macro.Copy.loops", "0", "no loop count"},
        {"macro.Copy.loops", "3x", "no loop count"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " = " + c.value);
        const std::optional<NamedSetting> setting = FindNamedSetting(Context(), c.name);
        ASSERT_TRUE(setting);
        SettingEdit edit{c.config, {}, false};
        edit.labels[0] = main->labels();
        const std::optional<std::string> refused = SetNamedSetting(*setting, edit, c.value, Context());
        ASSERT_TRUE(refused);
        EXPECT_NE(refused->find(c.says), std::string::npos) << *refused;
        EXPECT_EQ(Bytes(edit.config), Bytes(c.config));
        EXPECT_EQ(*edit.labels[0], main->labels());
        EXPECT_FALSE(edit.labelsChanged);
    }
}

TEST(NamedSettings, ADpiNeedsTheSensorAndAValueTheWindowDoesNotShowReadsAsNothing) {
    const SettingContext unknown{std::nullopt, {}};
    DeviceConfig config = zeroDeviceConfig();
    const NamedSetting dpi = *FindNamedSetting(unknown, "dpi.1");
    EXPECT_EQ(dpi.read(config, unknown), std::nullopt);
    EXPECT_TRUE(std::holds_alternative<std::string>(dpi.encode("250", unknown, config)));
    // A sensor above type 3 shows the first list's scale but no label.
    EXPECT_EQ(dpi.read(config, {Byte{9}, {}}), std::nullopt);
    EXPECT_EQ(dpi.read(config, {Byte{0}, {}}), "250");

    EXPECT_EQ(FindNamedSetting(unknown, "report-rate")->read(config, unknown), std::nullopt) << "rate byte 0";
    EXPECT_EQ(FindNamedSetting(unknown, "pointer.speed")->read(config, unknown), std::nullopt) << "not set";
    config.modeA.field(kFieldFunction, 0) = 16;
    EXPECT_EQ(FindNamedSetting(unknown, "button.A.1")->read(config, unknown), std::nullopt);
    EXPECT_FALSE(FindNamedSetting(unknown, "macro.Copy.loops")) << "no such macro";
}

} // namespace
} // namespace quorvel::testing
