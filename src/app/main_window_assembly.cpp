#include "app/main_window_assembly.h"

#include "app/macro_panel.h"

namespace quorvel {

MainWindowAssembly AssembleMainWindow(MainWindowPorts ports, DeviceController& device, DataPaths paths,
                                      std::uint16_t langId, const PageShell& shell) {
    FileSystem& files = ports.files;
    const std::filesystem::path recordIni = paths.recordIni;
    MainWindowAssembly parts;
    parts.main = std::make_unique<MainWindow>(ports, device, std::move(paths), langId);
    MainWindow& main = *parts.main;
    main.setDelayChooser(shell.chooseDelay);
    parts.basicPage = std::make_unique<BasicPage>(main, shell.dialogs);
    parts.advancedPage = std::make_unique<AdvancedPage>(main, shell.pointer, [&main, &files, recordIni] {
        return std::make_unique<MacroPanel>(main, IniFile(files, recordIni));
    });
    main.setPages(parts.basicPage.get(), parts.advancedPage.get());
    main.setDialogHost(&shell.windowDialogs);
    return parts;
}

} // namespace quorvel
