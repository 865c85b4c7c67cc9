#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "app/advanced_page.h"
#include "app/basic_page.h"
#include "app/main_window.h"
#include "assign/assignment_dialogs.h"

namespace quorvel {

// What a shell brings to the main window's pages besides the window's ports.
struct PageShell {
    AssignmentDialogs& dialogs;                              // the Basic page's parameter dialogs
    std::function<std::optional<DelayChoice>()> chooseDelay; // the macro panel's pause dialog
    PointerSettingsPort& pointer;                            // the Advanced page's settings
    DialogHost& windowDialogs;                               // the window's own (the skin chooser)
};

// The main window's controller with its two pages, put together as every
// shell does: the Basic page with the shell's dialogs, the Advanced page with
// the pointer settings and a macro panel on the data folder's record.ini.
struct MainWindowAssembly {
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<BasicPage> basicPage;
    std::unique_ptr<AdvancedPage> advancedPage;
};

MainWindowAssembly AssembleMainWindow(MainWindowPorts ports, DeviceController& device, DataPaths paths,
                                      std::uint16_t langId, const PageShell& shell);

} // namespace quorvel
