#include <gtest/gtest.h>

#include <cerrno>

#include "app/basic_page_layout.h"
#include "app/lighting_controls.h"
#include "assign/function_list.h"
#include "support/basic_page_harness.h"

namespace quorvel {
namespace {

using testing::BasicPageHarness;
using testing::ShownMessage;

const BasicPageLayout& B = kBasicPage;
constexpr Point kEmpty{5, 300}; // page background beside the mouse drawing

int RowListId(int row) {
    return B.rowList(row).id;
}
constexpr int kDpiSubListId = 37;

using BasicPageTest = BasicPageHarness;

std::size_t IndexOf(const std::vector<std::string>& ops, const std::string& op) {
    const auto it = std::find(ops.begin(), ops.end(), op);
    EXPECT_NE(it, ops.end()) << op;
    return static_cast<std::size_t>(it - ops.begin());
}

// --- Drawing ---------------------------------------------------------------------

TEST_F(BasicPageTest, DrawsTheFrameThenImagesThenTextsInOnePresent) {
    mouse.setSensorType(1);
    Start();
    const auto ops = TakeOps();
    EXPECT_EQ(window.picture.presents, 1);
    // Images before texts, as the page is layered: boxes, then what stands on them.
    const std::size_t background = IndexOf(ops, "image BasicSet2.png at 0,0");
    const std::size_t defaultButton = IndexOf(ops, "image button-normal.png at 307,549");
    const std::size_t rowBox8 = IndexOf(ops, "image DropdownBox-normal.png at 252,347");
    const std::size_t rateSegment = IndexOf(ops, "image slider-RP-light.png at 758,204");
    const std::size_t swatch = IndexOf(ops, "fill 255,0,0 in 703,420");
    const std::size_t title = IndexOf(ops, "title Basic Settings in 120,50");
    const std::size_t heading = IndexOf(ops, "text Key Setting in 259,160");
    const std::size_t defaultText = IndexOf(ops, "text Default in 307,549");
    const std::size_t number = IndexOf(ops, "text 1 in 252,186");
    const std::size_t label = IndexOf(ops, "text DPI - in 272,324");
    const std::size_t modeA = IndexOf(ops, "image button-over.png at 253,518");
    const std::size_t modeBText = IndexOf(ops, "text Mode B in 357,518");
    const std::size_t dpiLabel = IndexOf(ops, "text 3200 in 494,392");
    const std::size_t modeName = IndexOf(ops, "text Standard Mode in 770,329");
    const std::vector<std::size_t> order{background, title,     defaultButton, rowBox8, rateSegment,
                                         swatch,     heading,   defaultText,   number,  label,
                                         modeA,      modeBText, dpiLabel,      modeName};
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_TRUE(Drew(ops, "text 100% in 770,359"));
    EXPECT_TRUE(Drew(ops, "image button-normal.png at 357,518")) << "Mode B is not the shown mode";
}

TEST_F(BasicPageTest, TheFirstDrawingSyncsTheSensorAndWritesTheFirstRunLabelsOnce) {
    mouse.setSensorRecord({1, 0, 0, 0x01});
    MainWindow& w = Start();
    EXPECT_EQ(mouse.sensorRecord().option2, 0x41);
    EXPECT_EQ(w.sensorType(), 1);
    const std::string& ini = files.files["/d/str.ini"];
    EXPECT_NE(ini.find("Item6=DPI +"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Item9=Key Off"), std::string::npos);
    EXPECT_NE(ini.find("Item93=Key Off"), std::string::npos) << "Mode B too";
    EXPECT_EQ(w.labels()[1][7], "Triple-click");

    // Drawn again later, the page neither reads the sensor nor resets labels.
    mouse.setSensorType(2);
    w.labels()[0][2] = "mine";
    Redraw();
    EXPECT_EQ(w.sensorType(), 1);
    EXPECT_EQ(w.labels()[0][2], "mine");
}

TEST_F(BasicPageTest, AfterTheFirstRunTheLabelsAreThoseOfStrIni) {
    SetConfigBin(FactoryDeviceConfig(), 1);
    files.files["/d/str.ini"] += "[Setting-EN]\nItem1=Shoot\n";
    MainWindow& w = Start();
    EXPECT_EQ(w.labels()[0][0], "Shoot");
    EXPECT_EQ(w.labels()[0][5], "");
    EXPECT_TRUE(Drew(TakeOps(), "text Shoot in 272,186"));
}

// A config.bin of the wrong size is damage, not a first run: the user hears
// which file is wrong, and neither it nor the labels in str.ini are touched
// before an Apply.
TEST_F(BasicPageTest, ADamagedConfigBinIsToldAndKeepsTheUsersLabels) {
    for (const std::size_t size : {0, 1, 2020, 2021, 2023, 5000}) {
        files.files["/d/config.bin"] = std::string(size, '\x01');
        files.files["/d/str.ini"] = FactoryStrIni() + "[Setting-EN]\nItem1=Shoot\n";
        const std::string strIni = files.files["/d/str.ini"];
        messages.shown.clear();
        files.writes = 0;
        MainWindow& w = Start();
        EXPECT_EQ(
            messages.shown,
            (std::vector<ShownMessage>{
                {DataPathsIn("/d").configBin.string() + ": " + std::to_string(size) +
                     " bytes; a configuration file has 2022\nThe settings start empty; the file stays as it "
                     "is until Apply replaces it.",
                 "Quorvel Gaming Mouse"}}))
            << size;
        EXPECT_EQ(w.labels()[0][0], "Shoot") << size;
        EXPECT_EQ(files.writes, 0) << size;
        EXPECT_EQ(files.files["/d/str.ini"], strIni) << size;
        EXPECT_EQ(files.files["/d/config.bin"].size(), size);
        page.reset();
        main.reset();
    }
}

TEST_F(BasicPageTest, AFailedFirstRunLabelWriteIsTold) {
    files.writeError = ENOSPC;
    Start();
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{DataPathsIn("/d").strIni.string() +
                                                              ": cannot be written: No space left on device",
                                                          "Quorvel Gaming Mouse"}}));
}

// A portable copy in a folder the user may not write (on a share, in Program
// Files): the demo cannot make its own folder there. It says so once, with
// the reason, and runs on the factory settings and skin the copy brings, the
// first run's labels shown but not written.
TEST_F(BasicPageTest, InAFolderThatCannotBeWrittenTheDemoStartsOnTheFactoryFilesWithOneMessage) {
    files.files["/d/factory/config.bin"] = FactoryConfigBin();
    files.files["/d/factory/str.ini"] = FactoryStrIni();
    files.writeError = EACCES;
    const auto before = files.files;
    const DataPaths paths = DemoDataPaths(DataPathsIn("/d", "/d/quorvel-demo"));
    MainWindow& w = Start(paths);
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{
                  {Utf8FromPath(paths.configBin) +
                       ": cannot be written: Permission denied\nSettings cannot be saved in this folder; what is "
                       "missing there is read from the factory files, and nothing there is changed.",
                   "Quorvel Gaming Mouse"}}));
    EXPECT_EQ(w.working(), FactoryDeviceConfig());
    EXPECT_EQ(w.labels()[1][7], "Triple-click");
    EXPECT_EQ(window.width, 880) << "drawn in the copy's Default skin";
    EXPECT_EQ(files.files, before) << "nothing written, nothing lost";
}

// --- The button list ----------------------------------------------------------------

TEST_F(BasicPageTest, ARowBoxOpensAndClosesItsListAndAnotherRowTakesOver) {
    Start();
    Click(B.rowBox(2));
    ASSERT_TRUE(window.listExists(RowListId(2)));
    EXPECT_EQ(window.listBoxes[RowListId(2)], (Rect{252, 231, 463, 501}));
    const auto& entries = window.lists[RowListId(2)];
    ASSERT_EQ(entries.size(), 16u);
    EXPECT_EQ(entries.front(), "Left Click");
    EXPECT_EQ(entries[6], "DPI Switch");
    EXPECT_EQ(entries.back(), "Key Off");

    Click(B.rowBox(2));
    EXPECT_FALSE(window.listExists(RowListId(2)));

    Click(B.rowBox(2));
    Click(B.rowBox(5));
    EXPECT_FALSE(window.listExists(RowListId(2)));
    EXPECT_TRUE(window.listExists(RowListId(5)));
    EXPECT_TRUE(window.moves.empty());
}

TEST_F(BasicPageTest, TheLastLeftClickCannotBeTakenAwayCountingAllTwelveButtons) {
    const struct {
        const char* what;
        std::vector<int> leftButtons; // in the shown mode
        int shownMode;
        int row;
        bool opens;
    } cases[] = {
        {"only button 0", {0}, 0, 1, false},
        {"button 0 and button 10, which the mouse never receives", {0, 10}, 0, 1, false},
        {"buttons 0 and 3", {0, 3}, 0, 4, true},
        {"only button 0 of Mode B", {0}, 1, 1, false},
        {"a row without Left Click", {0}, 0, 2, true},
    };
    MainWindow& w = Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.shown.clear();
        for (int mode = 0; mode < 2; ++mode) {
            ButtonSet& set = w.working().buttonSet(mode);
            for (int button = 0; button < kButtonCount; ++button) {
                // The mode not shown has Left Click everywhere: it must not count.
                const bool left = mode != c.shownMode || std::find(c.leftButtons.begin(), c.leftButtons.end(),
                                                                   button) != c.leftButtons.end();
                set.field(kFieldFunction, button) = left ? kFnLeftClick : kFnKeyOff;
            }
        }
        w.working().selectedButtonSet = static_cast<Byte>(c.shownMode);
        Click(B.rowBox(3 == c.row ? 5 : 3)); // another row's list is open first
        Click(B.rowBox(c.row));
        EXPECT_EQ(window.listExists(RowListId(c.row)), c.opens);
        EXPECT_FALSE(window.listExists(RowListId(3 == c.row ? 5 : 3))) << "the other list closes either way";
        const std::vector<testing::ShownMessage> warning{{"Left key must be selected!", "Warning"}};
        EXPECT_EQ(messages.shown, c.opens ? std::vector<testing::ShownMessage>() : warning);
        Click(kEmpty);
    }
}

TEST_F(BasicPageTest, OnceTheSecondLeftClickIsChangedTheFirstRowRefusesToOpen) {
    MainWindow& w = Start();
    w.working().modeA.field(kFieldFunction, 3) = kFnLeftClick;
    Click(B.rowBox(1));
    EXPECT_TRUE(window.listExists(RowListId(1)));
    Click(B.rowBox(4));
    w.OnListChoice(RowListId(4), kFnRightClick);
    EXPECT_EQ(w.working().modeA.field(kFieldFunction, 3), kFnRightClick);
    EXPECT_FALSE(window.listExists(RowListId(4)));
    Click(B.rowBox(1));
    EXPECT_FALSE(window.listExists(RowListId(1)));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(BasicPageTest, ChoosingAFunctionWithoutParametersRelabelsTheRowInTheShownModeOnly) {
    MainWindow& w = Start();
    Click(B.rowBox(4));
    TakeOps();
    w.OnListChoice(RowListId(4), kFnTripleClick);
    EXPECT_EQ(w.working().modeA.field(kFieldFunction, 3), kFnTripleClick);
    EXPECT_EQ(w.working().modeB.field(kFieldFunction, 3), kFnForward);
    EXPECT_EQ(w.labels()[0][3], "Triple-click");
    EXPECT_EQ(w.labels()[1][3], "Forward");
    EXPECT_FALSE(window.listExists(RowListId(4)));
    EXPECT_EQ(TakeOps(), (std::vector<std::string>{"image DropdownBox-normal.png at 252,255",
                                                   "text 4 in 252,255", "text Triple-click in 272,255"}));
    EXPECT_EQ(dialogs.opened, 0);
}

TEST_F(BasicPageTest, ParameterFunctionsAskTheirDialogAndCloseTheListEitherWay) {
    MainWindow& w = Start();
    Click(B.rowBox(2));
    w.OnListChoice(RowListId(2), kFnSingleKey); // the dialog is cancelled
    EXPECT_EQ(dialogs.opened, 1);
    EXPECT_EQ(w.labels()[0][1], "Right Click");
    EXPECT_FALSE(window.listExists(RowListId(2)));

    dialogs.singleKey = SingleKeyChoice{"A"};
    Click(B.rowBox(2));
    w.OnListChoice(RowListId(2), kFnSingleKey);
    EXPECT_EQ(w.working().modeA.field(kFieldFunction, 1), kFnSingleKey);
    EXPECT_EQ(w.working().modeA.field(kFieldSingleKey, 1), 0x04);
    EXPECT_EQ(w.labels()[0][1], "Single Key-A");
    EXPECT_TRUE(Drew(TakeOps(), "text Single Key-A in 272,209"));
}

TEST_F(BasicPageTest, TheDpiSubListFollowsThePointerOverItemSixAndGivesDpiMinusToRowThree) {
    MainWindow& w = Start();
    Click(B.rowBox(3));
    const int list = RowListId(3);
    const Rect item6{1, 103, 208, 120}; // where the shell shows item 6 inside the list

    w.OnListPointer(list, kFnDpiSwitch, item6);
    EXPECT_EQ(window.highlighted[list], 6);
    ASSERT_TRUE(window.listExists(kDpiSubListId));
    EXPECT_EQ(window.listBoxes[kDpiSubListId], (Rect{460, 357, 520, 417}));
    EXPECT_EQ(window.lists[kDpiSubListId], (std::vector<std::string>{"DPI +", "DPI -", "DPI Loop"}));

    w.OnListPointer(list, 4, {1, 69, 208, 86});
    EXPECT_EQ(window.highlighted[list], 4);
    EXPECT_FALSE(window.listExists(kDpiSubListId));

    // "DPI Switch" itself chooses nothing: the list stays for the sub-list.
    w.OnListChoice(list, kFnDpiSwitch);
    EXPECT_TRUE(window.listExists(list));
    EXPECT_EQ(w.working().modeA.field(kFieldFunction, 2), kFnMidClick);

    w.OnListPointer(list, kFnDpiSwitch, item6);
    w.OnListPointer(kDpiSubListId, 1, {1, 20, 58, 39});
    EXPECT_EQ(window.highlighted[kDpiSubListId], 1);
    TakeOps();
    w.OnListChoice(kDpiSubListId, 1);
    EXPECT_EQ(w.working().modeA.field(kFieldFunction, 2), kFnDpiSwitch);
    EXPECT_EQ(w.working().dpiSwitchChoiceA[2], 2);
    EXPECT_EQ(w.working().modeB.field(kFieldFunction, 2), kFnMidClick);
    EXPECT_EQ(w.working().dpiSwitchChoiceB[2], 0);
    EXPECT_EQ(w.labels()[0][2], "DPI -");
    EXPECT_FALSE(window.listExists(list));
    EXPECT_FALSE(window.listExists(kDpiSubListId));
    EXPECT_TRUE(Drew(TakeOps(), "text DPI - in 272,232"));
}

TEST_F(BasicPageTest, ModeSwitchRedrawsOnlyTheRowBoxesAndTheModeButtons) {
    MainWindow& w = Start();
    w.labels()[1][0] = "B-Left";
    Click(B.rowBox(7)); // a list a click elsewhere leaves open
    TakeOps();
    Click(B.modeB.rect);
    EXPECT_EQ(w.working().selectedButtonSet, 1);
    std::vector<std::string> expected{"image button-normal.png at 253,518", "text Mode A in 253,518",
                                      "image button-over.png at 357,518", "text Mode B in 357,518"};
    for (int row = 1; row <= 8; ++row) {
        const std::string at = "252," + std::to_string(186 + 23 * (row - 1));
        expected.push_back("image DropdownBox-normal.png at " + at);
        expected.push_back("text " + std::to_string(row) + " in " + at);
        expected.push_back("text " + w.labels()[1][static_cast<std::size_t>(row - 1)] + " in 272," +
                           std::to_string(186 + 23 * (row - 1)));
    }
    EXPECT_EQ(TakeOps(), expected);
    EXPECT_EQ(expected[6], "text B-Left in 272,186");
    EXPECT_TRUE(window.listExists(RowListId(7)));

    Click(B.modeA.rect);
    EXPECT_EQ(w.working().selectedButtonSet, 0);
    EXPECT_TRUE(Drew(TakeOps(), "image button-over.png at 253,518"));
}

TEST_F(BasicPageTest, DefaultResetsButtonsZeroToEightOfBothModesAndNothingElse) {
    MainWindow& w = Start();
    DeviceConfig& c = w.working();
    c.selectedButtonSet = 1;
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kButtonCount; ++button) {
            c.buttonSet(mode).field(kFieldFunction, button) = kFnMacroKey;
            c.buttonSet(mode).field(kFieldMacroPosition, button) = 5;
        }
    }
    c.dpiSwitchChoiceB[5] = 3;
    w.labels()[0][10] = "kept";
    DeviceConfig expected = c;
    for (int mode = 0; mode < 2; ++mode) {
        const int functions[] = {0, 1, 2, 3, 4, 6, 6, 5, 15};
        for (int button = 0; button < 9; ++button) {
            expected.buttonSet(mode).field(kFieldFunction, button) = static_cast<Byte>(functions[button]);
        }
        expected.dpiSwitchChoice(mode)[5] = 1;
        expected.dpiSwitchChoice(mode)[6] = 2;
    }
    TakeOps();
    Click(B.defaultButton.rect);
    EXPECT_EQ(c, expected);
    EXPECT_EQ(w.labels()[0][5], "DPI +");
    EXPECT_EQ(w.labels()[1][6], "DPI -");
    EXPECT_EQ(w.labels()[1][8], "Key Off");
    EXPECT_EQ(w.labels()[0][10], "kept");
    const auto ops = TakeOps();
    EXPECT_TRUE(Drew(ops, "text DPI + in 272,301"));
    EXPECT_TRUE(Drew(ops, "image button-over.png at 357,518")) << "Mode B stays the shown mode";
}

TEST_F(BasicPageTest, AClickElsewhereClosesTheListsOfRowsOneToSixButNotSevenAndEight) {
    MainWindow& w = Start();
    w.working().modeA.field(kFieldFunction, 9) = kFnLeftClick; // so that row 1 may open too
    for (int row = 1; row <= 8; ++row) {
        SCOPED_TRACE(row);
        Click(B.rowBox(row));
        w.OnListPointer(RowListId(row), kFnDpiSwitch, {1, 103, 208, 120});
        ASSERT_TRUE(window.listExists(RowListId(row)));
        ASSERT_TRUE(window.listExists(kDpiSubListId));
        Click(kEmpty);
        EXPECT_EQ(window.listExists(RowListId(row)), row >= 7);
        EXPECT_FALSE(window.listExists(kDpiSubListId))
            << "the sub-list closes on every click outside the lists";
        EXPECT_EQ(window.moves.size(), 1u) << "the click still moves the window";
        if (row >= 7) {
            Click(B.rowBox(row));
            EXPECT_FALSE(window.listExists(RowListId(row))) << "its own box closes it";
        }
        window.moves.clear();
    }
}

TEST_F(BasicPageTest, AClickElsewhereClosesTheLightingListsAndTheStageChooser) {
    Start();
    const struct {
        Rect box;
        int list;
    } dropDowns[] = {{B.lightingModeField, 38}, {B.lightingParameterField, 39}, {B.dpiStageChooser, 36}};
    for (const auto& d : dropDowns) {
        Click(d.box);
        EXPECT_TRUE(window.listExists(d.list));
        Click(d.box);
        EXPECT_FALSE(window.listExists(d.list)) << "a second click closes it";
        Click(d.box);
        Click(kEmpty);
        EXPECT_FALSE(window.listExists(d.list));
    }
}

TEST_F(BasicPageTest, ClicksOnTheRightAndBottomEdgesMiss) {
    MainWindow& w = Start();
    const DeviceConfig before = w.working();
    const Point edges[] = {
        {463, 190}, // row box 1, right edge
        {300, 207}, // row box 1, bottom edge
        {412, 555}, // Default, right edge
        {350, 570}, // Default, bottom edge
        {612, 208}, // 125 Hz segment, right edge
        {600, 215}, // 125 Hz segment, bottom edge
        {570, 520}, // DPI stage 1 cell 1, right edge
        {560, 534}, // DPI stage 1 cell 1, bottom edge
        {719, 445}, // loop tick box 1, right edge
        {710, 456}, // loop tick box 1, bottom edge
        {851, 335}, // mode field, right edge
    };
    for (const Point p : edges) {
        Click(p);
    }
    EXPECT_EQ(window.moves.size(), std::size(edges)) << "every edge click moved the window";
    EXPECT_TRUE(window.lists.empty());
    EXPECT_EQ(w.working(), before);

    // The left and top edges belong to the rectangle.
    Click(Point{252, 209});
    EXPECT_TRUE(window.listExists(RowListId(2)));
    Click(Point{542, 204});
    EXPECT_EQ(w.working().reportRate, 8);
}

// --- Report rate and DPI -------------------------------------------------------------

TEST_F(BasicPageTest, TheSelectedRateSegmentRedrawsNothingAnotherMovesTheLight) {
    MainWindow& w = Start();
    ASSERT_EQ(w.working().reportRate, 1);
    TakeOps();
    const int presents = window.picture.presents;
    Click(B.reportRateSegment(3)); // 1000 Hz, already selected
    EXPECT_TRUE(TakeOps().empty());
    EXPECT_EQ(window.picture.presents, presents);
    EXPECT_EQ(w.working().reportRate, 1);

    const struct {
        int segment;
        Byte rate;
        const char* lit;
        const char* darkened;
    } cases[] = {{0, 8, "542,204", "758,204"}, {1, 4, "614,204", "542,204"}, {2, 2, "686,204", "614,204"}};
    for (const auto& c : cases) {
        Click(B.reportRateSegment(c.segment));
        EXPECT_EQ(w.working().reportRate, c.rate);
        EXPECT_EQ(TakeOps(),
                  (std::vector<std::string>{std::string("image slider-RP-light.png at ") + c.lit,
                                            std::string("image slider-RP-dark.png at ") + c.darkened}));
    }
}

TEST_F(BasicPageTest, TheLastEnabledDpiStageRefusesToTurnOff) {
    MainWindow& w = Start();
    DeviceConfig& c = w.working();
    c.dpiStageEnabled = {0, 1, 0, 0, 1, 1, 1, 1}; // stages 5-8 never reach the mouse enabled
    TakeOps();
    Click(B.dpiStageTickBox(1));
    EXPECT_EQ(c.dpiStageEnabled[1], 1);
    EXPECT_TRUE(TakeOps().empty());

    c.dpiValueIndex[2] = 2;
    Click(B.dpiStageTickBox(2));
    EXPECT_EQ(c.dpiStageEnabled[2], 1);
    auto ops = TakeOps();
    EXPECT_EQ(ops.front(), "image PaneMakingTick.png at 608,541");
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "image slider-DPI-light.png at 608,518") +
                  std::count(ops.begin(), ops.end(), "image slider-DPI-light.png at 608,500") +
                  std::count(ops.begin(), ops.end(), "image slider-DPI-light.png at 608,482"),
              3);
    EXPECT_TRUE(Drew(ops, "image slider-DPI-dark.png at 608,464"));

    Click(B.dpiStageTickBox(1));
    EXPECT_EQ(c.dpiStageEnabled[1], 0);
    ops = TakeOps();
    EXPECT_EQ(ops.front(), "image Pane.png at 581,541");
    EXPECT_EQ(std::count_if(ops.begin(), ops.end(),
                            [](const std::string& op) { return op.find("light") != std::string::npos; }),
              0);
}

TEST_F(BasicPageTest, TheDpiScaleFollowsTheSensorType) {
    const struct {
        Byte sensorType;
        std::size_t count;
        const char* lowest;
        const char* highest;
        int cellAboveScale; // a cell all columns have, past this sensor's scale
    } cases[] = {
        {1, 8, "text 600 in 494,518", "text 3200 in 494,392", 9},
        {0, 12, "text 250 in 514,518", "text 4000 in 514,320", 13},
        {5, 12, "text 250 in 514,518", "text 4000 in 514,320", 13},
    };
    MainWindow& w = Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.sensorType));
        mouse.setSensorType(c.sensorType);
        device.SyncSensorInfo(); // as when this mouse arrives
        TakeOps();
        Redraw();
        const auto ops = TakeOps();
        EXPECT_TRUE(Drew(ops, c.lowest));
        EXPECT_TRUE(Drew(ops, c.highest));
        EXPECT_EQ(static_cast<std::size_t>(page->dpi().dpiCount()), c.count);
        const auto cells = std::count_if(ops.begin(), ops.end(), [](const std::string& op) {
            return op.find("slider-DPI-") != std::string::npos;
        });
        EXPECT_EQ(static_cast<std::size_t>(cells), 4 * c.count + 4)
            << "four columns and the four colour switches";

        Click(B.dpiCell(0, 1));
        EXPECT_EQ(w.working().dpiValueIndex[0], 0) << "cell 1 is the lowest DPI";
        Click(B.dpiCell(3, static_cast<int>(c.count)));
        EXPECT_EQ(w.working().dpiValueIndex[3], c.count - 1);
        if (c.cellAboveScale <= 12) {
            TakeOps();
            Click(B.dpiCell(3, c.cellAboveScale));
            EXPECT_EQ(w.working().dpiValueIndex[3], c.count - 1) << "a cell above the scale is ignored";
            EXPECT_TRUE(TakeOps().empty());
            EXPECT_TRUE(window.moves.empty()) << "yet it is a control, not the background";
        }
    }
}

// A mouse with a shorter scale may arrive after the page drew twelve cells:
// its cells 9 to 12 are no level of that mouse.
TEST_F(BasicPageTest, ACellPastTheScaleOfAMouseThatArrivedLaterIsIgnored) {
    mouse.setSensorType(0);
    MainWindow& w = Start();
    ASSERT_EQ(page->dpi().dpiCount(), 12);
    mouse.setSensorType(1);
    device.SyncSensorInfo();
    Click(B.dpiCell(0, 10));
    EXPECT_EQ(w.working().dpiValueIndex[0], 1) << "unchanged";
    Click(B.dpiCell(0, 8));
    EXPECT_EQ(w.working().dpiValueIndex[0], 7);
}

TEST_F(BasicPageTest, ACellClickLightsTheColumnUpToItWhateverTheStageFlag) {
    mouse.setSensorType(1);
    MainWindow& w = Start();
    w.working().dpiStageEnabled[1] = 0;
    TakeOps();
    Click(B.dpiCell(1, 3));
    EXPECT_EQ(w.working().dpiValueIndex[1], 2);
    std::vector<std::string> expected;
    for (int cell = 1; cell <= 8; ++cell) {
        expected.push_back(std::string(cell <= 3 ? "image slider-DPI-light.png at 581,"
                                                 : "image slider-DPI-dark.png at 581,") +
                           std::to_string(518 - 18 * (cell - 1)));
    }
    EXPECT_EQ(TakeOps(), expected);
}

TEST_F(BasicPageTest, ColourSwitchThreeOfStageFourFlipsBitSixOfByte2018) {
    MainWindow& w = Start();
    w.working().dpiStageColourSwitches = {0x00, 0x0F};
    Click(B.dpiStageChooser);
    EXPECT_EQ(window.lists[36],
              (std::vector<std::string>{"DPI Stage1", "DPI Stage2", "DPI Stage3", "DPI Stage4"}));
    TakeOps();
    w.OnListChoice(36, 3);
    EXPECT_FALSE(window.listExists(36));
    EXPECT_EQ(page->dpi().shownColourStage(), 3);
    auto ops = TakeOps();
    EXPECT_LT(IndexOf(ops, "image 85 at 741,510"), IndexOf(ops, "text DPI Stage4 in 745,510"))
        << "the background under the chooser wipes the old stage's name first";
    EXPECT_TRUE(Drew(ops, "image slider-DPI-dark.png at 789,540")) << "stage 4 has no switch on yet";

    Click(B.dpiColourSwitch(2));
    EXPECT_EQ(w.working().dpiStageColourSwitches[1], 0x4F);
    EXPECT_EQ(w.working().bytes()[2018], 0x4F);
    EXPECT_EQ(TakeOps(), std::vector<std::string>{"image slider-DPI-light.png at 789,540"});
    Click(B.dpiColourSwitch(2));
    EXPECT_EQ(w.working().bytes()[2018], 0x0F);
    EXPECT_EQ(w.working().bytes()[2017], 0x00);
}

// --- Lighting ------------------------------------------------------------------------

TEST_F(BasicPageTest, LightingTexts) {
    EXPECT_EQ(ModeName(Language::kEnglish, 3), "Neon Mode");
    EXPECT_EQ(ModeName(Language::kEnglish, 0), "Off Mode");
    EXPECT_EQ(ModeName(Language::kEnglish, 4), "");
    const struct {
        int mode, index;
        std::string_view text;
    } cases[] = {{1, 0, "5%"},   {1, 9, "100%"}, {1, 10, ""},    {2, 0, "8S"}, {2, 4, "4S"}, {2, 5, ""},
                 {3, 0, "0.5S"}, {3, 2, "1.5S"}, {3, 29, "15S"}, {3, 30, ""},  {0, 2, ""},   {7, 0, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(ParameterText(c.mode, c.index), c.text) << c.mode << "/" << c.index;
    }
    EXPECT_EQ(ParameterEntries(0).size(), 30u) << "the Neon periods for the Off mode";
}

TEST_F(BasicPageTest, ChoosingNeonShowsItsStoredPeriod) {
    MainWindow& w = Start();
    w.working().neonPeriod = 2;
    Click(B.lightingModeField);
    EXPECT_EQ(window.listBoxes[38], (Rect{766, 347, 851, 407}));
    EXPECT_EQ(window.lists[38], (std::vector<std::string>{"Standard Mode", "Respiration Mode", "Neon Mode"}));
    TakeOps();
    w.OnListChoice(38, 2);
    EXPECT_EQ(w.working().lightingMode, 3);
    EXPECT_FALSE(window.listExists(38));
    EXPECT_EQ(TakeOps(),
              (std::vector<std::string>{"image dropdownbox.png at 766,329", "text Neon Mode in 770,329",
                                        "image dropdownbox.png at 766,359", "text 1.5S in 770,359"}));
    w.OnListChoice(38, -1);
    EXPECT_EQ(w.working().lightingMode, 3) << "no selection changes nothing";
}

TEST_F(BasicPageTest, TheRespirationListHasFivePeriodsAndStoresTheChoice) {
    MainWindow& w = Start();
    w.working().lightingMode = 2;
    Click(B.lightingParameterField);
    EXPECT_EQ(window.listBoxes[39], (Rect{766, 377, 851, 467}));
    EXPECT_EQ(window.lists[39], (std::vector<std::string>{"8S", "7S", "6S", "5S", "4S"}));
    w.OnListChoice(39, 3);
    EXPECT_EQ(w.working().respirationPeriod, 3);
    EXPECT_EQ(w.working().neonPeriod, 0);
    EXPECT_FALSE(window.listExists(39));

    w.working().lightingMode = 0;
    Click(B.lightingParameterField);
    EXPECT_EQ(window.lists[39].size(), 30u);
    const DeviceConfig before = w.working();
    w.OnListChoice(39, 5);
    EXPECT_EQ(w.working(), before) << "the Off mode has no parameter to store";
}

TEST_F(BasicPageTest, OnlyAnEnabledSlotsSwatchOpensTheColourChooser) {
    MainWindow& w = Start();
    TakeOps();
    w.working().loopColourEnabled[3] = 0;
    window.chosenColour = Colour{0xFF, 0x00, 0x00};
    Click(B.loopColourSwatch(3).rect);
    EXPECT_TRUE(window.colourChooserOpenedWith.empty());
    EXPECT_TRUE(window.moves.empty());

    Click(B.loopColourTickBox(3));
    EXPECT_EQ(w.working().loopColourEnabled[3], 1);
    EXPECT_EQ(TakeOps(), std::vector<std::string>{"image PaneMakingTick.png at 766,440"});
    const Rgb was = w.working().loopColours[3];
    Click(B.loopColourSwatch(3).rect);
    EXPECT_EQ(window.colourChooserOpenedWith, (std::vector<Colour>{Colour{was.red, was.green, was.blue}}))
        << "the chooser starts from the slot's colour";
    const auto bytes = w.working().bytes();
    EXPECT_EQ((std::vector<Byte>(bytes.begin() + 2002, bytes.begin() + 2005)),
              (std::vector<Byte>{0xFF, 0x00, 0x00}));
    EXPECT_EQ(TakeOps(), std::vector<std::string>{"fill 255,0,0 in 766,420"});

    window.chosenColour.reset(); // cancelled
    Click(B.loopColourSwatch(3).rect);
    EXPECT_EQ(w.working().loopColours[3].red, 0xFF);
    EXPECT_TRUE(TakeOps().empty());

    Click(B.loopColourTickBox(3));
    EXPECT_EQ(w.working().loopColourEnabled[3], 0);
    EXPECT_EQ(TakeOps(), std::vector<std::string>{"image Pane.png at 766,440"});
}

// --- Hover, lists under the pointer, leaving -------------------------------------------

TEST_F(BasicPageTest, HoverMovesFromOneRowBoxToTheNext) {
    MainWindow& w = Start();
    TakeOps();
    w.OnMouseMove(Inside(B.rowBox(2)));
    // The box is drawn on its part of the page background (211 px wide).
    EXPECT_EQ(TakeOps(),
              (std::vector<std::string>{"image 211 at 252,209", "image DropdownBox-over.png at 252,209",
                                        "text 2 in 252,209", "text Right Click in 272,209"}));
    w.OnMouseMove(Inside(B.rowBox(3)));
    const auto ops = TakeOps();
    EXPECT_TRUE(Drew(ops, "image DropdownBox-over.png at 252,232"));
    EXPECT_TRUE(Drew(ops, "image DropdownBox-normal.png at 252,209"));
    EXPECT_FALSE(Drew(ops, "image DropdownBox-over.png at 252,209"));

    w.OnMouseMove(Inside(B.defaultButton.rect));
    EXPECT_TRUE(Drew(TakeOps(), "image button-over.png at 307,549"));
    w.OnMouseMove(kEmpty);
    const auto restored = TakeOps();
    EXPECT_TRUE(Drew(restored, "image button-normal.png at 307,549"));
    EXPECT_TRUE(Drew(restored, "image DropdownBox-normal.png at 252,232"))
        << "a row box and Default are not one group";
}

TEST_F(BasicPageTest, TheEntryUnderThePointerIsHighlightedInEveryOpenList) {
    MainWindow& w = Start();
    Click(B.lightingModeField);
    w.OnListPointer(38, 1, {1, 21, 83, 41});
    EXPECT_EQ(window.highlighted[38], 1);
    w.OnListPointer(38, -1, {});
    EXPECT_EQ(window.highlighted[38], 1) << "between entries nothing changes";
    w.OnListPointer(41, 3, {}); // a list that is not open
    EXPECT_EQ(window.highlighted.count(41), 0u);
    EXPECT_FALSE(window.listExists(kDpiSubListId));
}

TEST_F(BasicPageTest, LeavingThePageDestroysAllItsLists) {
    MainWindow& w = Start();
    Click(B.rowBox(8));
    Click(B.lightingModeField);
    w.OnListPointer(RowListId(8), kFnDpiSwitch, {1, 103, 208, 120});
    ASSERT_EQ(window.lists.size(), 3u);
    w.DrawAdvancedPage();
    EXPECT_TRUE(window.lists.empty());
    w.DrawBasicPage();
    Click(B.rowBox(8));
    EXPECT_TRUE(window.listExists(RowListId(8))) << "the row's flag was cleared with its list";
}

// A selector byte other than 0 and 1 in config.bin shows Mode B, the key
// configuration the mouse gets for it, instead of failing on a third mode.
TEST_F(BasicPageTest, ASelectorByteAboveOneShowsModeB) {
    DeviceConfig config = FactoryDeviceConfig();
    config.selectedButtonSet = 7;
    SetConfigBin(config, 1);
    MainWindow& w = Start();
    w.labels()[1][1] = "B";
    Redraw();
    EXPECT_TRUE(Drew(TakeOps(), "text B in 272,209"));
    Click(B.rowBox(2));
    w.OnListChoice(RowListId(2), kFnForward);
    EXPECT_EQ(w.working().modeB.field(kFieldFunction, 1), kFnForward);
    EXPECT_EQ(w.labels()[1][1], "Forward");
}

} // namespace
} // namespace quorvel
