#include <gtest/gtest.h>

#include <cerrno>
#include <deque>

#include "app/device_event_relay.h"
#include "app/dpi_levels.h"
#include "app/factory_settings.h"
#include "app/main_window.h"
#include "dialogs/dialog_fixture.h"
#include "hid/sim/simulated_mouse.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

constexpr Point kOk{520, 615};
constexpr Point kApply{620, 615};
constexpr Point kCancel{725, 615};
constexpr Point kMinimise{830, 10};
constexpr Point kEmpty{5, 300};
constexpr std::string_view kCannotBeSaved =
    "Settings cannot be saved in this folder; what is missing there is "
    "read from the factory files, and nothing there is changed.";

// Tasks the relay posts to the interface thread; the test runs them.
struct TaskQueue {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::function<void()>> tasks;
    void post(std::function<void()> task) {
        std::lock_guard lock(mutex);
        tasks.push_back(std::move(task));
        arrived.notify_all();
    }
    // Runs the tasks that arrive within the time-out; false when none did.
    bool runOne() {
        std::unique_lock lock(mutex);
        if (!arrived.wait_for(lock, std::chrono::seconds(5), [&] { return !tasks.empty(); })) {
            return false;
        }
        auto task = std::move(tasks.front());
        tasks.pop_front();
        lock.unlock();
        task();
        return true;
    }
};

struct MainWindowTest : ::testing::Test {
    MemoryFileSystem files;
    RecordingMessages messages;
    FakeWindow window;
    FakeTray tray;
    FakeApplication application;
    FakeDecoder decoder{files};
    FakeInstance instance;
    FakeAutostart autostart;
    SimulatedMouse mouse;
    TaskQueue tasks;
    DeviceEventRelay relay{[this](std::function<void()> task) { tasks.post(std::move(task)); }};
    DeviceController device{mouse, mouse.clock(), relay};
    std::unique_ptr<MainWindow> main;

    void SetUp() override {
        files.files["/d/config.bin"] = FactoryConfigBin();
        files.files["/d/str.ini"] = FactoryStrIni();
        const std::pair<const char*, int> images[] = {
            {"main.png", 880},       {"BasicSet2.png", 881},          {"AdvancedSet2.png", 882},
            {"button-normal.png", 105}, {"button-over.png", 106},     {"button-min-normal.png", 18},
            {"button-min-over.png", 19}, {"button-close-normal.png", 20}, {"button-close-over.png", 21},
            {"button-Skins-normal.png", 22}, {"button-Skins-over.png", 23}, {"button-PrePage-normal.png", 40},
            {"button-PrePage-over.png", 41}, {"button-NextPage-normal.png", 42}, {"button-NextPage-over.png", 43},
        };
        for (const auto& [name, width] : images) {
            files.files[std::string("/d/Skins/Default/") + name] = std::to_string(width) + " 20 1";
            window.picture.imageNames[width] = name;
        }
        files.files["/d/Skins/Default/main.png"] = "880 640 0";
        // The Skins dialog's background: a skin without its own is not taken.
        files.files["/d/Skins/Default/skins.png"] = "388 286 0";
        window.picture.imageNames[388] = "skins.png";
        device.setTransferTimeout(std::chrono::milliseconds(50));
    }
    void TearDown() override {
        relay.stop();
        device.CloseDeviceLink();
    }
    MainWindow& Start(std::uint16_t langId = 0x409, StartedBy by = StartedBy::User) {
        main = std::make_unique<MainWindow>(
            MainWindowPorts{files, messages, window, tray, application, decoder, instance, autostart}, device,
            DataPathsIn("/d", "/d/quorvel"), langId);
        relay.setTarget(*main);
        EXPECT_EQ(main->Start([] {}, by), MainWindow::StartResult::Running);
        return *main;
    }
};

TEST_F(MainWindowTest, StartsHiddenWithTheMousePresentAndDrawsTheBasicPage) {
    MainWindow& w = Start();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(tray.iconShown);
    EXPECT_EQ(tray.tip, "Gaming mouse setting");
    EXPECT_EQ(tray.balloons, (std::vector<Balloon>{{"The system detect the gaming mouse.", "Info", 5000}}));
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(window.width, 880);
    EXPECT_EQ(window.height, 640);
    EXPECT_EQ(window.textFont.face, "Arial");
    EXPECT_EQ(window.titleFont.face, "Tahoma");
    EXPECT_EQ(w.currentPage(), Page::Basic);
    EXPECT_TRUE(window.picture.drew("image BasicSet2.png at 0,0"));
    EXPECT_TRUE(window.picture.drew("title Basic Settings in 120,50"));
    EXPECT_TRUE(window.picture.drew("text OK in 513,609"));
    EXPECT_EQ(window.picture.presents, 1) << "the page reaches the window in one copy";
    EXPECT_EQ(w.working(), w.saved());
    EXPECT_EQ(w.working().reportRate, 1) << "config.bin was loaded";
}

// The window's background lies under the Basic page's: where the page
// background covers it whole, only its size is read and it is not decoded.
struct CoveredBackground {
    const char* what;
    const char* page;
    bool mainDecoded;
};
struct CoveredBackgroundTest : MainWindowTest, ::testing::WithParamInterface<CoveredBackground> {};

TEST_P(CoveredBackgroundTest, TheWindowBackgroundIsDecodedOnlyWhereThePageLeavesSomeOfItInSight) {
    decoder.headers = true;
    files.files["/d/Skins/Default/BasicSet2.png"] = GetParam().page;
    Start();
    EXPECT_EQ(std::ranges::count(decoder.decoded, "/d/Skins/Default/main.png"), GetParam().mainDecoded ? 1 : 0);
    EXPECT_EQ(window.picture.drew("image main.png at 0,0"), GetParam().mainDecoded);
    EXPECT_TRUE(window.picture.drew("image BasicSet2.png at 0,0"));
    EXPECT_EQ(std::ranges::count(decoder.decoded, "/d/Skins/Default/skins.png"), 0)
        << "the skin is judged by its images' headers";
    EXPECT_EQ(window.width, 880);
    EXPECT_EQ(window.height, 640);
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindowTest, CoveredBackgroundTest,
                         ::testing::Values(CoveredBackground{"opaque, as large", "881 640 0", false},
                                           CoveredBackground{"opaque, larger", "881 700 0", false},
                                           CoveredBackground{"with alpha", "881 640 1", true},
                                           CoveredBackground{"opaque, less high", "881 20 0", true}));

TEST_F(MainWindowTest, WithoutTheMouseOneWarningNothingDrawnAndTheTrayOnlyWarns) {
    mouse.unplug();
    MainWindow& w = Start();
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{"The system did not detect the gaming mouse!", "Warning"}}));
    EXPECT_EQ(w.currentPage(), Page::None);
    EXPECT_EQ(window.picture.count("image BasicSet2"), 0);
    tray.balloons.clear();
    w.OnTray(TrayAction::LeftUp);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(tray.balloons, (std::vector<Balloon>{{"The system did not detect the gaming mouse!", "Warning", 5000}}));
    // OK and Apply do nothing without the mouse.
    window.shown = true;
    const auto transfers = mouse.transfers().size();
    w.OnLeftButtonDown(kOk);
    w.OnLeftButtonDown(kApply);
    EXPECT_TRUE(window.shown);
    EXPECT_EQ(mouse.transfers().size(), transfers);
}

// A str.ini that is there but cannot be read is told, and the window still
// gets a skin.
TEST_F(MainWindowTest, AStrIniThatCannotBeReadIsToldAndLeftAlone) {
    files.unreadable.insert("/d/str.ini");
    const std::string strIni = files.files["/d/str.ini"];
    Start();
    const DataPaths paths = DataPathsIn("/d");
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{
                  {paths.strIni.string() +
                       ": cannot be read: Permission denied\nThe button labels and the skin settings start empty.",
                   "Quorvel Gaming Mouse"},
                  {paths.skinRoots.front().string() + " holds no skin; the Default skin is used.",
                   "Quorvel Gaming Mouse"}}));
    EXPECT_EQ(files.files["/d/str.ini"], strIni);
    EXPECT_EQ(window.width, 880) << "the Default skin is drawn";
}

// The same in Chinese: the program's words are in the interface language,
// the path and the system's reason stay as they are.
TEST_F(MainWindowTest, FileErrorsAreToldInTheInterfaceLanguage) {
    files.unreadable.insert("/d/str.ini");
    Start(0x404);
    const DataPaths paths = DataPathsIn("/d");
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{
                  {paths.strIni.string() + ": 無法讀取：Permission denied\n按鍵名稱和皮膚設定從空白開始。",
                   "Quorvel Gaming Mouse"},
                  {paths.skinRoots.front().string() + " 中沒有皮膚；將使用預設皮膚。", "Quorvel Gaming Mouse"}}));
}

TEST_F(MainWindowTest, ASkinFolderWithoutASkinFallsBackToDefaultAndSaysSoOnce) {
    files.files["/d/str.ini"] = "[Skins]\nRColor=255\nPath=Gone\n";
    MainWindow& w = Start();
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{{(DataPathsIn("/d").skinRoots.front() / "Gone").string() +
                                              " holds no skin; the Default skin is used.",
                                          "Quorvel Gaming Mouse"}}));
    EXPECT_EQ(w.skinFolder(), "/d/Skins/Default");
    EXPECT_EQ(window.width, 880);
    w.OnLeftButtonDown(kCancel);
    EXPECT_EQ(messages.shown.size(), 1u);
}

// A skin whose own images do not decode would start as a blank window with
// no way to another skin: the Default skin is drawn instead, and the user is
// told which skin and why.
struct BrokenSkin {
    const char* image;
    const char* content; // nullptr: the file is missing
    const char* why;
};
void PrintTo(const BrokenSkin& skin, std::ostream* out) {
    *out << skin.image
         << (skin.content == nullptr ? " missing" : " holding \"" + std::string(skin.content) + "\"");
}
struct SkinFallbackTest : MainWindowTest, ::testing::WithParamInterface<BrokenSkin> {};

TEST_P(SkinFallbackTest, ASkinItCannotDrawFallsBackToDefaultAndSaysWhy) {
    for (const auto& [path, content] : std::map(files.files)) {
        if (path.parent_path() == "/d/Skins/Default") {
            files.files["/d/Skins/Broken" / path.filename()] = content;
        }
    }
    const std::filesystem::path image =
        SkinImagePath(DataPathsIn("/d").skinRoots.front() / "Broken", std::string("/") + GetParam().image);
    if (GetParam().content == nullptr) {
        files.files.erase(image);
    } else {
        files.files[image] = GetParam().content;
    }
    files.files["/d/str.ini"] = "[Skins]\nPath=Broken\n";
    MainWindow& w = Start();
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{
                                  {image.string() + ": " + GetParam().why +
                                       "\nThe skin \"Broken\" cannot be drawn; the Default skin is used.",
                                   "Quorvel Gaming Mouse"}}));
    EXPECT_EQ(w.skinFolder(), "/d/Skins/Default");
    EXPECT_EQ(w.skinName(), "Default") << "the Skins dialog opens on the skin drawn";
    EXPECT_EQ(window.width, 880);
    EXPECT_TRUE(window.picture.drew("image main.png at 0,0"));
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowTest, SkinFallbackTest,
    ::testing::Values(BrokenSkin{"main.png", "not a picture",
                                 "not an image this program can read (damaged, cut short or no PNG)"},
                      BrokenSkin{"main.png", "20000 20000 0",
                                 "20000 × 20000 pixels, more than the 4096 × 4096 an image may have"},
                      BrokenSkin{"skins.png", nullptr, "no such file"},
                      BrokenSkin{"skins.png", "",
                                 "not an image this program can read (damaged, cut short or no PNG)"}));

// Without a background to draw from, not even the Default skin's, the window
// would be one pixel and say nothing: the start says which image and why,
// and ends.
struct NoBackgroundTest : MainWindowTest, ::testing::WithParamInterface<BrokenSkin> {};

TEST_P(NoBackgroundTest, TheStartSaysWhichImageAndEnds) {
    const std::filesystem::path background =
        SkinImagePath(DataPathsIn("/d").skinRoots.front() / "Default", "/main.png");
    if (GetParam().content == nullptr) {
        files.files.erase(background);
    } else {
        files.files[background] = GetParam().content;
    }
    main = std::make_unique<MainWindow>(
        MainWindowPorts{files, messages, window, tray, application, decoder, instance, autostart}, device,
        DataPathsIn("/d", "/d/quorvel"), 0x409);
    relay.setTarget(*main);
    EXPECT_EQ(main->Start([] {}), MainWindow::StartResult::CannotDraw);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back(),
              (ShownMessage{Utf8FromPath(background) + ": " + GetParam().why +
                                "\nThe settings window cannot be drawn without the Default skin's "
                                "background; the program ends.",
                            "Quorvel Gaming Mouse"}));
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, NoBackgroundTest,
    ::testing::Values(BrokenSkin{"main.png", nullptr, "no such file"},
                      BrokenSkin{"main.png", "",
                                 "not an image this program can read (damaged, cut short or no PNG)"}));

TEST_F(MainWindowTest, AMissingConfigBinKeepsItsOldMessage) {
    files.files.erase("/d/config.bin");
    Start();
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{{"Config file is not exist.", "Quorvel Gaming Mouse"}}));
}

// On a full disk the first start cannot copy the factory files: the user
// hears that, not a later "Config file is not exist.".
TEST_F(MainWindowTest, AFailedFirstRunCopyIsToldAsItself) {
    files.files.clear();
    files.files["/usr/share/quorvel/factory/config.bin"] = FactoryConfigBin();
    files.files["/usr/share/quorvel/Skins/Default/main.png"] = "880 640 0";
    files.files["/usr/share/quorvel/Skins/Default/skins.png"] = "388 286 0";
    files.writeError = ENOSPC;
    const DataPaths paths = ResolveDataPaths({"/usr/bin/quorvel", "", "/home/u", false, {}}, files);
    ASSERT_EQ(paths.configBin, "/home/u/.config/quorvel/config.bin");
    main = std::make_unique<MainWindow>(
        MainWindowPorts{files, messages, window, tray, application, decoder, instance, autostart}, device,
        paths, 0x409);
    relay.setTarget(*main);
    ASSERT_EQ(main->Start([] {}), MainWindow::StartResult::Running);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.front(),
              (ShownMessage{paths.configBin.string() + ": cannot be written: No space left on device\n" +
                                std::string(kCannotBeSaved),
                            "Quorvel Gaming Mouse"}));
    EXPECT_EQ(main->working(), FactoryDeviceConfig()) << "the factory file is read in its place";
    for (const ShownMessage& shown : messages.shown) {
        EXPECT_NE(shown.text, "Config file is not exist.");
    }
}

TEST_F(MainWindowTest, ASecondCopyStopsBeforeAnything) {
    instance.first = false;
    for (const StartedBy by : {StartedBy::User, StartedBy::Session}) {
        main = std::make_unique<MainWindow>(
            MainWindowPorts{files, messages, window, tray, application, decoder, instance, autostart}, device,
            DataPathsIn("/d", "/d/quorvel"), 0x409);
        EXPECT_EQ(main->Start([] {}, by), MainWindow::StartResult::AlreadyRunning);
        EXPECT_FALSE(tray.iconShown);
        EXPECT_TRUE(mouse.transfers().empty());
        EXPECT_TRUE(messages.shown.empty());
        // The user's start brings the running copy's window; the session's,
        // at login, leaves it as it is.
        EXPECT_EQ(main->showsRunningCopy(), by == StartedBy::User);
    }
}

// Started by the session at login, the program says what it found of the
// mouse by a notification: no box waits for the user at every login.
TEST_F(MainWindowTest, StartedByTheSessionAMissingMouseIsANotificationNotABox) {
    mouse.unplug();
    Start(0x409, StartedBy::Session);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(tray.balloons,
              (std::vector<Balloon>{{"The system did not detect the gaming mouse!", "Warning", 5000}}));
    EXPECT_TRUE(tray.iconShown);
    EXPECT_FALSE(window.shown);
}

TEST_F(MainWindowTest, StartedByTheSessionAMouseThisUserMayNotOpenIsANotificationToo) {
    SimFaults faults;
    faults.noPermission = true;
    mouse.setFaults(faults);
    Start(0x409, StartedBy::Session);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(tray.balloons.size(), 1u);
    EXPECT_EQ(tray.balloons[0].text, Text(Language::kEnglish, TextId::kMouseNotAllowed));
    EXPECT_EQ(tray.balloons[0].title, "Warning");
}

// Without a notification area the session's start leaves the window in the
// taskbar, minimised; a tray that comes later takes it.
TEST_F(MainWindowTest, StartedByTheSessionWithoutATrayTheWindowWaitsMinimised) {
    tray.hasArea = false;
    MainWindow& w = Start(0x409, StartedBy::Session);
    EXPECT_FALSE(window.shown);
    EXPECT_TRUE(window.minimised);
    EXPECT_TRUE(window.taskbarEntry);
    EXPECT_TRUE(messages.shown.empty());
    window.shown = true; // as the taskbar has a minimised window
    w.OnTrayAppeared();
    EXPECT_TRUE(tray.iconShown);
    EXPECT_FALSE(window.taskbarEntry);
    EXPECT_FALSE(window.shown) << "the tray takes the window no one opened";
}

TEST_F(MainWindowTest, AWindowTheUserOpenedAfterTheSessionsStartStaysWhenATrayComes) {
    tray.hasArea = false;
    MainWindow& w = Start(0x409, StartedBy::Session);
    w.OnActivate(); // the user starts the program from the menu
    EXPECT_TRUE(window.shown);
    w.OnTrayAppeared();
    EXPECT_TRUE(window.shown);
}

// The tray menu's check item shows whether the desktop starts the program
// for this user, as the desktop has it when the menu opens; a click asks for
// the opposite. A change that cannot be saved is told, and the tick stays
// with what the desktop will do.
TEST_F(MainWindowTest, StartWithTheDesktopShowsTheDesktopsChoiceAndAClickTurnsIt) {
    autostart.start = true;
    MainWindow& w = Start();
    EXPECT_EQ(tray.menuShown(), (std::vector<std::string>{"[x] Start with the desktop", "Export settings…",
                                                          "Import settings…", "Exit"}));
    autostart.start = false; // the desktop's own settings turned it off
    w.OnTray(TrayAction::RightUp);
    EXPECT_EQ(tray.menuShown().front(), "[ ] Start with the desktop");

    w.OnTrayMenu(kTrayStartWithDesktopItem);
    EXPECT_TRUE(autostart.start);
    EXPECT_EQ(tray.menuShown().front(), "[x] Start with the desktop");
    w.OnTrayMenu(kTrayStartWithDesktopItem);
    EXPECT_FALSE(autostart.start);
    EXPECT_EQ(tray.menuShown().front(), "[ ] Start with the desktop");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(application.quitting);

    autostart.failure =
        FileError{FileError::Kind::WriteFailed, "/home/u/.config/autostart/q.desktop", EACCES};
    w.OnTrayMenu(kTrayStartWithDesktopItem);
    EXPECT_FALSE(autostart.start);
    EXPECT_EQ(tray.menuShown().front(), "[ ] Start with the desktop");
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{
                  {"The choice of starting with the desktop could not be saved; it stays as it was.\n"
                   "/home/u/.config/autostart/q.desktop: cannot be written: Permission denied",
                   "Quorvel Gaming Mouse"}}));
}

TEST_F(MainWindowTest, TheTrayMenuSpeaksTheLanguage) {
    Start(0x804);
    EXPECT_EQ(tray.menuShown(), (std::vector<std::string>{"[ ] 随桌面启动", "导出设置…", "导入设置…", "退出"}));
}

TEST_F(MainWindowTest, BalloonsOfTheMousesEvents) {
    MainWindow& w = Start();
    w.working().dpiValueIndex[2] = 4; // 1250 on the 12-level scale
    const struct {
        int code, value;
        std::vector<Balloon> balloons;
    } cases[] = {
        {5, 1, {{"Switch report rate into 1000HZ", "Info", 5000}}},
        {5, 2, {{"Switch report rate into 500HZ", "Info", 5000}}},
        {5, 4, {{"Switch report rate into 250HZ", "Info", 5000}}},
        {5, 8, {{"Switch report rate into 125HZ", "Info", 5000}}},
        {5, 3, {}},
        {7, 3, {{"Switch DPI into the third stage " + std::string(DpiLabel(w.sensorType(), 4)), "Info", 5000}}},
        {7, 5, {}},
        {8, 1, {{"Switch to key matrix 1", "Info", 5000}}},
        {8, 2, {{"Switch to key matrix 2", "Info", 5000}}},
        {8, 3, {}},
        {9, 3, {{"Switch to macro key3", "Info", 5000}}},
        {9, 0, {}},
        {14, 0, {{"The system detect the gaming mouse.", "Info", 5000}}},
        {15, 7, {{"The system did not detect the gaming mouse!", "Warning", 5000}}},
        {6, 1, {}},
        {10, 1, {}},
        {13, 1, {}},
    };
    for (const auto& row : cases) {
        tray.balloons.clear();
        w.deliver(static_cast<DeviceEventCode>(row.code), row.value);
        EXPECT_EQ(tray.balloons, row.balloons) << "code " << row.code << " value " << row.value;
    }
}

TEST_F(MainWindowTest, TheMousesButtonsReachTheTrayThroughTheReader) {
    Start();
    tray.balloons.clear();
    mouse.pressKeyConfigurationButton();
    ASSERT_TRUE(tasks.runOne());
    ASSERT_EQ(tray.balloons.size(), 1u);
    EXPECT_EQ(tray.balloons[0].title, "Info");
    EXPECT_EQ(tray.balloons[0].text.rfind("Switch to key matrix", 0), 0u);
}

TEST_F(MainWindowTest, OkAppliesSavesAndHidesApplyKeepsTheWindow) {
    MainWindow& w = Start();
    w.OnTray(TrayAction::LeftUp);
    EXPECT_TRUE(window.shown);
    w.working().reportRate = 8;
    w.OnLeftButtonDown(kApply);
    EXPECT_TRUE(window.shown);
    EXPECT_EQ(mouse.reportRate(), 8);
    EXPECT_EQ(w.saved().reportRate, 8);
    EXPECT_EQ(files.files["/d/config.bin"][0], 1);
    EXPECT_EQ(static_cast<Byte>(files.files["/d/config.bin"][1 + 1925]), 8);
    w.working().reportRate = 2;
    w.OnLeftButtonDown(kOk);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(mouse.reportRate(), 2);
}

TEST_F(MainWindowTest, AnApplyTheLinkBreaksInStillSavesWhatTheUserChose) {
    MainWindow& w = Start();
    w.labels()[0][0] = "Chosen";
    w.working().reportRate = 4;
    SimFaults faults;
    faults.silent = true;
    mouse.setFaults(faults);
    w.OnLeftButtonDown(kApply);
    EXPECT_FALSE(device.connected());
    EXPECT_EQ(static_cast<Byte>(files.files["/d/config.bin"][1 + 1925]), 4);
    EXPECT_NE(files.files["/d/str.ini"].find("Chosen"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, AMouseAnsweringSomethingUnusableIsSaidSoAfterApply) {
    MainWindow& w = Start();
    SimFaults faults;
    faults.answerCode = 0x13;
    mouse.setFaults(faults);
    w.OnLeftButtonDown(kApply);
    EXPECT_FALSE(device.connected());
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{std::string(Text(Language::kEnglish, TextId::kMouseAnswerUnusable)), "Warning"}}));
}

TEST_F(MainWindowTest, AMouseThisUserMayNotOpenIsNamedWithTheUdevRuleNotAsMissing) {
    SimFaults faults;
    faults.noPermission = true;
    mouse.setFaults(faults);
    Start();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Warning");
    EXPECT_NE(messages.shown[0].text.find("70-quorvel.rules"), std::string::npos);
    EXPECT_NE(messages.shown[0].text.find("sudo cp res/udev/70-quorvel.rules /etc/udev/rules.d/"),
              std::string::npos);
    EXPECT_EQ(messages.shown[0].text.find("did not detect"), std::string::npos);

    // The same when it is plugged in again while the program runs.
    messages.shown.clear();
    mouse.unplug();
    mouse.plugIn();
    main->OnDeviceNotices();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Text(Language::kEnglish, TextId::kMouseNotAllowed));
}

// The page is drawn from the saved record as Cancel restores it: the window
// may come back other ways than by the tray (see the pages' own tests).
TEST_F(MainWindowTest, CancelRestoresTheSavedConfigurationAndRedrawsThePageAtOnce) {
    MainWindow& w = Start();
    w.OnTray(TrayAction::LeftUp);
    const Byte mouseRate = mouse.reportRate();
    w.working().reportRate = 4;
    w.labels()[0][0] = "changed";
    const int presents = window.picture.presents;
    window.picture.ops.clear();
    w.OnLeftButtonDown(kCancel);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(w.working(), w.saved());
    EXPECT_EQ(w.labels()[0][0], "") << "labels read again from str.ini";
    EXPECT_EQ(window.picture.presents, presents + 1);
    EXPECT_TRUE(window.picture.drew("image BasicSet2.png at 0,0"));
    w.OnTray(TrayAction::LeftUp);
    EXPECT_TRUE(window.shown);
    EXPECT_EQ(window.picture.presents, presents + 1) << "the tray click only shows it";
    EXPECT_EQ(mouse.reportRate(), mouseRate) << "nothing was sent";
}

// What quorvelctl does to the data folder while the window runs: a macro
// added to record.ini with its slot and loop count in config.bin, and a
// label in str.ini.
struct OutsideChangeTest : MainWindowTest {
    static constexpr std::size_t kSlot0 = 1 + 384; // config.bin offset of the macro table
    static constexpr std::size_t kReportRate = 1 + 1925;

    void AddMacroOutside() {
        std::string bin = files.files.at("/d/config.bin");
        const std::string slot = {'\x00', '\x03', '\x05', '\x04', '\x80', '\x04'}; // loop 3, A down, A up
        bin.replace(kSlot0, slot.size(), slot);
        Write("/d/config.bin", bin);
        Write("/d/record.ini", "[Outside]\nItemCount=3\nItem0=A   Dn\nItem1=50 ms\nItem2=A   Up\n");
    }
    void Write(const char* path, const std::string& text) {
        files.writeAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    std::string Bin() { return files.files.at("/d/config.bin"); }
    std::vector<ShownMessage> Told() {
        return {{std::string(Text(Language::kEnglish, TextId::kSettingsChangedOutside)), "Quorvel Gaming Mouse"}};
    }
};

// The window's Apply never undoes what another program wrote since the
// window read the files: untouched settings follow the files, and the
// user's unapplied changes go over them; a user with such changes is told.
TEST_F(OutsideChangeTest, ApplyKeepsWhatAnotherProgramWroteWithTheUsersChangesOverIt) {
    for (const bool edited : {false, true}) {
        SCOPED_TRACE(edited ? "with unapplied changes" : "without");
        SetUp();
        MainWindow& w = Start();
        w.OnTray(TrayAction::LeftUp);
        messages.shown.clear();
        if (edited) {
            w.working().reportRate = 4;
            w.labels()[0][1] = "Mine"; // Item2
        }
        AddMacroOutside();
        std::string ini = files.files.at("/d/str.ini");
        const std::size_t section = ini.find("[Setting-EN]\n");
        if (section == std::string::npos) {
            ini += "[Setting-EN]\nItem1=Theirs\n";
        } else {
            ini.insert(section + 13, "Item1=Theirs\n");
        }
        Write("/d/str.ini", ini);

        files.writesUnlocked = 0;
        w.OnLeftButtonDown(kApply);
        EXPECT_EQ(files.writesUnlocked, 0) << "Apply writes under the folder's lock";
        EXPECT_EQ(Bin().substr(kSlot0, 6), std::string("\x00\x03\x05\x04\x80\x04", 6)) << "the macro stays";
        EXPECT_EQ(mouse.macroSlot(1)[1], 3) << "and reaches the mouse with its loop count";
        EXPECT_EQ(static_cast<Byte>(Bin()[kReportRate]), edited ? 4 : static_cast<Byte>(FactoryConfigBin()[kReportRate]));
        EXPECT_EQ(w.labels()[0][0], "Theirs");
        EXPECT_NE(files.files.at("/d/str.ini").find("Item1=Theirs"), std::string::npos);
        EXPECT_EQ(files.files.at("/d/str.ini").find("Item2=Mine") != std::string::npos, edited);
        EXPECT_EQ(messages.shown, edited ? Told() : std::vector<ShownMessage>{});
        TearDown();
    }
}

// Shown again from the tray, or cancelled, the window shows what the files
// hold now.
TEST_F(OutsideChangeTest, TheWindowShowsWhatAnotherProgramWroteWhenItComesBackOrIsCancelled) {
    MainWindow& w = Start();
    w.OnTray(TrayAction::LeftUp);
    w.OnLeftButtonDown(kMinimise);
    std::string bin = Bin();
    bin[kReportRate] = 2;
    Write("/d/config.bin", bin);
    const int presents = window.picture.presents;
    w.OnTray(TrayAction::LeftUp);
    EXPECT_EQ(w.working().reportRate, 2);
    EXPECT_EQ(w.saved().reportRate, 2);
    EXPECT_GT(window.picture.presents, presents) << "the page is drawn again";
    EXPECT_TRUE(messages.shown.empty());

    w.working().reportRate = 4;
    AddMacroOutside();
    w.OnLeftButtonDown(kCancel);
    EXPECT_EQ(w.working().reportRate, 2);
    EXPECT_EQ(w.working().macroSlots[0][1], 3) << "Cancel goes back to the files, not to the window's old copy";
    EXPECT_TRUE(messages.shown.empty()) << "the changes Cancel drops are not worth a box";
}

TEST_F(MainWindowTest, EnterEscapeCloseAndMinimiseOnlyHide) {
    MainWindow& w = Start();
    for (int key : {13, 27}) {
        window.shown = true;
        EXPECT_TRUE(w.OnKeyDown(key));
        EXPECT_FALSE(window.shown);
    }
    EXPECT_FALSE(w.OnKeyDown('A'));
    window.shown = true;
    w.OnCloseRequest();
    EXPECT_FALSE(window.shown);
    window.shown = true;
    w.OnLeftButtonDown(kMinimise);
    EXPECT_FALSE(window.shown);
    EXPECT_TRUE(tray.iconShown);
    EXPECT_FALSE(application.quitting);
}

// Hidden in the tray, the window draws and decodes no image; the tray click
// draws it whole again, as the start drew it, from images decoded anew.
TEST_F(MainWindowTest, HiddenInTheTrayItDrawsNoImageUntilShownAndThenTheWholeWindow) {
    MainWindow& w = Start();
    const std::vector<std::string> started = window.picture.ops;
    w.OnTray(TrayAction::LeftUp);
    w.OnWindowHidden(); // in sight: nothing is let go
    window.picture.ops.clear();
    w.OnMouseMove(kOk);
    w.OnMouseMove(kEmpty);
    EXPECT_GT(window.picture.count("image"), 0);
    w.OnLeftButtonDown(kMinimise);
    w.OnWindowHidden();
    window.picture.ops.clear();
    const int decodes = decoder.decodes;
    w.OnMouseMove(kOk);
    w.OnMouseMove(kEmpty);
    EXPECT_EQ(window.picture.count("image"), 0);
    EXPECT_EQ(decoder.decodes, decodes);

    const int presents = window.picture.presents;
    window.picture.ops.clear();
    w.OnTray(TrayAction::LeftUp);
    EXPECT_TRUE(window.shown);
    EXPECT_GT(decoder.decodes, decodes);
    EXPECT_EQ(window.picture.ops, started);
    EXPECT_EQ(window.picture.presents, presents + 1) << "the window reaches the screen in one copy";
}

TEST_F(MainWindowTest, ExitFromTheTrayMenuEndsTheProgram) {
    MainWindow& w = Start();
    EXPECT_EQ(tray.menuShown(), (std::vector<std::string>{"[ ] Start with the desktop", "Export settings…",
                                                          "Import settings…", "Exit"}));
    EXPECT_EQ(tray.menu.back().id, 0) << "Exit keeps the first command";
    w.OnTray(TrayAction::RightUp);
    EXPECT_FALSE(application.quitting) << "the right click only opens the menu";
    w.OnTrayMenu(kTrayExitItem);
    EXPECT_TRUE(application.quitting);
    EXPECT_FALSE(tray.iconShown);
}

TEST_F(MainWindowTest, TheColumnTwoButtonsShareRunsOnlyOneOfThem) {
    MainWindow& w = Start();
    w.OnTray(TrayAction::LeftUp);
    w.working().reportRate = 8;
    w.OnLeftButtonDown({721, 615}); // Apply's right edge is Cancel's left edge
    EXPECT_TRUE(window.shown) << "Apply alone: Cancel would have hidden the window";
    EXPECT_EQ(mouse.reportRate(), 8);
}

TEST_F(MainWindowTest, EmptySpaceMovesTheWindow) {
    MainWindow& w = Start();
    w.OnTray(TrayAction::LeftUp);
    w.OnLeftButtonDown(kEmpty);
    EXPECT_EQ(window.moves, std::vector<Point>{kEmpty});
}

TEST_F(MainWindowTest, HoverMovesWithinTheButtonGroup) {
    MainWindow& w = Start();
    window.picture.ops.clear();
    w.OnMouseMove(kOk);
    EXPECT_TRUE(window.picture.drew("image button-over.png at 513,609"));
    window.picture.ops.clear();
    w.OnMouseMove(kCancel);
    EXPECT_TRUE(window.picture.drew("image button-over.png at 721,609"));
    EXPECT_TRUE(window.picture.drew("image button-normal.png at 513,609"));
    window.picture.ops.clear();
    w.OnMouseMove(kEmpty);
    // The three buttons share pixel columns: they are drawn again together, in order.
    EXPECT_EQ(window.picture.ops,
              (std::vector<std::string>{"image button-normal.png at 513,609", "text OK in 513,609",
                                        "image button-normal.png at 617,609", "text Apply in 617,609",
                                        "image button-normal.png at 721,609", "text Cancel in 721,609"}));
}

// The picture holds the page's background: the whole-window image is not
// kept beside it, and is decoded again, once, only when a part of it is
// drawn again (under a hovered button).
TEST_F(MainWindowTest, TheWholeWindowBackgroundIsDecodedAgainOnlyForAPartDrawnAgain) {
    MainWindow& w = Start();
    const auto decodesOf = [&](const char* name) {
        return std::ranges::count(decoder.decoded, std::filesystem::path("/d/Skins/Default") / name);
    };
    EXPECT_EQ(decodesOf("BasicSet2.png"), 1);
    w.OnTray(TrayAction::LeftUp);
    EXPECT_EQ(decodesOf("BasicSet2.png"), 1) << "showing the drawn picture decodes nothing";
    for (int i = 0; i < 3; ++i) {
        w.OnMouseMove(kOk);
        w.OnMouseMove(kEmpty);
    }
    EXPECT_EQ(decodesOf("BasicSet2.png"), 2) << "the first part drawn again decodes it; later ones find it";

    w.DrawAdvancedPage();
    w.OnMouseMove(kOk);
    w.OnMouseMove(kEmpty);
    EXPECT_EQ(decodesOf("AdvancedSet2.png"), 2);
    EXPECT_EQ(decodesOf("BasicSet2.png"), 2);
    w.DrawBasicPage();
    EXPECT_EQ(decodesOf("BasicSet2.png"), 3) << "a whole page drawn again decodes its background";
}

TEST_F(MainWindowTest, WithoutANotificationAreaTheWindowIsAnOrdinaryWindow) {
    tray.hasArea = false;
    MainWindow& w = Start();
    EXPECT_TRUE(window.shown);
    EXPECT_TRUE(window.taskbarEntry);
    EXPECT_FALSE(tray.iconShown);
    EXPECT_FALSE(w.inTray());
    // Every way of hiding minimises, so the taskbar entry brings it back.
    const std::pair<const char*, std::function<void()>> hides[] = {
        {"Enter", [&] { w.OnKeyDown(13); }},
        {"Escape", [&] { w.OnKeyDown(27); }},
        {"minimise button", [&] { w.OnLeftButtonDown(kMinimise); }},
        {"OK", [&] { w.OnLeftButtonDown(kOk); }},
        {"Cancel", [&] { w.OnLeftButtonDown(kCancel); }},
        {"unplug", [&] { w.hideWindow(); }},
    };
    for (const auto& [name, hide] : hides) {
        window.minimised = false;
        hide();
        EXPECT_TRUE(window.minimised) << name;
        EXPECT_TRUE(window.shown) << name;
    }
    EXPECT_FALSE(application.quitting);
    w.OnCloseRequest();
    EXPECT_TRUE(application.quitting) << "closing the only way in ends the program";
}

TEST_F(MainWindowTest, ASecondLaunchShowsTheWindow) {
    MainWindow& w = Start();
    w.OnActivate();
    EXPECT_TRUE(window.shown);
}

TEST_F(MainWindowTest, ASecondLaunchShowsTheWindowWithoutTrayOrMouse) {
    mouse.unplug();
    tray.hasArea = false;
    MainWindow& w = Start();
    window.shown = false;
    w.OnActivate();
    EXPECT_TRUE(window.shown);
}

TEST_F(MainWindowTest, ATrayThatAppearsLaterTakesTheWindow) {
    tray.hasArea = false;
    MainWindow& w = Start();
    w.OnTrayAppeared();
    EXPECT_TRUE(tray.iconShown);
    EXPECT_EQ(tray.menuShown(), (std::vector<std::string>{"[ ] Start with the desktop", "Export settings…",
                                                          "Import settings…", "Exit"}));
    EXPECT_FALSE(window.taskbarEntry);
    EXPECT_TRUE(window.shown) << "the window the user has open stays open";
    w.OnKeyDown(27);
    EXPECT_FALSE(window.shown);
    EXPECT_FALSE(window.minimised);
    w.OnCloseRequest();
    EXPECT_FALSE(application.quitting);
}

// The skins button opens the Skins dialog over the window's skin and colour;
// the user's part of it is the host's script.
struct SkinsTest : MainWindowTest {
    ScriptedHost host;
    const Point kSkinsButton{705, 10};
    std::vector<std::string> offered; // the skin list as it last opened

    void SetUp() override {
        MainWindowTest::SetUp();
        host.imageNames = window.picture.imageNames;
        for (const auto& [path, content] : std::map(files.files)) {
            if (path.parent_path() == "/d/Skins/Default") {
                files.files["/d/Skins/Ember" / path.filename()] = content;
            }
        }
        files.files["/d/Skins/Ember/BasicSet2.png"] = "883 20 1";
        host.imageNames[883] = window.picture.imageNames[883] = "Ember/BasicSet2.png";
        files.files["/d/Skins/notes/readme.txt"] = "not a skin";
    }
    MainWindow& StartWithSkins() {
        MainWindow& w = Start();
        w.setDialogHost(&host);
        w.OnTray(TrayAction::LeftUp);
        return w;
    }
    // Opens the skin list and chooses `skin`, and the colour chooser's `colour`.
    void Choose(FakeDialogWindow& on, SubDialog& dialog, const std::string& skin,
                std::optional<Colour> colour) {
        dialog.OnLeftButtonDown(Inside(kSkinsDialog.skin.clickArea));
        offered = on.items(kSkinsDialog.skin.list.id);
        const auto& items = offered;
        const auto at = std::find(items.begin(), items.end(), skin);
        ASSERT_NE(at, items.end()) << skin;
        dialog.OnListChosen(kSkinsDialog.skin.list.id, static_cast<int>(at - items.begin()));
        on.chosenColour = colour;
        dialog.OnLeftButtonDown(Inside(kSkinsDialog.colourSample.rect));
    }
};

// A Path that leads out of the skins folders is not drawn from, even with a
// whole skin at its end; the window says so, draws the Default skin, and the
// Skins dialog writes the skin it draws, never the name it refused.
TEST_F(SkinsTest, APathOutOfTheSkinsFoldersIsNeitherDrawnNorWrittenBack) {
    const std::filesystem::path evil = DataPathsIn("/d").skinRoots.front() / ".." / "Evil";
    for (const auto& [path, content] : std::map(files.files)) {
        if (path.parent_path() == "/d/Skins/Default") {
            files.files[evil / path.filename()] = content;
        }
    }
    files.files["/d/str.ini"] = "[Skins]\nPath=../Evil\n";
    MainWindow& w = StartWithSkins();
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{"The skin \"../Evil\" cannot be drawn; the Default "
                                                          "skin is used.",
                                                          "Quorvel Gaming Mouse"}}));
    EXPECT_EQ(w.skinFolder(), "/d/Skins/Default");
    host.user = [&](FakeDialogWindow& on, SubDialog& dialog) {
        EXPECT_EQ(on.controlText(kSkinsDialog.skin.display.id), "Default");
        dialog.OnLeftButtonDown(Inside(kDialogSkeleton.ok.rect));
    };
    w.OnLeftButtonDown(kSkinsButton);
    EXPECT_EQ(host.runs, 1);
    EXPECT_EQ(files.files["/d/str.ini"], "[Skins]\nPath=Default\nRColor=0\nGColor=0\nBColor=0\n");
}

TEST_F(SkinsTest, OkKeepsTheSkinInStrIniAndRedrawsThePageFromIt) {
    MainWindow& w = StartWithSkins();
    host.user = [&](FakeDialogWindow& on, SubDialog& dialog) {
        EXPECT_EQ(on.controlText(kSkinsDialog.skin.display.id), "Default");
        Choose(on, dialog, "Ember", Colour{250, 160, 40});
        EXPECT_EQ(offered, (std::vector<std::string>{"Default", "Ember"}))
            << "a folder without a skin is not offered";
        dialog.OnLeftButtonDown(Inside(kDialogSkeleton.ok.rect));
    };
    window.picture.ops.clear();
    window.shown = false;
    w.OnLeftButtonDown(kSkinsButton);
    EXPECT_EQ(host.runs, 1);
    EXPECT_TRUE(window.moves.empty()) << "the click ends with the dialog";
    EXPECT_EQ(files.files["/d/str.ini"], "[Skins]\nRColor=250\nGColor=160\nBColor=40\nPath=Ember\n");
    EXPECT_EQ(w.skinFolder(), "/d/Skins/Ember");
    EXPECT_EQ(w.skinName(), "Ember");
    EXPECT_EQ(w.currentPage(), Page::Basic);
    EXPECT_TRUE(window.picture.drew("image Ember/BasicSet2.png at 0,0"));
    EXPECT_EQ(window.picture.textColours["OK"], (Colour{250, 160, 40}));
    EXPECT_TRUE(window.shown);

    // The next dialog opens on the new skin.
    host.user = [&](FakeDialogWindow& on, SubDialog&) {
        EXPECT_EQ(on.controlText(kSkinsDialog.skin.display.id), "Ember");
        EXPECT_TRUE(on.picture.drew("fill 250,160,40 in 42,94"));
    };
    w.OnLeftButtonDown(kSkinsButton);
    EXPECT_EQ(host.runs, 2);
}

// The list holds only skins whose own images draw; a skin that lacks any
// other image is drawn with the Default skin's image for it.
TEST_F(SkinsTest, OnlySkinsItCanDrawAreOfferedAndTheDefaultSkinFillsTheirGaps) {
    for (const char* skin : {"Cut", "Huge", "NoDialog", "Partial"}) {
        for (const char* image : {"main.png", "skins.png"}) {
            files.files[std::filesystem::path("/d/Skins") / skin / image] =
                files.files[std::filesystem::path("/d/Skins/Default") / image];
        }
    }
    files.files["/d/Skins/Cut/main.png"] = "880 640";
    files.files["/d/Skins/Cut/main.png"].resize(3); // a file cut short
    files.files["/d/Skins/Huge/main.png"] = "20000 20000 0";
    files.files.erase("/d/Skins/NoDialog/skins.png");
    MainWindow& w = StartWithSkins();
    host.user = [&](FakeDialogWindow& on, SubDialog& dialog) {
        Choose(on, dialog, "Partial", std::nullopt);
        dialog.OnLeftButtonDown(Inside(kDialogSkeleton.ok.rect));
    };
    window.picture.ops.clear();
    w.OnLeftButtonDown(kSkinsButton);
    EXPECT_EQ(offered, (std::vector<std::string>{"Default", "Ember", "Partial"}));
    EXPECT_EQ(w.skinFolder(), "/d/Skins/Partial");
    for (const char* drawn :
         {"image main.png at 0,0", "image BasicSet2.png at 0,0", "image button-normal.png at 513,609"}) {
        EXPECT_TRUE(window.picture.drew(drawn)) << drawn;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SkinsTest, CancelOrCloseAfterChoosingChangesNothing) {
    MainWindow& w = StartWithSkins();
    const std::string strIni = files.files["/d/str.ini"];
    for (const Rect button : {kDialogSkeleton.cancel.rect, kDialogSkeleton.close.rect}) {
        host.user = [&](FakeDialogWindow& on, SubDialog& dialog) {
            Choose(on, dialog, "Ember", Colour{1, 2, 3});
            dialog.OnLeftButtonDown(Inside(button));
        };
        window.picture.ops.clear();
        w.OnLeftButtonDown(kSkinsButton);
        EXPECT_EQ(files.files["/d/str.ini"], strIni);
        EXPECT_EQ(w.skinFolder(), "/d/Skins/Default");
        EXPECT_EQ(w.textColour(), (Colour{230, 232, 238}));
        EXPECT_EQ(window.picture.count("image"), 0) << "nothing redrawn";
    }
}

TEST_F(SkinsTest, AStrIniThatCannotBeWrittenIsToldAndTheSkinStillChanges) {
    MainWindow& w = StartWithSkins();
    files.writeError = ENOSPC;
    host.user = [&](FakeDialogWindow& on, SubDialog& dialog) {
        Choose(on, dialog, "Ember", std::nullopt);
        dialog.OnLeftButtonDown(Inside(kDialogSkeleton.ok.rect));
    };
    w.OnLeftButtonDown(kSkinsButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(DataPathsIn("/d").strIni.string()), std::string::npos)
        << messages.shown[0].text;
    EXPECT_EQ(w.skinFolder(), "/d/Skins/Ember");
}

// The menu's profile actions: what the window shows goes out, a profile
// comes in as the window's own change, sent at the next Apply; a damaged
// one is refused by its line and changes nothing.
TEST_F(MainWindowTest, ExportAndImportFromTheMenuCarryWhatTheWindowShows) {
    MainWindow& w = Start();
    w.OnTray(TrayAction::LeftUp);
    w.working().reportRate = 8; // 125 Hz, not applied yet
    window.profileFile = "/exported.profile";
    w.OnTrayMenu(kTrayExportItem);
    EXPECT_EQ(window.fileDialogsOpened, std::vector<std::string>{"save: Export settings…"});
    const std::string exported = files.files["/exported.profile"];
    ASSERT_NE(exported.find("\nreport-rate = 125\n"), std::string::npos) << exported;

    std::string changed = exported;
    changed.replace(changed.find("report-rate = 125"), 17, "report-rate = 500");
    files.files["/changed.profile"] = changed;
    window.profileFile = "/changed.profile";
    window.picture.presents = 0;
    w.OnTrayMenu(kTrayImportItem);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(w.working().reportRate, 2);
    EXPECT_EQ(files.files["/d/config.bin"].at(1 + 1925), 2);
    EXPECT_GT(window.picture.presents, 0) << "the page is drawn again";
    EXPECT_NE(mouse.reportRate(), 2) << "nothing reaches the mouse before Apply";
    w.OnLeftButtonDown({620, 615}); // Apply
    EXPECT_EQ(mouse.reportRate(), 2);

    const auto before = files.files;
    files.files["/damaged.profile"] = exported.substr(0, exported.size() / 2);
    window.profileFile = "/damaged.profile";
    w.OnTrayMenu(kTrayImportItem);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.starts_with("The settings were not imported: damaged.profile line "))
        << messages.shown[0].text;
    files.files.erase("/damaged.profile");
    EXPECT_EQ(files.files, before);
    EXPECT_EQ(w.working().reportRate, 2);

    // Without a tray the window's right click offers the same two.
    window.menuChoice = std::nullopt;
    w.OnRightButtonUp({300, 300});
    EXPECT_EQ(window.menusOpened.back(), (std::vector<std::string>{"Export settings…", "Import settings…"}));
}

} // namespace
} // namespace quorvel
