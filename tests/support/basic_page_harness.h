#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/basic_page.h"
#include "app/device_event_relay.h"
#include "app/factory_settings.h"
#include "app/main_window.h"
#include "hid/sim/simulated_mouse.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"
#include "ui/skin_images.h"

namespace quorvel::testing {

// Parameter dialogs that answer what the test sets, and count their openings.
class ScriptedDialogs final : public AssignmentDialogs {
public:
    std::optional<SingleKeyChoice> singleKey;
    std::optional<ComboKeyChoice> comboKey;
    int opened = 0;

    std::optional<ApplicationKeyChoice> ChooseApplicationKey() override {
        return Open<ApplicationKeyChoice>({});
    }
    std::optional<MediaKeyChoice> ChooseMediaKey() override { return Open<MediaKeyChoice>({}); }
    std::optional<FireKeyChoice> ChooseFireKey() override { return Open<FireKeyChoice>({}); }
    std::optional<SingleKeyChoice> ChooseSingleKey() override { return Open(singleKey); }
    std::optional<ComboKeyChoice> ChooseComboKey() override { return Open(comboKey); }
    std::optional<MacroChoice> ChooseMacro() override { return Open<MacroChoice>({}); }

private:
    template <typename T> std::optional<T> Open(std::optional<T> answer) {
        ++opened;
        return answer;
    }
};

// The main window with the Basic page, on the simulated mouse and the
// recording fakes. Every skin image is a fake PNG whose width names it in the
// picture's record ("image DropdownBox-over.png at 252,209").
struct BasicPageHarness : ::testing::Test {
    MemoryFileSystem files;
    RecordingMessages messages;
    FakeWindow window;
    FakeTray tray;
    FakeApplication application;
    FakeDecoder decoder{files};
    FakeInstance instance;
    FakeAutostart autostart;
    SimulatedMouse mouse;
    // The mouse's own buttons are not pressed here: nothing the reader posts is needed.
    DeviceEventRelay relay{[](std::function<void()>) {}};
    DeviceController device{mouse, mouse.clock(), relay};
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<BasicPage> page;

    static constexpr const char* kSkin = "/d/Skins/Default";

    BasicPageHarness() {
        files.files["/d/config.bin"] = FactoryConfigBin();
        files.files["/d/str.ini"] = FactoryStrIni();
        int width = 1000;
        for (const std::string_view name : kSkinImageNames) {
            const std::string file(name.substr(1));
            const bool background = name == kBasicPageBackground || name == kAdvancedPageBackground;
            files.files[std::string(kSkin) + std::string(name)] =
                std::to_string(width) + (background ? " 640 0" : " 20 1");
            window.picture.imageNames[width] = file;
            ++width;
        }
        files.files[std::string(kSkin) + std::string(kMainBackground)] = "880 640 0";
        device.setTransferTimeout(std::chrono::milliseconds(50));
    }
    ~BasicPageHarness() override {
        relay.stop();
        device.CloseDeviceLink();
    }

    // config.bin as the program finds it: the first-run flag, then the record.
    void SetConfigBin(const DeviceConfig& config, Byte firstRunFlag) {
        std::string bytes(1, static_cast<char>(firstRunFlag));
        bytes.append(reinterpret_cast<const char*>(config.bytes().data()), kDeviceConfigSize);
        files.files["/d/config.bin"] = bytes;
    }

    // Starts the program (the Basic page is drawn) and shows the window.
    MainWindow& Start(DataPaths paths = DataPathsIn("/d", "/d/quorvel"), std::uint16_t langId = 0x409) {
        main = std::make_unique<MainWindow>(
            MainWindowPorts{files, messages, window, tray, application, decoder, instance, autostart}, device,
            std::move(paths), langId);
        page = std::make_unique<BasicPage>(*main, dialogs);
        main->setPages(page.get(), nullptr);
        relay.setTarget(*main);
        EXPECT_EQ(main->Start([] {}), MainWindow::StartResult::Running);
        main->OnTray(TrayAction::LeftUp);
        return *main;
    }

    // Draws the page again from the working configuration.
    void Redraw() { main->RebuildCurrentPage(); }

    static Point Inside(Rect rect) { return {rect.left + 1, rect.top + 1}; }
    void Click(Point point) { main->OnLeftButtonDown(point); }
    void Click(Rect rect) { Click(Inside(rect)); }

    // What was drawn since the last call.
    std::vector<std::string> TakeOps() {
        std::vector<std::string> ops = std::move(window.picture.ops);
        window.picture.ops.clear();
        return ops;
    }
    bool Drew(const std::vector<std::string>& ops, const std::string& op) const {
        return std::find(ops.begin(), ops.end(), op) != ops.end();
    }
};

} // namespace quorvel::testing
