#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "app/factory_settings.h"
#include "app/main_window_layout.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"
#include "qt/qt_dialog_window.h"
#include "support/recording_ui.h"
#include "system/linux/local_file_system.h"

namespace quorvel::testing {

// A data folder of its own for a test: the factory files and the skins, as
// a fresh installation has them.
struct ShellDataFolder {
    std::filesystem::path folder;

    ShellDataFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-dialogs-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        std::filesystem::copy(std::filesystem::path(QUORVEL_SOURCE_DIR) / "res/skins", folder / "Skins",
                              std::filesystem::copy_options::recursive);
        write("config.bin", FactoryConfigBin());
        write("str.ini", FactoryStrIni());
    }
    ~ShellDataFolder() { std::filesystem::remove_all(folder); }

    void write(const std::string& name, const std::string& text) const {
        LocalFileSystem().writeAtomically(
            folder / name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    std::filesystem::path skin() const { return folder / "Skins" / "Default"; }
    std::string read(const std::string& name) const {
        return LocalFileSystem().readAll(folder / name).value_or("");
    }
};

// The point a test clicks to hit a rectangle: just inside its top-left corner.
// Out of the user's way: hidden into the tray, or minimised where there is
// no tray (as offscreen).
inline bool PutAway(const QWidget& window) { return !window.isVisible() || window.isMinimized(); }

inline QPoint Inside(const Rect& rect) {
    return {rect.left + 2, rect.top + 2};
}

// OK, Apply or Cancel of the main window.
inline Rect CommitButtonRect(TextId caption) {
    for (const CaptionButton& button : kDialogButtons) {
        if (button.caption == caption) {
            return button.rect;
        }
    }
    return {};
}

// The whole program on the simulated mouse, its window opened from the tray.
struct ProgramOnSimulatedMouse : ::testing::Test {
    ShellDataFolder data;
    SimulatedMouse mouse;
    RecordingMessages messages;
    FakeInstance instance;
    PointerSettingsPort* pointer = nullptr; // the desktop's pointer settings; nullptr: none
    std::unique_ptr<Program> program;

    void SetUp() override {
        Program::Options options;
        options.paths = DataPathsIn(data.folder, data.folder / "quorvel");
        options.messages = &messages;
        options.instance = &instance;
        options.pointer = pointer;
        program = std::make_unique<Program>(mouse, mouse.clock(), std::move(options));
        ASSERT_TRUE(program->start());
        program->controller().OnTray(TrayAction::LeftUp);
        QCoreApplication::processEvents();
    }
    void click(const Rect& rect) {
        QTest::mouseClick(&program->window(), Qt::LeftButton, Qt::NoModifier, Inside(rect));
        QCoreApplication::processEvents();
    }
};

// Plays the user's part in the next sub-dialog as soon as it is up and has
// the keyboard: the modal run blocks the test, so the user acts from inside
// its event loop. A dialog the user left open is cancelled, so a failing
// test cannot hang.
inline void WhenDialogOpens(std::function<void(QtDialogWindow&)> user) {
    constexpr int kTick = 10;         // ms
    constexpr int kLongestWait = 200; // ticks to wait for the dialog to become active
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, user = std::move(user), ticks = 0]() mutable {
        auto* dialog = qobject_cast<QtDialogWindow*>(QApplication::activeModalWidget());
        if (dialog == nullptr || (!dialog->isActiveWindow() && ++ticks < kLongestWait)) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        user(*dialog);
        QCoreApplication::processEvents();
        if (dialog->isVisible()) {
            dialog->done(QDialog::Rejected);
        }
    });
    timer->start(kTick);
}

// Confirms the colour chooser with `colour` as soon as it is up.
inline void AnswerColourChooser(QColor colour) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, colour] {
        if (auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
            chooser->setCurrentColor(colour);
            chooser->accept();
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

} // namespace quorvel::testing
