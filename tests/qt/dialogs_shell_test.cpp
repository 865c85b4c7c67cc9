#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <algorithm>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "app/basic_page_layout.h"
#include "app/dialog_faults.h"
#include "app/fonts.h"
#include "app/main_window_layout.h"
#include "assign/function_list.h"
#include "assign/key_matrices.h"
#include "hid/sim/simulated_mouse.h"
#include "qt/program.h"
#include "qt/qt_assignment_dialogs.h"
#include "qt/qt_image_decoder.h"
#include "qt/qt_key_names.h"
#include "qt/qt_picture.h"
#include "qt/shell_support.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"
#include "system/linux/key_names.h"

namespace quorvel {
namespace {

using testing::ShellDataFolder;
using testing::WhenDialogOpens;

QPoint At(const Rect& rect) {
    return {rect.left + 3, rect.top + 3};
}

void Click(QWidget& widget, QPoint at) {
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
}
void Click(QtDialogWindow& dialog, const Rect& rect) {
    Click(dialog, At(rect));
}

// The keyboard sends its keys to the focused control, or to the dialog when
// no control has the focus.
QWidget& KeyTarget(QtDialogWindow& dialog) {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && focus->window() == &dialog ? *focus : dialog;
}
void TypeKey(QtDialogWindow& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&KeyTarget(dialog), key, modifiers);
}
void TypeText(QtDialogWindow& dialog, const char* text) {
    QTest::keyClicks(&KeyTarget(dialog), text);
}
// A key as X11 delivers it: with its keycode, which tells left from right.
void PressNative(QtDialogWindow& dialog, Qt::Key key, int scanCode) {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, Qt::NoModifier, static_cast<quint32>(scanCode + kXkbKeycodeOffset), 0, 0);
        QApplication::sendEvent(&KeyTarget(dialog), &event);
    }
}

QString Text(QtDialogWindow& dialog, int id) {
    if (auto* label = qobject_cast<QLabel*>(dialog.control(id))) {
        return label->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(dialog.control(id))) {
        return edit->text();
    }
    return "<none>";
}
QListWidget* List(QtDialogWindow& dialog, int id) {
    return qobject_cast<QListWidget*>(dialog.control(id));
}
void Pick(QtDialogWindow& dialog, int listId, int index) {
    QListWidget* list = List(dialog, listId);
    ASSERT_NE(list, nullptr) << "list " << listId;
    Click(*list->viewport(), list->visualItemRect(list->item(index)).center());
}

TEST(QtKeyNames, ScanCodesWhereThePlatformGivesThemKeysOtherwise) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int scanCode; // 0: none, as offscreen and simulated keys have
        const char* name;
    } cases[] = {
        {Qt::Key_Control, Qt::NoModifier, KEY_RIGHTCTRL, "Right Ctrl"},
        {Qt::Key_Control, Qt::NoModifier, KEY_LEFTCTRL, "Ctrl"},
        {Qt::Key_Control, Qt::NoModifier, 0, "Ctrl"},
        {Qt::Key_Shift, Qt::NoModifier, KEY_RIGHTSHIFT, "Right Shift"},
        {Qt::Key_5, Qt::KeypadModifier, 0, "Num 5"},
        {Qt::Key_Home, Qt::KeypadModifier, 0, "Num 7"},
        {Qt::Key_Enter, Qt::KeypadModifier, 0, "Num Enter"},
        {Qt::Key_Return, Qt::NoModifier, 0, "Enter"},
        {Qt::Key_Escape, Qt::NoModifier, 0, "Esc"},
        {Qt::Key_A, Qt::NoModifier, 0, "A"},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0, "1"},
        {Qt::Key_Print, Qt::NoModifier, 0, "Prnt Scrn"},
        {Qt::Key_F12, Qt::NoModifier, 0, "F12"},
        {Qt::Key_Z, Qt::NoModifier, KEY_Y, "Y"}, // a German layout's Z is the US Y key
        {Qt::Key_VolumeUp, Qt::NoModifier, 0, ""},
    };
    for (const auto& row : cases) {
        const quint32 keycode =
            row.scanCode == 0 ? 0 : static_cast<quint32>(row.scanCode + kXkbKeycodeOffset);
        const QKeyEvent event(QEvent::KeyPress, row.key, row.modifiers, keycode, 0, 0);
        EXPECT_EQ(KeyNameOf(event), row.name) << row.name;
    }
}

TEST(QtKeyNames, EveryKeyTheShellNamesIsAKeyOfTheSystemsNameSource) {
    for (const auto table : {QtMainKeyNames(), QtKeypadKeyNames()}) {
        for (const QtKeyName& row : table) {
            EXPECT_NE(ScanCodeFromKeyName(row.name), 0) << row.name;
        }
    }
}

// The dialogs on their own over a plain owner window, with the Default skin.
struct DialogShellTest : ::testing::Test {
    ShellDataFolder data;
    LocalFileSystem files;
    QtImageDecoder decoder;
    ImageCache images{files, decoder};
    testing::RecordingMessages messages;
    std::uint16_t langId = 0x409;
    QWidget owner;
    QtAssignmentDialogs dialogs{owner,
                                [this] {
                                    return DialogContext{images,
                                                         ShowDialogFaultsIn(messages),
                                                         {data.skin(), {}},
                                                         Colour{0xFF, 0xFF, 0xFF},
                                                         LanguageFromLangId(langId),
                                                         FontsFor(langId).text};
                                },
                                IniFile(files, data.folder / "record.ini")};
};

TEST_F(DialogShellTest, TheSingleKeyDialogNamesTheKeyAndKeepsEnterAndEscape) {
    WhenDialogOpens([](QtDialogWindow& dialog) {
        const int keyName = kSingleKeyDialog.keyName.id;
        PressNative(dialog, Qt::Key_Control, KEY_RIGHTCTRL);
        EXPECT_EQ(Text(dialog, keyName), "Right Ctrl");
        PressNative(dialog, Qt::Key_Control, KEY_LEFTCTRL);
        EXPECT_EQ(Text(dialog, keyName), "Ctrl");
        TypeKey(dialog, Qt::Key_Escape);
        EXPECT_EQ(Text(dialog, keyName), "Esc");
        TypeKey(dialog, Qt::Key_Return);
        EXPECT_EQ(Text(dialog, keyName), "Enter");
        EXPECT_TRUE(dialog.isVisible()) << "neither Enter nor Escape closes the dialog";
        Click(dialog, kDialogSkeleton.ok.rect);
    });
    const std::optional<SingleKeyChoice> choice = dialogs.ChooseSingleKey();
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->keyName, "Enter");
}

TEST_F(DialogShellTest, TheComboKeyDialogFillsTheFocusedEditOnly) {
    WhenDialogOpens([](QtDialogWindow& dialog) {
        const ComboKeyDialogLayout& d = kComboKeyDialog;
        TypeKey(dialog, Qt::Key_Q);
        Click(*dialog.control(d.secondKey.id), {4, 4});
        TypeKey(dialog, Qt::Key_W);
        EXPECT_EQ(Text(dialog, d.firstKey.id), "Q");
        EXPECT_EQ(Text(dialog, d.secondKey.id), "W") << "typing adds nothing to the captured name";
        dialog.setFocus(); // neither edit
        TypeKey(dialog, Qt::Key_E);
        TypeKey(dialog, Qt::Key_Return);
        EXPECT_EQ(Text(dialog, d.firstKey.id), "Q");
        EXPECT_EQ(Text(dialog, d.secondKey.id), "W");
        EXPECT_TRUE(dialog.isVisible());
        Click(dialog, d.modifier.clickArea);
        EXPECT_FALSE(dialog.control(d.firstKey.id)->isVisible()) << "the open list covers the edits";
        Pick(dialog, d.modifier.list.id, 6);
        EXPECT_EQ(Text(dialog, d.modifier.display.id), "Right Alt");
        EXPECT_TRUE(dialog.control(d.firstKey.id)->isVisible());
        Click(dialog, kDialogSkeleton.ok.rect);
    });
    const std::optional<ComboKeyChoice> choice = dialogs.ChooseComboKey();
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->modifier, "Right Alt");
    EXPECT_EQ(choice->firstKey, "Q");
    EXPECT_EQ(choice->secondKey, "W");
}

TEST_F(DialogShellTest, TheFireKeyDialogCorrectsItsBoxesAndTakesEnterAndEscape) {
    const FireKeyDialogLayout& d = kFireKeyDialog;
    WhenDialogOpens([&](QtDialogWindow& dialog) {
        Click(*dialog.control(d.speed.id), {4, 4});
        TypeKey(dialog, Qt::Key_A, Qt::ControlModifier);
        TypeText(dialog, "3x");
        EXPECT_EQ(Text(dialog, d.speed.id), "3") << "digits only, and no correction yet";
        Click(*dialog.control(d.times.id), {4, 4});
        EXPECT_EQ(Text(dialog, d.speed.id), "5") << "corrected when the focus left it";
        TypeKey(dialog, Qt::Key_A, Qt::ControlModifier);
        TypeText(dialog, "30");
        EXPECT_EQ(Text(dialog, d.times.id), "30");
        TypeText(dialog, "0");
        EXPECT_EQ(Text(dialog, d.times.id), "1") << "300 is corrected at once";
        TypeKey(dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_FALSE(dialogs.ChooseFireKey());

    WhenDialogOpens([&](QtDialogWindow& dialog) {
        Click(dialog, d.key.clickArea);
        EXPECT_FALSE(dialog.control(d.speed.id)->isVisible());
        Pick(dialog, d.key.list.id, 43);
        TypeKey(dialog, Qt::Key_Return);
    });
    const std::optional<FireKeyChoice> fire = dialogs.ChooseFireKey();
    ASSERT_TRUE(fire);
    EXPECT_EQ(fire->position, 43);
    EXPECT_EQ(fire->text, "F2");
    EXPECT_EQ(fire->speed, 32);
    EXPECT_EQ(fire->times, 1);
}

// Every entry of a dialog's list can be seen in every language: either all
// of them stand inside the list, or the list shows a scroll bar.
TEST_F(DialogShellTest, EveryListShowsAllItsEntriesOrThatItScrolls) {
    struct Case {
        const char* name;
        const DropDownSelector* selector;
        std::function<void()> run;
    };
    const Case lists[] = {
        {"media", &kMediaKeyDialog.key, [this] { dialogs.ChooseMediaKey(); }},
        {"windows key", &kWindowsKeyDialog.key, [this] { dialogs.ChooseApplicationKey(); }},
        {"combo modifier", &kComboKeyDialog.modifier, [this] { dialogs.ChooseComboKey(); }},
        {"fire key", &kFireKeyDialog.key, [this] { dialogs.ChooseFireKey(); }},
    };
    for (const std::uint16_t id : {std::uint16_t{0x409}, std::uint16_t{0x804}, std::uint16_t{0x404}}) {
        langId = id;
        for (const Case& list : lists) {
            bool checked = false;
            WhenDialogOpens([&](QtDialogWindow& dialog) {
                Click(dialog, list.selector->clickArea);
                QListWidget* box = List(dialog, list.selector->list.id);
                ASSERT_NE(box, nullptr);
                const QRect last = box->visualItemRect(box->item(box->count() - 1));
                const bool allInside = last.bottom() < box->viewport()->height();
                EXPECT_TRUE(allInside || box->verticalScrollBar()->isVisible())
                    << list.name << " in language 0x" << std::hex << id;
                checked = true;
                Click(dialog, kDialogSkeleton.cancel.rect);
            });
            list.run();
            EXPECT_TRUE(checked) << list.name;
        }
    }
}

// A name wider than its box takes a smaller font, and past the smallest one
// loses its end; it never shows a clipped middle or reaches past the box.
TEST(QtTextFit, ShrinkToAFloorThenElideAtTheEnd) {
    QFont font = FontFor({"Arial", 14, 400});
    const int width = 80;
    const FittedLine shrunk = FitLine(font, "Right Windows", width);
    EXPECT_EQ(shrunk.text, "Right Windows");
    EXPECT_LE(QFontMetrics(shrunk.font).horizontalAdvance(shrunk.text), width);
    EXPECT_GE(shrunk.font.pixelSize(), 8);

    const QString long_ = "Combo Key-Right Ctrl+Right Windows+Num Enter";
    const FittedLine elided = FitLine(font, long_, width);
    EXPECT_GE(elided.font.pixelSize(), 8);
    EXPECT_LE(QFontMetrics(elided.font).horizontalAdvance(elided.text), width);
    EXPECT_TRUE(elided.text.endsWith(QChar(0x2026))) << elided.text.toStdString();
    EXPECT_TRUE(long_.startsWith(elided.text.chopped(1)));
}

TEST_F(DialogShellTest, ACapturedKeyNameShowsWholeInItsBox) {
    WhenDialogOpens([](QtDialogWindow& dialog) {
        PressNative(dialog, Qt::Key_Super_R, KEY_RIGHTMETA);
        auto* name = qobject_cast<QLabel*>(dialog.control(kSingleKeyDialog.keyName.id));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), "Right Windows");
        EXPECT_LE(QFontMetrics(name->font()).horizontalAdvance(name->text()), name->width() - 4);
        Click(dialog, kDialogSkeleton.cancel.rect);
    });
    dialogs.ChooseSingleKey();
}

TEST_F(DialogShellTest, AMissingBackgroundIsSaidAndTheBlankDialogStillAnswers) {
    std::filesystem::remove(data.skin() / "windows-key.png");
    for (const Rect button :
         {kDialogSkeleton.ok.rect, kDialogSkeleton.cancel.rect, kDialogSkeleton.close.rect}) {
        WhenDialogOpens([&](QtDialogWindow& dialog) {
            EXPECT_EQ(dialog.size(), QSize(387, 286));
            Click(dialog, button);
        });
        const std::optional<ApplicationKeyChoice> choice = dialogs.ChooseApplicationKey();
        EXPECT_EQ(choice.has_value(), button == kDialogSkeleton.ok.rect);
    }
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0],
              (testing::ShownMessage{"Windows Dialog Load background image failed!!!", "error"}));
}

// Each dialog opens at the size of its background with its controls on the
// wells of the artwork. With QUORVEL_DIALOG_SHOTS naming a folder, a picture
// of each is saved there (the pictures in docs/ are made so).
TEST_F(DialogShellTest, EachDialogOpensAtItsBackgroundsSize) {
    data.write("record.ini", "[Copy]\nItemCount=0\n[Paste]\nItemCount=0\n[Burst]\nItemCount=0\n");
    const char* shots = std::getenv("QUORVEL_DIALOG_SHOTS");
    const auto macroInMode2 = [](QtDialogWindow& dialog) {
        Click(dialog, kMacroKeyDialog.macro.clickArea);
        Pick(dialog, kMacroKeyDialog.macro.list.id, 2);
        EXPECT_EQ(Text(dialog, kMacroKeyDialog.macro.display.id), "Burst");
        Click(dialog, kMacroKeyDialog.modeBox(2));
    };
    const struct {
        const char* file;
        std::uint16_t langId;
        std::string_view background;
        std::function<void(QtDialogWindow&)> user;
        std::function<void()> open;
    } cases[] = {
        {"dialog-single-key.png", 0x409, kSingleKeyBackground,
         [](QtDialogWindow& dialog) { PressNative(dialog, Qt::Key_Control, KEY_RIGHTCTRL); },
         [&] { dialogs.ChooseSingleKey(); }},
        {"dialog-combo-key.png", 0x409, kComboKeyBackground,
         [](QtDialogWindow& dialog) {
             const ComboKeyDialogLayout& d = kComboKeyDialog;
             Click(dialog, d.modifier.clickArea);
             Pick(dialog, d.modifier.list.id, 0);
             TypeKey(dialog, Qt::Key_A);
             Click(*dialog.control(d.secondKey.id), {4, 4});
             TypeKey(dialog, Qt::Key_B);
         },
         [&] { dialogs.ChooseComboKey(); }},
        {"dialog-fire-key.png", 0x409, kFireKeyBackground, [](QtDialogWindow&) {},
         [&] { dialogs.ChooseFireKey(); }},
        {"dialog-fire-key-zh-cn.png", 0x804, kFireKeyBackground, [](QtDialogWindow&) {},
         [&] { dialogs.ChooseFireKey(); }},
        {"dialog-media-key.png", 0x409, kMediaKeyBackground,
         [](QtDialogWindow& dialog) {
             Click(dialog, kMediaKeyDialog.key.clickArea);
             QListWidget* list = List(dialog, kMediaKeyDialog.key.list.id);
             ASSERT_NE(list, nullptr);
             const QPoint at = list->visualItemRect(list->item(3)).center();
             QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
             QApplication::sendEvent(list->viewport(), &move);
             EXPECT_EQ(list->currentRow(), 3) << "the entry under the pointer shows selected";
         },
         [&] { dialogs.ChooseMediaKey(); }},
        {"dialog-windows-key.png", 0x409, kWindowsKeyBackground,
         [](QtDialogWindow& dialog) {
             Click(dialog, kWindowsKeyDialog.key.clickArea);
             Pick(dialog, kWindowsKeyDialog.key.list.id, 2);
             EXPECT_EQ(Text(dialog, kWindowsKeyDialog.key.display.id), "Calculator");
         },
         [&] { dialogs.ChooseApplicationKey(); }},
        {"dialog-macro-key.png", 0x409, kMacroKeyBackground, macroInMode2, [&] { dialogs.ChooseMacro(); }},
        {"dialog-macro-key-zh-tw.png", 0x404, kMacroKeyBackground, macroInMode2,
         [&] { dialogs.ChooseMacro(); }},
        {"dialog-delay-time.png", 0x409, kDelayTimeBackground,
         [](QtDialogWindow& dialog) { TypeText(dialog, "500"); }, [&] { dialogs.ChooseDelay(); }},
    };
    for (const auto& row : cases) {
        langId = row.langId;
        const QImage background(
            QString::fromStdString((data.skin() / std::string(row.background.substr(1))).string()));
        WhenDialogOpens([&](QtDialogWindow& dialog) {
            row.user(dialog);
            QCoreApplication::processEvents();
            const QImage shot = dialog.grab().toImage();
            EXPECT_EQ(shot.size(), background.size()) << row.file;
            if (shots != nullptr) {
                shot.save(QString::fromStdString((std::filesystem::path(shots) / row.file).string()));
            }
        });
        row.open();
    }
    EXPECT_TRUE(messages.shown.empty());
}

// The whole road: the program on the simulated mouse, a row of the Basic
// page, the "Combo Key" entry, the dialog, OK, Apply.
struct ProgramShellTest : testing::ProgramOnSimulatedMouse {};

TEST_F(ProgramShellTest, AComboKeyTypedInTheDialogReachesKeyMatrixOne) {
    const int row = 4; // button 3, slot 3 of the key matrix
    WhenDialogOpens([](QtDialogWindow& dialog) {
        const ComboKeyDialogLayout& d = kComboKeyDialog;
        Click(dialog, d.modifier.clickArea);
        Pick(dialog, d.modifier.list.id, 0);
        Click(*dialog.control(d.firstKey.id), {4, 4});
        TypeKey(dialog, Qt::Key_A);
        Click(*dialog.control(d.secondKey.id), {4, 4});
        TypeKey(dialog, Qt::Key_B);
        Click(dialog, kDialogSkeleton.ok.rect);
    });
    click(kBasicPage.rowBox(row));
    QListWidget* functions = program->window().list(kBasicPage.rowList(row).id);
    ASSERT_NE(functions, nullptr);
    Click(*functions->viewport(), functions->visualItemRect(functions->item(kFnComboKey)).center());

    MainWindow& main = program->controller();
    EXPECT_EQ(main.labels()[0][row - 1], "Combo Key-Left Ctrl+A+B");
    EXPECT_TRUE(messages.shown.empty());
    const auto apply =
        std::find_if(kDialogButtons.begin(), kDialogButtons.end(),
                     [](const CaptionButton& button) { return button.caption == TextId::kApply; });
    click(apply->rect);
    const KeyMatrix matrix = mouse.keyMatrix(1);
    EXPECT_EQ(std::vector<Byte>(matrix.begin() + 12, matrix.begin() + 16),
              (std::vector<Byte>{0x00, 0x01, 0x04, 0x05}));
}

// The skins button of the title bar, the Skins dialog, Ember chosen with an
// orange text colour, OK: the window is drawn from Ember at once, and str.ini
// keeps the choice. With QUORVEL_DIALOG_SHOTS naming a folder, pictures of
// the dialog and of the window in Ember are saved there.
TEST_F(ProgramShellTest, TheSkinsDialogDrawsTheWindowInTheChosenSkin) {
    const char* shots = std::getenv("QUORVEL_DIALOG_SHOTS");
    const auto save = [shots](const QImage& shot, const char* file) {
        if (shots != nullptr) {
            shot.save(QString::fromStdString((std::filesystem::path(shots) / file).string()));
        }
    };
    const QImage before = program->window().picture().copy();
    WhenDialogOpens([&](QtDialogWindow& dialog) {
        const SkinsDialogLayout& d = kSkinsDialog;
        EXPECT_EQ(Text(dialog, d.skin.display.id), "Default");
        Click(dialog, d.skin.clickArea);
        QListWidget* list = List(dialog, d.skin.list.id);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(1)->text(), "Ember");
        Pick(dialog, d.skin.list.id, 1);
        EXPECT_EQ(Text(dialog, d.skin.display.id), "Ember");
        testing::AnswerColourChooser(QColor(0xFF, 0xB0, 0x50));
        Click(dialog, d.colourSample.rect);
        const QImage shot = dialog.grab().toImage();
        EXPECT_EQ(shot.pixelColor(At(d.colourSample.rect) + QPoint(4, 4)), QColor(0xFF, 0xB0, 0x50));
        save(shot, "dialog-skins.png");
        Click(dialog, kDialogSkeleton.ok.rect);
    });
    click(WindowButtonRect(WindowButtonId::Skins));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(data.read("str.ini").rfind("[Skins]\nRColor=255\nGColor=176\nBColor=80\nPath=Ember\n[", 0), 0u)
        << data.read("str.ini");
    const QImage after = program->window().picture();
    EXPECT_NE(after, before);
    const QImage ember(QString::fromStdString((data.folder / "Skins/Ember/BasicSet2.png").string()));
    EXPECT_EQ(after.pixel(5, 300), ember.pixel(5, 300)) << "the page background comes from Ember";
    save(program->window().grab().toImage(), "main-window-ember.png");
}

// The user's own skins as the report found them: a text file named
// main.png, a main.png cut short, and one of 157 bytes that claims 20000 x
// 20000 pixels, each beside the Default skin's other images; str.ini names
// the cut one.
struct BrokenSkinsShellTest : testing::ProgramOnSimulatedMouse {
    void SetUp() override {
        namespace fs = std::filesystem;
        const fs::path skins = data.folder / "Skins";
        for (const char* skin : {"Text", "Cut", "Huge"}) {
            fs::copy(skins / "Default", skins / skin, fs::copy_options::recursive);
        }
        data.write("Skins/Text/main.png", "not a picture");
        data.write("Skins/Cut/main.png", data.read("Skins/Default/main.png").substr(0, 400));
        fs::copy_file(fs::path(QUORVEL_SOURCE_DIR) / "tests/data/claims-20000x20000.png",
                      skins / "Huge/main.png", fs::copy_options::overwrite_existing);
        data.write("str.ini", "[Skins]\nRColor=230\nGColor=232\nBColor=238\nPath=Cut\n");
        ProgramOnSimulatedMouse::SetUp();
    }
};

TEST_F(BrokenSkinsShellTest, ASkinItCannotDrawIsNeitherUsedNorOffered) {
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              (data.folder / "Skins/Cut/main.png").string() +
                  ": not an image this program can read (damaged, cut short or no PNG)\n"
                  "The skin \"Cut\" cannot be drawn; the Default skin is used.");
    const QImage picture = program->window().picture();
    const QImage standard(QString::fromStdString((data.folder / "Skins/Default/BasicSet2.png").string()));
    EXPECT_EQ(picture.size(), QSize(880, 640));
    EXPECT_EQ(picture.pixel(5, 300), standard.pixel(5, 300)) << "the window is drawn in the Default skin";

    WhenDialogOpens([](QtDialogWindow& dialog) {
        const SkinsDialogLayout& d = kSkinsDialog;
        EXPECT_EQ(Text(dialog, d.skin.display.id), "Default");
        Click(dialog, d.skin.clickArea);
        QListWidget* list = List(dialog, d.skin.list.id);
        ASSERT_NE(list, nullptr);
        std::vector<std::string> offered;
        for (int i = 0; i < list->count(); ++i) {
            offered.push_back(list->item(i)->text().toStdString());
        }
        EXPECT_EQ(offered, (std::vector<std::string>{"Default", "Ember"}));
        if (const char* shots = std::getenv("QUORVEL_DIALOG_SHOTS")) {
            dialog.grab().toImage().save(
                QString::fromStdString((std::filesystem::path(shots) / "dialog-skins-broken.png").string()));
        }
        Click(dialog, kDialogSkeleton.cancel.rect);
    });
    click(WindowButtonRect(WindowButtonId::Skins));
    EXPECT_EQ(messages.shown.size(), 1u);
}

} // namespace
} // namespace quorvel
