#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ports/system_ports.h"
#include "ports/ui_port.h"
#include "support/memory_file_system.h"

namespace quorvel::testing {

// A picture that records what was drawn on it, as lines of text.
class RecordingCanvas : public Canvas {
public:
    // Which image a draw was: the decoder below tags each image by its width.
    std::map<int, std::string> imageNames;
    std::vector<std::string> ops;
    int presents = 0;

    void drawImage(const SkinImage& image, Point at) override {
        const auto it = imageNames.find(image.width);
        ops.push_back("image " + (it == imageNames.end() ? std::to_string(image.width) : it->second) +
                      " at " + std::to_string(at.x) + "," + std::to_string(at.y));
    }
    std::map<std::string, Colour> textColours; // the colour each text was last drawn in

    void drawText(std::string_view text, Rect box, FontRole font, Colour colour, TextAlign) override {
        textColours[std::string(text)] = colour;
        ops.push_back(std::string(font == FontRole::Title ? "title " : "text ") + std::string(text) + " in " +
                      std::to_string(box.left) + "," + std::to_string(box.top));
    }
    void drawWrappedText(std::string_view text, Rect box, FontRole, Colour) override {
        ops.push_back("wrapped " + std::string(text) + " in " + std::to_string(box.left) + "," +
                      std::to_string(box.top));
    }
    void present() override { ++presents; }
    // A fill goes into the picture's record as "fill R,G,B in X,Y".
    void fillRect(Rect box, Colour colour) override {
        ops.push_back("fill " + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
                      std::to_string(colour.blue) + " in " + std::to_string(box.left) + "," +
                      std::to_string(box.top));
    }

    bool drew(const std::string& op) const {
        for (const auto& o : ops) {
            if (o == op) {
                return true;
            }
        }
        return false;
    }
    int count(const std::string& prefix) const {
        int n = 0;
        for (const auto& o : ops) {
            n += o.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }
};

// Decodes the fake PNGs of a MemoryFileSystem: the file's text "W H alpha";
// any other text is no image.
class FakeDecoder : public ImageDecoder {
public:
    explicit FakeDecoder(const MemoryFileSystem& files) : files_(&files) {}
    int decodes = 0;
    std::vector<std::filesystem::path> decoded; // in the order decoded
    bool headers = false;                       // reads sizes without decoding
    std::optional<DecodedImage> decode(const std::filesystem::path& path) override {
        ++decodes;
        decoded.push_back(path);
        const auto content = files_->readAll(path);
        if (!content) {
            return std::nullopt;
        }
        std::istringstream in(*content);
        DecodedImage image;
        int alpha = 1;
        if (!(in >> image.width >> image.height)) {
            return std::nullopt;
        }
        in >> alpha;
        image.hasAlpha = alpha != 0;
        // As the real decoders do, an image beyond the limits is answered
        // from its header, without pixels.
        if (WithinImageLimits(image.width, image.height)) {
            image.rgba.assign(static_cast<std::size_t>(image.width * image.height * 4), 0xFF);
        }
        return image;
    }
    bool readsHeaders() const override { return headers; }
    std::optional<ImageSize> readHeader(const std::filesystem::path& path) override {
        const auto content = files_->readAll(path);
        ImageSize size;
        std::istringstream in(content ? *content : std::string());
        return in >> size.width >> size.height ? std::optional(size) : std::nullopt;
    }

private:
    const MemoryFileSystem* files_;
};

struct Balloon {
    std::string text;
    std::string title;
    int timeoutMs = 0;
    bool operator==(const Balloon&) const = default;
};

class FakeWindow : public WindowPort {
public:
    RecordingCanvas picture;
    bool shown = false;
    int width = 0;
    int height = 0;
    FontSpec textFont;
    FontSpec titleFont;
    std::vector<Point> moves;
    std::map<int, std::vector<std::string>> lists;
    std::map<int, Rect> listBoxes;
    std::map<int, int> highlighted;

    Canvas& canvas() override { return picture; }
    void setFonts(const FontSpec& text, const FontSpec& title) override {
        textFont = text;
        titleFont = title;
    }
    void setClientSize(int w, int h) override {
        width = w;
        height = h;
    }
    void show() override { shown = true; }
    void hide() override { shown = false; }
    bool minimised = false;
    void minimise() override { minimised = true; }
    bool taskbarEntry = false;
    void setTaskbarEntry(bool entry) override { taskbarEntry = entry; }
    bool visible() const override { return shown; }
    void startMove(Point at) override { moves.push_back(at); }
    void createList(int id, Rect box, const std::vector<std::string>& items) override {
        lists[id] = items;
        listBoxes[id] = box;
    }
    void destroyList(int id) override {
        lists.erase(id);
        listBoxes.erase(id);
        highlighted.erase(id);
    }
    bool listExists(int id) const override { return lists.count(id) != 0; }
    void highlightListItem(int id, int index) override { highlighted[id] = index; }
    // The desktop's high-contrast highlight, when a test asks for one.
    std::optional<Colour> highContrast;
    std::optional<Colour> highContrastHighlight() const override { return highContrast; }
    // The child control the keys gave the real focus to; -1: the window.
    int focusedChild = -1;
    void focusControl(int id) override { focusedChild = id; }

    // The colour chooser answers `chosenColour`; each opening is recorded.
    std::vector<Colour> colourChooserOpenedWith;
    std::optional<Colour> chosenColour;
    std::optional<Colour> chooseColour(Colour initial) override {
        colourChooserOpenedWith.push_back(initial);
        return chosenColour;
    }

    // The file dialog answers `profileFile`; each opening's title is recorded.
    std::optional<std::filesystem::path> profileFile;
    std::vector<std::string> fileDialogsOpened;
    std::optional<std::filesystem::path> chooseProfileFile(bool save, std::string_view title) override {
        fileDialogsOpened.push_back((save ? "save: " : "open: ") + std::string(title));
        return profileFile;
    }

    std::string title;
    void setTitle(std::string_view text) override { title = text; }
    // The pop-up menu answers `menuChoice`; each opening is recorded.
    std::vector<std::vector<std::string>> menusOpened;
    std::optional<int> menuChoice;
    std::optional<int> popupMenu(const std::vector<std::string>& items, Point) override {
        menusOpened.push_back(items);
        return menuChoice;
    }
    void createListBox(int id, Rect box) override { createList(id, box, {}); }
    // How often each list was filled whole, and how many entries were put
    // in by either way.
    std::map<int, int> listFills;
    std::map<int, std::size_t> entriesPut;
    void setListItems(int id, const std::vector<std::string>& items) override {
        lists[id] = items;
        ++listFills[id];
        entriesPut[id] += items.size();
    }
    void replaceListItems(int id, std::size_t first, std::size_t count,
                          std::span<const std::string> items) override {
        std::vector<std::string>& list = lists[id];
        const std::size_t start = std::min(first, list.size());
        const auto at = list.begin() + static_cast<std::ptrdiff_t>(start);
        list.insert(list.erase(at, at + static_cast<std::ptrdiff_t>(std::min(count, list.size() - start))),
                    items.begin(), items.end());
        entriesPut[id] += items.size();
    }

    // Static texts and edits by id: their texts.
    std::map<int, std::string> controls;
    void createStatic(int id, Rect, std::string_view text, TextAlign) override { controls[id] = text; }
    void createEdit(int id, Rect, std::string_view text, EditKind, TextAlign) override {
        controls[id] = text;
    }
    void destroyControl(int id) override { controls.erase(id); }
    bool controlExists(int id) const override { return controls.count(id) != 0; }
    void setControlText(int id, std::string_view text) override { controls[id] = text; }
    std::string controlText(int id) const override {
        const auto it = controls.find(id);
        return it == controls.end() ? std::string() : it->second;
    }
};

class FakeTray : public TrayPort {
public:
    bool hasArea = true;
    bool iconShown = false;
    std::string tip;
    std::vector<Balloon> balloons;
    std::vector<TrayMenuItem> menu;

    bool available() const override { return hasArea; }
    void addIcon(std::string_view t, const std::vector<TrayMenuItem>& items) override {
        iconShown = true;
        tip = t;
        menu = items;
    }
    void setMenuItemChecked(int id, bool checked) override {
        for (TrayMenuItem& item : menu) {
            if (item.id == id) {
                item.checked = checked;
            }
        }
    }
    // The menu's texts, in order, a check item's with "[x] " or "[ ] " before it.
    std::vector<std::string> menuShown() const {
        std::vector<std::string> shown;
        for (const TrayMenuItem& item : menu) {
            shown.push_back((item.checkable ? (item.checked ? "[x] " : "[ ] ") : "") + item.text);
        }
        return shown;
    }
    void removeIcon() override { iconShown = false; }
    void showBalloon(std::string_view text, std::string_view title, int timeoutMs) override {
        balloons.push_back({std::string(text), std::string(title), timeoutMs});
    }
};

class FakeDialogWindow : public DialogWindowPort {
public:
    struct Control {
        std::string kind;
        Rect box;
        std::string text;
        std::vector<std::string> items;
        bool shown = true;
        EditKind editKind = EditKind::Text;
        TextAlign align = TextAlign::Left;
        int highlighted = -1;
        int scrolled = 0; // entries scrolled towards the end
    };
    RecordingCanvas picture;
    FontSpec font;
    int width = 0;
    int height = 0;
    std::optional<bool> ended;
    std::map<int, Control> controls;
    std::optional<int> focused;

    Canvas& canvas() override { return picture; }
    void setFont(const FontSpec& f) override { font = f; }
    void setClientSize(int w, int h) override {
        width = w;
        height = h;
    }
    void end(bool ok) override { ended = ok; }
    void createStatic(int id, Rect box, std::string_view text, TextAlign align) override {
        controls[id] = {"static", box, std::string(text), {}, true, EditKind::Text, align};
    }
    void createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) override {
        controls[id] = {"edit", box, std::string(text), {}, true, kind, align};
    }
    void createList(int id, Rect box, const std::vector<std::string>& items) override {
        controls[id] = {"list", box, {}, items};
    }
    void destroyControl(int id) override {
        controls.erase(id);
        if (focused == id) {
            focused.reset();
        }
    }
    bool controlExists(int id) const override { return controls.count(id) != 0; }
    void setControlText(int id, std::string_view text) override { controls[id].text = text; }
    std::string controlText(int id) const override {
        const auto it = controls.find(id);
        return it == controls.end() ? std::string() : it->second.text;
    }
    // As on screen, the focus leaves a control that hides.
    void showControl(int id, bool shown) override {
        controls[id].shown = shown;
        if (!shown && focused == id) {
            focused.reset();
        }
    }
    void focusControl(int id) override { focused = id < 0 ? std::nullopt : std::optional<int>(id); }
    std::optional<int> focusedControl() const override { return focused; }
    void highlightListItem(int id, int index) override { controls[id].highlighted = index; }
    void scrollList(int id, int lines) override { controls[id].scrolled += lines; }

    // The colour chooser answers `chosenColour`; each opening is recorded.
    std::vector<Colour> colourChooserOpenedWith;
    std::optional<Colour> chosenColour;
    std::optional<Colour> chooseColour(Colour initial) override {
        colourChooserOpenedWith.push_back(initial);
        return chosenColour;
    }

    // Whether the user sees a control: it exists and is not hidden.
    bool visible(int id) const {
        const auto it = controls.find(id);
        return it != controls.end() && it->second.shown;
    }
    const std::vector<std::string>& items(int id) const { return controls.at(id).items; }
};

class FakeApplication : public ApplicationPort {
public:
    bool quitting = false;
    void quit() override { quitting = true; }
};

class FakeInstance : public SingleInstancePort {
public:
    bool first = true;
    bool acquire() override { return first; }
};

// The desktop's start as a flag; a write fails with `failure` while it is set.
class FakeAutostart : public AutostartPort {
public:
    bool start = false;
    std::optional<FileError> failure;
    bool startsWithDesktop() const override { return start; }
    FileStatus setStartsWithDesktop(bool on) override {
        if (failure) {
            return failure;
        }
        start = on;
        return std::nullopt;
    }
};

} // namespace quorvel::testing
