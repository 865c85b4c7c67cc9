#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/dialog_faults.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"
#include "ui/dialog_layout.h"
#include "ui/skin_images.h"
#include "ui/sub_dialog.h"

namespace quorvel::testing {

inline Point Inside(Rect rect) {
    return {rect.left + 1, rect.top + 1};
}
inline Point Entry(const DropDownSelector& selector) {
    return Inside(selector.clickArea);
}

// A host whose modal run is the test's script: it acts on the fresh window
// and the dialog as the user would, and the run answers what the dialog
// ended with (nothing ended counts as closed).
class ScriptedHost : public DialogHost {
public:
    std::function<void(FakeDialogWindow&, SubDialog&)> user = [](FakeDialogWindow& window, SubDialog&) {
        window.ended = true;
    };
    std::map<int, std::string> imageNames; // given to each window's picture
    FakeDialogWindow last;                 // a copy of the last window as its run left it
    int runs = 0;

    std::unique_ptr<DialogWindowPort> NewWindow() override {
        auto window = std::make_unique<FakeDialogWindow>();
        window->picture.imageNames = imageNames;
        return window;
    }
    bool RunModal(DialogWindowPort& window, SubDialog& dialog) override {
        ++runs;
        auto& fake = static_cast<FakeDialogWindow&>(window);
        user(fake, dialog);
        last = fake;
        return fake.ended.value_or(false);
    }
};

// A skin folder whose images the fake decoder tells apart by width, and a
// dialog window to draw on.
struct DialogTest : ::testing::Test {
    MemoryFileSystem files;
    FakeDecoder decoder{files};
    ImageCache images{files, decoder};
    RecordingMessages messages;
    FakeDialogWindow window;

    DialogTest() {
        int width = 300;
        for (const std::string_view name : kSkinImageNames) {
            AddImage(name, ++width);
        }
    }
    std::map<std::string_view, int> widths; // of each image of the skin

    void AddImage(std::string_view name, int width) {
        files.files["/skin" + std::string(name)] = std::to_string(width) + " 290 1";
        window.picture.imageNames[width] = std::string(name.substr(1));
        widths[name] = width;
    }
    void RemoveImage(std::string_view name) { files.files.erase("/skin" + std::string(name)); }

    DialogContext context(Language language = Language::kEnglish) {
        return {images,   ShowDialogFaultsIn(messages), {"/skin", {}}, Colour{10, 20, 30},
                language, FontSpec{"Arial", 14, 400}};
    }

    // The user's side.
    static void Type(FakeDialogWindow& on, SubDialog& dialog, int id, const std::string& text) {
        on.controls[id].text = text;
        dialog.OnEditChanged(id);
    }
    // A key pressed and released: both name it.
    static void Press(SubDialog& dialog, std::string_view name) {
        dialog.OnKey(name);
        dialog.OnKey(name);
    }
};

} // namespace quorvel::testing
