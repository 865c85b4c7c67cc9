#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "config/device_config.h"
#include "config/str_ini.h"
#include "dialogs/delay_time_dialog.h"
#include "lang/texts.h"
#include "ports/file_system.h"
#include "ports/geometry.h"
#include "ports/ui_port.h"

namespace quorvel {

// Everything a page of the main window (or a panel inside one) may use of the
// window. Pages take a PageContext&, never the MainWindow: a new page adds
// here only what no page could do before, and the window implements it.
//
// What a page decides stays in the page: which text to show (a TextId or a
// string of its own), where to draw, which list to open. The context gives
// the means: the configuration being edited, the language, the window's
// picture and child lists, the skin, message boxes, and the few facts of the
// mouse and the files a page reads.
class PageContext {
public:
    // --- The configuration -----------------------------------------------
    // The working copy the controls change; Apply sends it and Cancel puts
    // the last applied copy back.
    virtual DeviceConfig& working() = 0;
    // The button labels of both key configurations (saved with Apply).
    virtual ButtonLabels& labels() = 0;
    // Writes the labels to the interface settings file at once.
    virtual void saveLabels() = 0;

    // --- The data files ---------------------------------------------------
    // A change of the data folder's files: the folder's lock is held while
    // it lives, so that quorvelctl or another copy waits, and what another
    // program changed in the files has been taken up before it begins.
    struct DataChange {
        std::unique_ptr<FolderLock> lock;
        bool macrosChanged = false; // record.ini is not what the window last saw
        bool redraw = false;        // some file was taken up: what the page shows may be old
    };
    virtual DataChange changeDataFiles() = 0;

    // --- Language ---------------------------------------------------------
    virtual Language language() const = 0;
    std::string_view text(TextId id) const { return Text(language(), id); }

    // --- Drawing ----------------------------------------------------------
    // The window: its picture (present() shows what was drawn), its child
    // lists and the colour chooser.
    virtual WindowPort& window() = 0;
    // The skin's text colour, for the page's texts and button captions.
    virtual Colour textColour() const = 0;
    // A skin image with its top-left corner at `at`; false when it did not
    // load (the page draws on without it).
    virtual bool drawImage(std::string_view name, Point at) = 0;
    // The part of a skin image inside `part`, the image standing at (0, 0):
    // wipes a text drawn over a page background.
    virtual bool drawImagePart(std::string_view name, Rect part) = 0;
    // An image button with its caption centred in the skin's text colour.
    virtual void drawButton(Rect rect, std::string_view image, std::string_view caption) = 0;

    // --- Messages ---------------------------------------------------------
    // A warning box (titled "Warning") the user must close; the page chooses
    // the text.
    virtual void showWarning(std::string_view text) = 0;
    // A message box titled with the program's name.
    virtual void showMessage(std::string_view text) = 0;
    // The Delay-time dialog, modal over the window: what the user typed, or
    // nothing when it was cancelled.
    virtual std::optional<DelayChoice> chooseDelay() = 0;

    // --- The mouse --------------------------------------------------------
    // The sensor type the mouse reported (0 until read); it selects the DPI
    // scale.
    virtual Byte sensorType() const = 0;
    // Reads the sensor record of the mouse again.
    virtual void syncSensorInfo() = 0;

    // --- The Basic page's first showing ------------------------------------
    // True once the Basic page has made its first drawing (sensor read,
    // default labels on a first run); the window keeps it across pages.
    virtual bool basicPageInitialised() const = 0;
    virtual void setBasicPageInitialised() = 0;
    // True while config.bin has never been written by the program.
    virtual bool firstRun() const = 0;

protected:
    ~PageContext() = default;
};

} // namespace quorvel
