#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ports/geometry.h"

namespace quorvel {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    constexpr bool operator==(const Colour&) const = default;
};

// The largest image the program decodes, a side: far more than a skin needs,
// its double-density images included, and small enough that one image never
// takes more than 64 MB (a PNG of a few hundred bytes can claim 20000 x 20000).
inline constexpr int kLargestImageSide = 4096;

constexpr bool WithinImageLimits(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kLargestImageSide && height <= kLargestImageSide;
}

// A PNG as the decoder gives it: straight (not premultiplied) alpha, four
// bytes per pixel in the order red, green, blue, alpha, rows top to bottom.
// An image without an alpha channel has alpha 255 everywhere and hasAlpha false.
struct DecodedImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<std::uint8_t> rgba;
    // An image without alpha may come instead as the pixels it is drawn with
    // (0xFFRRGGBB, as SkinImage holds them), rgba then empty: it is taken as
    // it is, without a copy. (Its initialiser lets a braced list leave it out.)
    std::vector<std::uint32_t> opaquePixels{};
};

// An image's size in pixels.
struct ImageSize {
    int width = 0;
    int height = 0;
    bool operator==(const ImageSize&) const = default;
};

class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    // Nothing when the file is missing or is no image. An image whose size
    // is beyond WithinImageLimits comes back with that size and no pixels:
    // it is never decoded.
    virtual std::optional<DecodedImage> decode(const std::filesystem::path& path) = 0;
    // True when readHeader tells an image's size without decoding its pixels.
    virtual bool readsHeaders() const { return false; }
    // The size the file claims, read from its header alone, limits or not:
    // nothing when the file is missing or plainly no whole image. Pixels that
    // are damaged still fail to decode later. Only where readsHeaders().
    virtual std::optional<ImageSize> readHeader(const std::filesystem::path& /*path*/) { return std::nullopt; }
    // True when decode may run on several threads at once.
    virtual bool decodesConcurrently() const { return false; }
};

// An image ready to draw: each pixel 0xAARRGGBB with the colour channels
// premultiplied by alpha. Drawn blended when it has alpha, copied otherwise.
// `width` and `height` are its pixels; a double-density image (`scale` 2)
// covers half as many layout pixels each way.
struct SkinImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<std::uint32_t> pixels;
    int scale = 1; // image pixels per layout pixel
};

enum class FontRole { Text, Title };
enum class TextAlign { Left, Centre, Right }; // one line, centred vertically

// A window's off-screen picture. Drawing changes only the picture; present()
// copies it to the screen in one step, so nothing flickers. The picture keeps
// what was drawn until it is drawn over.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void drawImage(const SkinImage& image, Point at) = 0;
    // Draws an image over the whole picture from its top left corner, handing
    // its pixels over: a canvas may make an opaque image of its own size the
    // picture itself rather than copy it.
    virtual void adoptImage(SkinImage&& image) { drawImage(image, {0, 0}); }
    virtual void drawText(std::string_view text, Rect box, FontRole font, Colour colour, TextAlign align) = 0;
    // Left-aligned text broken into lines at the box's width, the block of
    // lines centred vertically in the box. A canvas that cannot break lines
    // draws one line.
    virtual void drawWrappedText(std::string_view text, Rect box, FontRole font, Colour colour) {
        drawText(text, box, font, colour, TextAlign::Left);
    }
    // Paints the rectangle in one colour (a colour swatch).
    virtual void fillRect(Rect box, Colour colour) = 0;
    virtual void present() = 0;
    // The density of the skin images the picture is best drawn from: 2 on a
    // screen with two or more device pixels to a layout pixel, else 1.
    // Positions are layout pixels at any density.
    virtual int imageDensity() const { return 1; }
};

// The fonts of a language, as the program names them; the shell takes the
// nearest face the system has.
struct FontSpec {
    std::string face;
    int height = 0; // pixels
    int weight = 400;
};

// Child list boxes at fixed rectangles, by id: the drop-down lists of the
// main window and of the dialogs. The shell tells the controller when the
// user picks an entry and which entry the pointer is over.
class ListPort {
public:
    virtual ~ListPort() = default;
    virtual void createList(int id, Rect box, const std::vector<std::string>& items) = 0;
    virtual void destroyList(int id) = 0;
    virtual bool listExists(int id) const = 0;
    // Selects an entry without telling the controller, as the pointer moves.
    virtual void highlightListItem(int id, int index) = 0;
};

// What an edit takes from the keyboard.
enum class EditKind {
    Text,
    Digits,  // digits only
    KeyName, // shows the name of a captured key; typing does not change the text
};

// Child controls at fixed rectangles, by id, besides the lists: static texts
// and one-line edits, white text on dark grey. Setting a control's text does
// not come back as a change; the user's typing does.
class ChildControlPort : public ListPort {
public:
    virtual void createStatic(int id, Rect box, std::string_view text, TextAlign align) = 0;
    virtual void createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) = 0;
    virtual void destroyControl(int id) = 0;
    virtual bool controlExists(int id) const = 0;
    virtual void setControlText(int id, std::string_view text) = 0;
    virtual std::string controlText(int id) const = 0;
};

// The main window's platform side. Its lists report to
// MainWindow::OnListChoice and OnListPointer, its edits to OnEditChanged.
class WindowPort : public ChildControlPort {
public:
    virtual ~WindowPort() = default;
    virtual Canvas& canvas() = 0;
    virtual void setFonts(const FontSpec& text, const FontSpec& title) = 0;
    virtual void setClientSize(int width, int height) = 0;
    // Brings the window to the front and shows it.
    virtual void show() = 0;
    virtual void hide() = 0;
    // Shrinks the window to its taskbar entry.
    virtual void minimise() = 0;
    virtual bool visible() const = 0;
    // Whether the window has an entry in the taskbar: only while there is
    // no tray icon to reach it by.
    virtual void setTaskbarEntry(bool shown) = 0;
    // Starts moving the window with the mouse button that is held at `at`.
    virtual void startMove(Point at) = 0;
    // The hidden window lets its picture go, with the memory behind it;
    // drawing does nothing until the picture takes a size again
    // (setClientSize). A window that keeps its picture does nothing here.
    virtual void releasePicture() {}

    // The platform's colour chooser, modal over the window: the confirmed
    // colour, or nothing when it was cancelled.
    virtual std::optional<Colour> chooseColour(Colour initial) = 0;

    // The system's file dialog, modal over the window, for a settings
    // profile: the file chosen to write (`save`) or to read, or nothing when
    // it was cancelled. A window without one offers no file.
    virtual std::optional<std::filesystem::path> chooseProfileFile(bool /*save*/,
                                                                   std::string_view /*title*/) {
        return std::nullopt;
    }

    // The window's title, as the taskbar and the window list show it.
    virtual void setTitle(std::string_view title) = 0;

    // The keyboard focus moved to child control `id` (an edit, a list box)
    // from the keys, or back to the window itself (-1): the shell gives the
    // real focus there, so that typing reaches the edit.
    virtual void focusControl(int /*id*/) {}
    // The system's highlight colour while the desktop asks for high
    // contrast; nothing otherwise. The focus ring is drawn in it.
    virtual std::optional<Colour> highContrastHighlight() const { return std::nullopt; }
    // A pop-up menu at `at` (client pixels), modal: the chosen item, or
    // nothing when it was closed without a choice.
    virtual std::optional<int> popupMenu(const std::vector<std::string>& items, Point at) = 0;

    // A list box that stays while its page is shown (unlike a drop-down
    // list): one text line an entry, scrolling when they do not fit. Its
    // entries change with setListItems; highlightListItem selects one and
    // scrolls it into view (-1: none). It reports entries chosen and pointed
    // at as the lists do, and double clicks and right clicks besides
    // (MainWindow::OnListDoubleClick, OnListRightClick).
    virtual void createListBox(int id, Rect box) = 0;
    virtual void setListItems(int id, const std::vector<std::string>& items) = 0;
    // Changes only the `count` entries from `first` (as many of them as there
    // are): they become `items`, and the entries before and after stay as
    // they are. A list that grows at its end (a recording) or one line edited
    // costs the entries changed, not the whole list.
    virtual void replaceListItems(int id, std::size_t first, std::size_t count,
                                  std::span<const std::string> items) = 0;
    // The entries from `first` to the end become `items`.
    void setListItemsFrom(int id, std::size_t first, std::span<const std::string> items) {
        replaceListItems(id, first, kToTheEnd, items);
    }
    static constexpr std::size_t kToTheEnd = static_cast<std::size_t>(-1);
};

// A modal sub-dialog's platform side: its picture, size and font, the few
// real child controls it has, and the end of its modal run. What the user
// does to the dialog and its controls comes back through the dialog's
// controller (SubDialog).
class DialogWindowPort : public ChildControlPort {
public:
    virtual ~DialogWindowPort() = default;
    virtual Canvas& canvas() = 0;
    virtual void setFont(const FontSpec& font) = 0;
    virtual void setClientSize(int width, int height) = 0;
    // Ends the dialog; `ok` tells OK from Cancel.
    virtual void end(bool ok) = 0;

    // A list is a child control too (a bordered list box that reports the
    // entry under the pointer and the entry chosen).
    void destroyList(int id) override { destroyControl(id); }
    bool listExists(int id) const override { return controlExists(id); }
    virtual void showControl(int id, bool shown) = 0;
    // Gives child control `id` the keyboard focus; -1 takes it from every
    // child, so that the keys reach the dialog itself.
    virtual void focusControl(int id) = 0;
    // The child control with the keyboard focus; nothing when the focus is
    // on the dialog itself or elsewhere.
    virtual std::optional<int> focusedControl() const = 0;
    // Scrolls list `id` by `lines` entries, towards its end when positive.
    virtual void scrollList(int id, int lines) = 0;

    // The platform's colour chooser, modal over the dialog: the confirmed
    // colour, or nothing when it was cancelled.
    virtual std::optional<Colour> chooseColour(Colour initial) = 0;

    // The system's highlight colour while the desktop asks for high
    // contrast; nothing otherwise. The focus ring is drawn in it.
    virtual std::optional<Colour> highContrastHighlight() const { return std::nullopt; }
};

// One item of the tray icon's menu. `id` is what the shell reports when the
// item is chosen; a check item shows a tick while `checked`.
struct TrayMenuItem {
    int id = 0;
    std::string text;
    bool checkable = false;
    bool checked = false;
    bool operator==(const TrayMenuItem&) const = default;
};

// The icon in the notification area, its balloons and its menu.
class TrayPort {
public:
    virtual ~TrayPort() = default;
    // False when the desktop has no notification area (yet); the shell
    // tells the controller when one appears (MainWindow::OnTrayAppeared).
    virtual bool available() const = 0;
    // The icon with its tip and the menu its right click opens; the shell
    // reports the chosen item's id (MainWindow::OnTrayMenu), and a right
    // click or the menu about to open as TrayAction::RightUp.
    virtual void addIcon(std::string_view tip, const std::vector<TrayMenuItem>& menu) = 0;
    // Ticks the check item `id` of the menu, or takes the tick away.
    virtual void setMenuItemChecked(int id, bool checked) = 0;
    // Safe from within the icon's own click or menu handling.
    virtual void removeIcon() = 0;
    // A message to the user: a desktop notification where the desktop has a
    // notification service, else the tray icon's balloon, else wherever the
    // shell can still show it.
    virtual void showBalloon(std::string_view text, std::string_view title, int timeoutMs) = 0;
};

// The program's life.
class ApplicationPort {
public:
    virtual ~ApplicationPort() = default;
    // Stops taking device events at once and ends the program with exit
    // code 0 when the current call returns.
    virtual void quit() = 0;
};

} // namespace quorvel
