#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "app/advanced_page.h"
#include "app/advanced_page_layout.h"
#include "app/basic_page_layout.h"
#include "app/factory_settings.h"
#include "app/main_window_layout.h"
#include "support/basic_page_harness.h"

namespace quorvel {
namespace {

using testing::BasicPageHarness;
using testing::ShownMessage;

const AdvancedPageLayout& A = kAdvancedPage;
constexpr Point kOk{520, 615};
constexpr Point kApply{620, 615};
constexpr Point kCancel{725, 615};
constexpr SettingStatus kDone = SettingStatus::Done;
constexpr SettingStatus kFailed = SettingStatus::Failed;
constexpr SettingStatus kNotOffered = SettingStatus::NotOffered;

// A desktop whose pointer settings the test chooses. Every write is recorded
// as "speed 20", "wheel page", "precision on", ...
class FakeDesktop final : public PointerSettingsPort {
public:
    struct Setting {
        int value = 0;
        SettingStatus read = kDone;
        SettingStatus write = kDone;
    };
    Setting precision{0};
    Setting speed{10};
    Setting wheel{3};
    Setting doubleClick{500};
    std::vector<std::string> writes;
    std::function<void()> onWrite;

    void offerNothing() {
        for (Setting* s : {&precision, &speed, &wheel, &doubleClick}) {
            s->read = s->write = kNotOffered;
        }
    }

    SettingRead<bool> pointerPrecision() override { return {precision.read, precision.value != 0}; }
    SettingStatus setPointerPrecision(bool on) override {
        return Write(precision, on ? 1 : 0, on ? "precision on" : "precision off");
    }
    SettingRead<int> mouseSpeed() override { return {speed.read, speed.value}; }
    SettingStatus setMouseSpeed(int v) override { return Write(speed, v, "speed " + std::to_string(v)); }
    SettingRead<int> wheelScrollLines() override { return {wheel.read, wheel.value}; }
    SettingStatus setWheelScrollLines(int v) override {
        return Write(wheel, v, v == kWheelPageScroll ? "wheel page" : "wheel " + std::to_string(v));
    }
    SettingRead<int> doubleClickTime() override { return {doubleClick.read, doubleClick.value}; }
    SettingStatus setDoubleClickTime(int v) override {
        return Write(doubleClick, v, "double-click " + std::to_string(v));
    }

private:
    SettingStatus Write(Setting& setting, int value, std::string record) {
        if (onWrite) {
            onWrite();
        }
        writes.push_back(std::move(record));
        if (setting.write == kDone) {
            setting.value = value;
        }
        return setting.write;
    }
};

// The five pointer bytes: precision, scroll one screen, mouse speed, wheel
// lines, double-click speed.
using PointerBytes = std::array<int, 5>;

PointerBytes BytesOf(const DeviceConfig& c) {
    return {c.enhancePointerPrecision, c.scrollOneScreen, c.mouseSpeed, c.wheelScrollLines,
            c.doubleClickSpeed};
}

void SetBytes(DeviceConfig& c, const PointerBytes& b) {
    c.enhancePointerPrecision = static_cast<Byte>(b[0]);
    c.scrollOneScreen = static_cast<Byte>(b[1]);
    c.mouseSpeed = static_cast<Byte>(b[2]);
    c.wheelScrollLines = static_cast<Byte>(b[3]);
    c.doubleClickSpeed = static_cast<Byte>(b[4]);
}

Point Cell(PointerTrack track, int cell) {
    return A.sliderCell(static_cast<int>(track), cell).topLeft();
}

// The Advanced page in the main window on the simulated mouse. Each new
// page object stands for a new run of the program.
struct AdvancedPageTest : BasicPageHarness {
    FakeDesktop desktop;
    std::unique_ptr<AdvancedPage> advanced;

    // Starts the program on `config` and opens the Advanced page by its page button.
    MainWindow& Open(const DeviceConfig& config = FactoryDeviceConfig()) {
        SetConfigBin(config, 1);
        Start();
        advanced = std::make_unique<AdvancedPage>(*main, desktop);
        main->setPages(page.get(), advanced.get());
        TakeOps();
        window.picture.presents = 0;
        Click(WindowButtonRect(WindowButtonId::AdvancedPage));
        return *main;
    }
    // The program started anew on the page, with the working configuration kept.
    void NewRun() {
        advanced = std::make_unique<AdvancedPage>(*main, desktop);
        main->setPages(page.get(), advanced.get());
        messages.shown.clear();
        TakeOps();
        Redraw();
    }

    PointerBytes Bytes() { return BytesOf(main->working()); }
    // The lit cells of each track that the last drawing showed.
    std::array<int, 3> LitCells(const std::vector<std::string>& ops) const {
        std::array<int, 3> lit{};
        for (std::size_t t = 0; t < 3; ++t) {
            for (int cell = 1; cell <= AdvancedPageLayout::kSliderCellCount; ++cell) {
                const Point at = A.sliderCell(static_cast<int>(t), cell).topLeft();
                const std::string where = std::to_string(at.x) + "," + std::to_string(at.y);
                lit[t] += Drew(ops, "image slider-light.png at " + where) ? 1 : 0;
            }
        }
        return lit;
    }
    std::array<bool, 2> Ticks(const std::vector<std::string>& ops) const {
        return {Drew(ops, "image PaneMakingTick.png at 51,255"),
                Drew(ops, "image PaneMakingTick.png at 51,405")};
    }
};

// --- Drawing and reading the desktop -------------------------------------------------

TEST_F(AdvancedPageTest, DrawsThePointerSettingsInOnePresentAndLeavesTheMacroHalfEmpty) {
    MainWindow& w = Open();
    const auto ops = TakeOps();
    EXPECT_EQ(w.currentPage(), Page::Advanced);
    EXPECT_EQ(window.picture.presents, 1);
    for (const char* op :
         {"image AdvancedSet2.png at 0,0", "title Advanced Settings in 120,50", "text Mouse Speed in 38,160",
          "text Scrolling Speed in 38,310", "text Double-Click Speed in 38,460",
          "text Enhance Pointer Precision in 77,255", "text Scroll One Screen in 77,405",
          "image button-normal.png at 194,573", "text Default in 194,573", "image Pane.png at 51,255",
          "image Pane.png at 51,405"}) {
        EXPECT_TRUE(Drew(ops, op)) << op;
    }
    EXPECT_EQ(LitCells(ops), (std::array<int, 3>{6, 3, 6}));
    for (const std::string& op : ops) {
        EXPECT_EQ(op.find("Macro"), std::string::npos) << op;
    }
    // The page button is pressed again: nothing happens.
    Click(WindowButtonRect(WindowButtonId::AdvancedPage));
    EXPECT_TRUE(TakeOps().empty());

    // Default shows hovered while the pointer rests on it.
    main->OnMouseMove(A.defaultButton.rect.topLeft());
    auto hover = TakeOps();
    EXPECT_TRUE(Drew(hover, "image button-over.png at 194,573"));
    EXPECT_TRUE(Drew(hover, "text Default in 194,573"));
    main->OnMouseMove(Point{5, 300});
    EXPECT_TRUE(Drew(TakeOps(), "image button-normal.png at 194,573"));
}

TEST_F(AdvancedPageTest, TheDesktopIsReadOnTheFirstShowing) {
    Open();
    const struct {
        int precision, speed, wheel, doubleClick;
        PointerBytes bytes;
        std::array<int, 3> lit;
        std::array<bool, 2> ticks;
    } cases[] = {
        {0, 10, 3, 500, {0, 0, 6, 3, 6}, {6, 3, 6}, {false, false}},
        {1, 11, kWheelPageScroll, 200, {1, 1, 6, 0, 11}, {6, 0, 11}, {true, true}},
        {0, 20, 11, 900, {0, 0, 11, 11, 1}, {11, 11, 1}, {false, false}},
        {0, 1, 0, 830, {0, 0, 1, 0, 2}, {1, 0, 2}, {false, false}},
        {1, 19, 7, 760, {1, 0, 10, 7, 3}, {10, 7, 3}, {true, false}},
        // Beyond the tracks: the nearest cell.
        {0, 2, 30, 1000, {0, 0, 2, 11, 1}, {2, 11, 1}, {false, false}},
        {0, 10, 3, 150, {0, 0, 6, 3, 11}, {6, 3, 11}, {false, false}},
    };
    for (const auto& c : cases) {
        desktop.precision.value = c.precision;
        desktop.speed.value = c.speed;
        desktop.wheel.value = c.wheel;
        desktop.doubleClick.value = c.doubleClick;
        NewRun();
        const auto ops = TakeOps();
        EXPECT_EQ(Bytes(), c.bytes) << c.speed << " " << c.wheel << " " << c.doubleClick;
        EXPECT_EQ(LitCells(ops), c.lit) << c.speed << " " << c.wheel << " " << c.doubleClick;
        EXPECT_EQ(Ticks(ops), c.ticks) << c.precision << " " << c.wheel;
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(desktop.writes.empty()) << "showing the page changes nothing on the desktop";
    }
}

TEST_F(AdvancedPageTest, TheDesktopIsReadOncePerRun) {
    MainWindow& w = Open();
    EXPECT_TRUE(advanced->desktopRead());
    desktop.speed.value = 20;
    desktop.precision.value = 1;
    Click(WindowButtonRect(WindowButtonId::BasicPage));
    Click(WindowButtonRect(WindowButtonId::AdvancedPage));
    EXPECT_EQ(Bytes(), (PointerBytes{0, 0, 6, 3, 6}));

    // Edited, then cancelled: the next showing is the record as config.bin
    // holds it, not the desktop read again.
    Click(Cell(PointerTrack::MouseSpeed, 2));
    TakeOps();
    Click(kCancel);
    w.OnTray(TrayAction::LeftUp);
    EXPECT_EQ(Bytes(), BytesOf(FactoryDeviceConfig()));
    EXPECT_EQ(LitCells(TakeOps())[0], FactoryDeviceConfig().mouseSpeed);
}

TEST_F(AdvancedPageTest, ASettingTheDesktopDoesNotOfferKeepsItsByteAndWarnsOfNothing) {
    desktop.offerNothing();
    MainWindow& w = Open();
    const PointerBytes factory = BytesOf(FactoryDeviceConfig());
    EXPECT_EQ(Bytes(), factory);
    const auto ops = TakeOps();
    EXPECT_EQ(LitCells(ops), (std::array<int, 3>{factory[2], factory[3], factory[4]}));
    EXPECT_EQ(Ticks(ops), (std::array<bool, 2>{factory[0] != 0, factory[1] != 0}));

    Click(Cell(PointerTrack::DoubleClick, 9));
    Click(kApply);
    Click(A.defaultButton.rect.topLeft());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Bytes(), (PointerBytes{0, 0, 6, 3, 6})) << "Default still sets the page";
    Click(kOk);
    EXPECT_EQ(BytesOf(w.saved()), (PointerBytes{0, 0, 6, 3, 6})) << "and the bytes travel with config.bin";
}

// A desktop where only precision, speed and the double click exist, like GNOME's.
TEST_F(AdvancedPageTest, OnlyTheWheelNotOfferedKeepsTheWheelBytes) {
    desktop.wheel.read = desktop.wheel.write = kNotOffered;
    desktop.speed.value = 14;
    Open();
    EXPECT_EQ(Bytes(), (PointerBytes{0, 0, 8, 3, 6}));
    Click(A.scrollOneScreenBox.topLeft());
    Click(kApply);
    EXPECT_EQ(desktop.writes,
              (std::vector<std::string>{"precision off", "speed 14", "wheel page", "double-click 550"}));
    EXPECT_TRUE(messages.shown.empty());
}

// --- Sliders and check boxes ------------------------------------------------------------

TEST_F(AdvancedPageTest, ASliderClickLightsCellsUpToItAndStoresItOnly) {
    Open();
    const struct {
        PointerTrack track;
        int cell;
        Point at;
        PointerBytes bytes;
    } cases[] = {
        {PointerTrack::MouseSpeed, 11, Cell(PointerTrack::MouseSpeed, 11), {0, 0, 11, 3, 6}},
        {PointerTrack::WheelLines, 1, Cell(PointerTrack::WheelLines, 1), {0, 0, 11, 1, 6}},
        {PointerTrack::DoubleClick, 4, Cell(PointerTrack::DoubleClick, 4), {0, 0, 11, 1, 4}},
        // The cells touch: the last column of a cell belongs to it, the next to its neighbour.
        {PointerTrack::MouseSpeed, 1, {75, 210}, {0, 0, 1, 1, 4}},
        {PointerTrack::MouseSpeed, 2, {76, 200}, {0, 0, 2, 1, 4}},
    };
    for (const auto& c : cases) {
        window.picture.presents = 0;
        Click(c.at);
        const auto ops = TakeOps();
        EXPECT_EQ(Bytes(), c.bytes) << c.at.x << "," << c.at.y;
        EXPECT_EQ(LitCells(ops)[static_cast<std::size_t>(c.track)], c.cell);
        EXPECT_EQ(window.picture.presents, 1);
    }
    EXPECT_TRUE(desktop.writes.empty()) << "nothing reaches the desktop before OK or Apply";

    // Below the track is background: the window moves.
    window.moves.clear();
    Click(Point{60, 211});
    EXPECT_EQ(window.moves.size(), 1u);
    EXPECT_EQ(Bytes()[2], 2);
}

TEST_F(AdvancedPageTest, CheckBoxesToggleTheirByteAndImage) {
    Open();
    Click(A.enhancePointerPrecisionBox.topLeft());
    EXPECT_TRUE(Drew(TakeOps(), "image PaneMakingTick.png at 51,255"));
    Click(A.scrollOneScreenBox.topLeft());
    EXPECT_TRUE(Drew(TakeOps(), "image PaneMakingTick.png at 51,405"));
    EXPECT_EQ(Bytes(), (PointerBytes{1, 1, 6, 3, 6}));
    Click(Point{66, 270}); // the last pixel of the box
    EXPECT_TRUE(Drew(TakeOps(), "image Pane.png at 51,255"));
    Click(Point{67, 255}); // just beside it: no click on the box
    EXPECT_EQ(Bytes(), (PointerBytes{0, 1, 6, 3, 6}));
    EXPECT_TRUE(desktop.writes.empty());
}

// --- OK, Apply, Default ---------------------------------------------------------------

TEST_F(AdvancedPageTest, OkAndApplyHandTheStoredPositionsToTheDesktop) {
    MainWindow& w = Open();
    const struct {
        PointerBytes bytes;
        std::vector<std::string> writes;
    } cases[] = {
        // Cell 6 holds the 500 ms that Default sets, and stands for 550 ms.
        {{1, 0, 6, 3, 6}, {"precision on", "speed 10", "wheel 3", "double-click 550"}},
        {{0, 0, 11, 3, 11}, {"precision off", "speed 20", "wheel 3", "double-click 200"}},
        {{0, 1, 1, 3, 1}, {"precision off", "speed 1", "wheel page", "double-click 900"}},
        // A damaged config.bin: the nearest cells.
        {{7, 9, 30, 200, 40}, {"precision on", "speed 20", "wheel page", "double-click 200"}},
        {{0, 0, 12, 200, 12}, {"precision off", "speed 20", "wheel 11", "double-click 200"}},
    };
    for (const auto& c : cases) {
        SetBytes(w.working(), c.bytes);
        desktop.writes.clear();
        Click(kApply);
        EXPECT_EQ(desktop.writes, c.writes) << c.bytes[2];
    }
    SetBytes(w.working(), {0, 0, 6, 3, 6});
    desktop.writes.clear();
    window.shown = true;
    Click(kOk);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(desktop.writes,
              (std::vector<std::string>{"precision off", "speed 10", "wheel 3", "double-click 550"}));
    EXPECT_TRUE(messages.shown.empty());
}

// A pointer byte of 0 is "not set": OK and Apply leave that desktop setting
// alone, rather than turning position 0 into the slowest speed and the
// longest double click. A record that started empty changes nothing.
TEST_F(AdvancedPageTest, APointerByteOfZeroLeavesItsDesktopSettingAlone) {
    // From the Basic page, the Advanced page never shown.
    SetConfigBin(zeroDeviceConfig(), 1);
    Start();
    advanced = std::make_unique<AdvancedPage>(*main, desktop);
    main->setPages(page.get(), advanced.get());
    Click(kApply);
    Click(kOk);
    EXPECT_TRUE(desktop.writes.empty());

    const struct {
        PointerBytes bytes;
        std::vector<std::string> writes;
    } cases[] = {
        {{0, 0, 0, 0, 0}, {}},
        {{1, 0, 0, 0, 0}, {"precision on"}},
        {{0, 0, 6, 0, 0}, {"precision off", "speed 10"}},
        {{0, 0, 0, 3, 0}, {"precision off", "wheel 3"}},
        {{0, 1, 0, 0, 0}, {"precision off", "wheel page"}},
        {{0, 0, 0, 0, 11}, {"precision off", "double-click 200"}},
        {{0, 0, 2, 0, 10}, {"precision off", "speed 2", "double-click 270"}},
    };
    for (const auto& c : cases) {
        SetBytes(main->working(), c.bytes);
        desktop.writes.clear();
        Click(kApply);
        EXPECT_EQ(desktop.writes, c.writes)
            << c.bytes[0] << c.bytes[1] << c.bytes[2] << c.bytes[3] << c.bytes[4];
    }
    EXPECT_TRUE(messages.shown.empty());
}

// What the record does not hold, the page shows from the desktop, also when
// Cancel brought back a record that started empty; Apply then gives the
// desktop its own values back.
TEST_F(AdvancedPageTest, ASettingTheRecordDoesNotHoldShowsTheDesktopsValue) {
    desktop.precision.value = 1;
    desktop.speed.value = 14;
    desktop.doubleClick.value = 550;
    MainWindow& w = Open(zeroDeviceConfig());
    EXPECT_EQ(LitCells(TakeOps()), (std::array<int, 3>{8, 3, 6}));
    Click(Cell(PointerTrack::MouseSpeed, 2));
    TakeOps();
    Click(kCancel);
    EXPECT_EQ(BytesOf(w.saved()), (PointerBytes{0, 0, 0, 0, 0}));
    w.OnTray(TrayAction::LeftUp);
    const auto ops = TakeOps();
    EXPECT_EQ(LitCells(ops), (std::array<int, 3>{8, 3, 6}));
    EXPECT_EQ(Ticks(ops), (std::array<bool, 2>{true, false}));
    Click(kApply);
    EXPECT_EQ(desktop.writes,
              (std::vector<std::string>{"precision on", "speed 14", "wheel 3", "double-click 550"}));
    EXPECT_EQ(desktop.speed.value, 14);
    EXPECT_TRUE(messages.shown.empty()) << "a later read warns of nothing";
}

// Without a notification area Cancel minimises, and the taskbar brings the
// window back without a tray click; without a window manager it never goes.
// Either way the window shows the saved record as soon as Cancel restores it.
TEST_F(AdvancedPageTest, WithoutATrayCancelDrawsBothPagesFromTheSavedRecord) {
    tray.hasArea = false;
    MainWindow& w = Open();
    Click(Cell(PointerTrack::MouseSpeed, 2));
    Click(A.scrollOneScreenBox.topLeft());
    TakeOps();
    Click(kCancel);
    EXPECT_TRUE(window.minimised);
    auto ops = TakeOps();
    EXPECT_EQ(LitCells(ops), (std::array<int, 3>{6, 3, 6}));
    EXPECT_EQ(Ticks(ops), (std::array<bool, 2>{true, false}));

    Click(WindowButtonRect(WindowButtonId::BasicPage));
    Click(kBasicPage.reportRateSegment(0)); // 125 Hz
    TakeOps();
    Click(kCancel);
    ops = TakeOps();
    EXPECT_TRUE(Drew(ops, "image slider-RP-light.png at 758,204")) << "1000 Hz, as saved";
    EXPECT_FALSE(Drew(ops, "image slider-RP-light.png at 542,204"));
    EXPECT_EQ(w.working().reportRate, 1);
}

TEST_F(AdvancedPageTest, TheDesktopIsWrittenAfterTheMouseGotTheConfiguration) {
    Open();
    std::size_t transfersAtFirstWrite = 0;
    desktop.onWrite = [&] {
        if (transfersAtFirstWrite == 0) {
            transfersAtFirstWrite = mouse.transfers().size();
        }
    };
    const std::size_t before = mouse.transfers().size();
    Click(kApply);
    EXPECT_GT(transfersAtFirstWrite, before);
    EXPECT_EQ(transfersAtFirstWrite, mouse.transfers().size())
        << "no transfer to the mouse after the desktop";
}

TEST_F(AdvancedPageTest, ADesktopSpeedBetweenTwoCellsIsWrittenBackAsTheCellsSpeed) {
    desktop.speed.value = 11;
    Open();
    EXPECT_EQ(LitCells(TakeOps())[0], 6);
    Click(kApply);
    EXPECT_EQ(desktop.speed.value, 10);
}

TEST_F(AdvancedPageTest, WithoutTheMouseOkAndApplyLeaveTheDesktopAlone) {
    mouse.unplug();
    Open();
    Click(kApply);
    Click(kOk);
    EXPECT_TRUE(desktop.writes.empty());
}

TEST_F(AdvancedPageTest, DefaultSetsTheDesktopAtOnceAndCancelKeepsIt) {
    desktop.precision.value = 1;
    desktop.wheel.value = kWheelPageScroll;
    desktop.speed.value = 20;
    MainWindow& w = Open();
    EXPECT_EQ(Bytes(), (PointerBytes{1, 1, 11, 0, 6}));
    window.picture.presents = 0;
    TakeOps();
    Click(A.defaultButton.rect.topLeft());
    EXPECT_EQ(desktop.writes,
              (std::vector<std::string>{"precision off", "speed 10", "wheel 3", "double-click 500"}));
    EXPECT_EQ(Bytes(), (PointerBytes{0, 0, 6, 3, 6}));
    const auto ops = TakeOps();
    EXPECT_EQ(LitCells(ops), (std::array<int, 3>{6, 3, 6}));
    EXPECT_EQ(Ticks(ops), (std::array<bool, 2>{false, false}));
    EXPECT_TRUE(Drew(ops, "image Pane.png at 51,255"));
    EXPECT_TRUE(Drew(ops, "image Pane.png at 51,405"));
    EXPECT_EQ(window.picture.presents, 1);

    // Cancel brings the saved record's five bytes back; the desktop keeps
    // Default's values.
    TakeOps();
    Click(kCancel);
    const PointerBytes saved = BytesOf(FactoryDeviceConfig());
    EXPECT_EQ(Bytes(), saved);
    EXPECT_EQ(desktop.speed.value, 10);
    EXPECT_EQ(desktop.wheel.value, 3);
    w.OnTray(TrayAction::LeftUp);
    EXPECT_EQ(LitCells(TakeOps()), (std::array<int, 3>{saved[2], saved[3], saved[4]}));
}

TEST_F(AdvancedPageTest, EveryRefusalIsAWarningAndThePageGoesOn) {
    Open();
    const std::vector<ShownMessage> writeWarnings{{"SETMOUSE failed.", "Warning"},
                                                  {"SETMOUSESPEED failed.", "Warning"},
                                                  {"SETWHEELSCROLLLINES failed.", "Warning"},
                                                  {"SPI_SETDOUBLECLICKTIME failed.", "Warning"}};
    for (FakeDesktop::Setting* s :
         {&desktop.precision, &desktop.speed, &desktop.wheel, &desktop.doubleClick}) {
        s->write = kFailed;
    }
    Click(kApply);
    EXPECT_EQ(messages.shown, writeWarnings);
    EXPECT_EQ(desktop.writes.size(), 4u) << "each setting is tried";
    messages.shown.clear();
    Click(A.defaultButton.rect.topLeft());
    EXPECT_EQ(messages.shown, writeWarnings);
    EXPECT_EQ(Bytes(), (PointerBytes{0, 0, 6, 3, 6})) << "the page takes Default's values all the same";

    // Refused reads, one at a time, on a page that stores {1, 1, 9, 5, 8}.
    const struct {
        FakeDesktop::Setting* setting;
        int value;
        SettingStatus read;
        std::vector<ShownMessage> shown;
        PointerBytes bytes;
    } reads[] = {
        {&desktop.precision, 1, kFailed, {}, {0, 1, 9, 5, 8}},
        {&desktop.speed, 10, kFailed, {{"GETMOUSESPEED failed.", "Warning"}}, {1, 1, 9, 5, 8}},
        {&desktop.wheel, 3, kFailed, {{"GETWHEELSCROLLLINES failed.", "Warning"}}, {1, 0, 9, 0, 8}},
        {&desktop.doubleClick, 500, kFailed, {{"GetDoubleClickTime failed.", "Warning"}}, {1, 1, 9, 5, 8}},
        {&desktop.doubleClick, 0, kDone, {{"GetDoubleClickTime failed.", "Warning"}}, {1, 1, 9, 5, 8}},
    };
    for (const auto& c : reads) {
        desktop.offerNothing();
        c.setting->value = c.value;
        c.setting->read = c.read;
        SetBytes(main->working(), {1, 1, 9, 5, 8});
        NewRun();
        EXPECT_EQ(messages.shown, c.shown);
        EXPECT_EQ(Bytes(), c.bytes);
        EXPECT_TRUE(advanced->desktopRead());
    }
}

// --- The macro panel's place ------------------------------------------------------------

class FakePanel final : public PageContent {
public:
    explicit FakePanel(std::vector<std::string>& log) : log_(&log) {}
    void draw() override { log_->push_back("draw"); }
    void leave() override { log_->push_back("leave"); }
    bool click(Point point) override {
        log_->push_back("click " + std::to_string(point.x));
        return point.x > 450;
    }
    std::vector<HoverControl> hoverControls() override { return {}; }
    void listChosen(int id, int index) override {
        log_->push_back("chosen " + std::to_string(id) + " " + std::to_string(index));
    }

private:
    std::vector<std::string>* log_;
};

TEST_F(AdvancedPageTest, ThePageMakesItsPanelWhenShownAndEndsItWhenLeft) {
    std::vector<std::string> log;
    int made = 0;
    SetConfigBin(FactoryDeviceConfig(), 1);
    Start();
    advanced = std::make_unique<AdvancedPage>(*main, desktop, [&] {
        ++made;
        return std::make_unique<FakePanel>(log);
    });
    main->setPages(page.get(), advanced.get());
    EXPECT_EQ(advanced->macroPanel(), nullptr);
    Click(WindowButtonRect(WindowButtonId::AdvancedPage));
    EXPECT_EQ(made, 1);
    Click(Point{600, 300});
    main->OnListChoice(151, 2);
    Click(A.enhancePointerPrecisionBox.topLeft());
    EXPECT_EQ(log, (std::vector<std::string>{"draw", "click 600", "chosen 151 2", "click 51"}));
    Click(WindowButtonRect(WindowButtonId::BasicPage));
    EXPECT_EQ(log.back(), "leave");
    EXPECT_EQ(advanced->macroPanel(), nullptr);
    Click(WindowButtonRect(WindowButtonId::AdvancedPage));
    EXPECT_EQ(made, 2);
}

} // namespace
} // namespace quorvel
