#include <gtest/gtest.h>

#include <algorithm>

#include "app/basic_page_layout.h"
#include "assign/function_list.h"
#include "win32/child_controls.h"
#include "win32_window_support.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

const BasicPageLayout& B = kBasicPage;
constexpr Point kEmpty{5, 300}; // page background beside the mouse drawing

int RowListId(int row) {
    return B.rowList(row).id;
}

using Win32WindowTest = Win32WindowHarness;

TEST_F(Win32WindowTest, TheWindowIsAFramelessPopupTheSizeOfTheBackground) {
    Start();
    const double ratio = DpiRatio(handle());
    RECT client{};
    GetClientRect(handle(), &client);
    EXPECT_EQ(client.right, static_cast<LONG>(880 * ratio));
    EXPECT_EQ(client.bottom, static_cast<LONG>(640 * ratio));
    RECT outer{};
    GetWindowRect(handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, client.right) << "no frame around the picture";
    const LONG_PTR style = GetWindowLongPtrW(handle(), GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_TRUE(IsWindowVisible(handle()));
}

// The list entry under the pointer is highlighted quietly; a click on that
// very entry, which changes no selection, must still count as the choice.
TEST_F(Win32WindowTest, ARowOpensItsListAndTheClickedEntryIsTheChoice) {
    MainWindow& w = Start();
    LeftClick(handle(), {B.rowBox(2).left + 2, B.rowBox(2).top + 2});
    HWND list = window.control(RowListId(2));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 16);
    RECT box{};
    GetWindowRect(list, &box);
    MapWindowPoints(nullptr, handle(), reinterpret_cast<POINT*>(&box), 2);
    const double ratio = DpiRatio(handle());
    EXPECT_EQ(box.left, static_cast<LONG>(252 * ratio));
    EXPECT_EQ(box.top, static_cast<LONG>(231 * ratio));

    SendMessageW(list, WM_MOUSEMOVE, 0, EntryPoint(list, kFnForward));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), kFnForward)
        << "the entry under the pointer is highlighted";
    ClickEntry(list, kFnForward);
    EXPECT_EQ(w.working().modeA.field(kFieldFunction, 1), kFnForward);
    EXPECT_EQ(w.labels()[0][1], "Forward");
    EXPECT_EQ(window.control(RowListId(2)), nullptr);
    EXPECT_FALSE(IsWindow(list)) << "choosing closes the list";

    // A second click on the row box opens the list again; another click closes it.
    LeftClick(handle(), {B.rowBox(2).left + 2, B.rowBox(2).top + 2});
    ASSERT_NE(window.control(RowListId(2)), nullptr);
    LeftClick(handle(), {B.rowBox(2).left + 2, B.rowBox(2).top + 2});
    EXPECT_EQ(window.control(RowListId(2)), nullptr);
}

TEST_F(Win32WindowTest, OnAScreenOfTwiceTheDensityTheWindowAndItsListsDoubleAndPointsStayInLayoutPixels) {
    MainWindow& w = Start();
    LeftClick(handle(), {B.rowBox(2).left + 2, B.rowBox(2).top + 2});
    HWND list = window.control(RowListId(2));
    ASSERT_NE(list, nullptr);
    const double before = window.ratio();
    RECT listBefore{};
    GetWindowRect(list, &listBefore);
    RECT suggested{40, 30, 0, 0};
    SendMessageW(handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window.ratio(), 2.0);
    RECT client{};
    GetClientRect(handle(), &client);
    EXPECT_EQ(client.right, 1760);
    EXPECT_EQ(client.bottom, 1280);
    RECT listAfter{};
    GetWindowRect(list, &listAfter);
    EXPECT_NEAR((listAfter.right - listAfter.left) / 2.0, (listBefore.right - listBefore.left) / before, 1.0);
    // A press in device pixels lands on the same layout point: another row box.
    const Point row4{B.rowBox(4).left + 2, B.rowBox(4).top + 2};
    SendMessageW(handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row4.x * 2, row4.y * 2));
    EXPECT_NE(window.control(RowListId(4)), nullptr);
    EXPECT_EQ(w.currentPage(), Page::Basic);
}

TEST_F(Win32WindowTest, TheSecondPressOfADoubleClickIsNoClick) {
    MainWindow& w = Start();
    const Point row{B.rowBox(2).left + 2, B.rowBox(2).top + 2};
    LeftClick(handle(), row);
    ASSERT_NE(window.control(RowListId(2)), nullptr);
    SendMessageW(handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(handle(), row));
    EXPECT_NE(window.control(RowListId(2)), nullptr);
    EXPECT_EQ(w.currentPage(), Page::Basic);
}

TEST_F(Win32WindowTest, ClosingHidesTheWindowIntoTheTrayAndKeepsIt) {
    Start();
    ASSERT_TRUE(IsWindowVisible(handle()));
    SendMessageW(handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(handle()));
    EXPECT_FALSE(IsWindowVisible(handle()));
    EXPECT_FALSE(window.visible());
    window.show();
    EXPECT_TRUE(window.visible());
}

TEST_F(Win32WindowTest, TheMessageHandlerHearsWhatTheWindowLeavesToIt) {
    Start();
    std::vector<UINT> heard;
    window.setMessageHandler([&heard](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        heard.push_back(message);
        return message == WM_APP + 1 ? std::optional<LRESULT>(42) : std::nullopt;
    });
    EXPECT_EQ(SendMessageW(handle(), WM_APP + 1, 0, 0), 42);
    EXPECT_EQ(SendMessageW(handle(), WM_APP + 2, 0, 0), 0) << "nothing from the handler: the system's answer";
    SendMessageW(handle(), WM_CLOSE, 0, 0);
    SendMessageW(handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(handle(), kEmpty));
    SendMessageW(handle(), WM_LBUTTONUP, 0, At(handle(), kEmpty));
    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard[0], WM_APP + 1u);
    EXPECT_EQ(heard[1], WM_APP + 2u);
    for (const UINT own : {WM_CLOSE, WM_LBUTTONDOWN, WM_LBUTTONUP}) {
        EXPECT_EQ(std::count(heard.begin(), heard.end(), own), 0) << own << ": the window's own message";
    }
}

TEST_F(Win32WindowTest, ATaskbarEntryComesAndGoesWithoutHidingTheWindow) {
    Start();
    window.setTaskbarEntry(true);
    LONG_PTR style = GetWindowLongPtrW(handle(), GWL_EXSTYLE);
    EXPECT_NE(style & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(style & WS_EX_TOOLWINDOW, 0);
    EXPECT_TRUE(IsWindowVisible(handle()));
    window.setTaskbarEntry(false);
    style = GetWindowLongPtrW(handle(), GWL_EXSTYLE);
    EXPECT_EQ(style & WS_EX_APPWINDOW, 0);
    EXPECT_NE(style & WS_EX_TOOLWINDOW, 0);
    EXPECT_TRUE(IsWindowVisible(handle()));
    window.hide();
    window.setTaskbarEntry(true);
    EXPECT_FALSE(IsWindowVisible(handle())) << "a hidden window stays hidden";
}

TEST_F(Win32WindowTest, DraggingOnEmptySpaceMovesTheWindowWithThePointer) {
    Start();
    RECT before{};
    GetWindowRect(handle(), &before);
    POINT press{static_cast<LONG>(kEmpty.x * DpiRatio(handle())),
                static_cast<LONG>(kEmpty.y * DpiRatio(handle()))};
    ClientToScreen(handle(), &press);
    SetCursorPos(press.x, press.y);
    SendMessageW(handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(handle(), kEmpty));
    SetCursorPos(press.x + 30, press.y + 20);
    SendMessageW(handle(), WM_MOUSEMOVE, MK_LBUTTON, At(handle(), kEmpty));
    RECT after{};
    GetWindowRect(handle(), &after);
    EXPECT_EQ(after.left - before.left, 30);
    EXPECT_EQ(after.top - before.top, 20);

    // Released, the pointer moves alone.
    SendMessageW(handle(), WM_LBUTTONUP, 0, At(handle(), kEmpty));
    SetCursorPos(press.x + 60, press.y + 60);
    SendMessageW(handle(), WM_MOUSEMOVE, 0, At(handle(), kEmpty));
    RECT released{};
    GetWindowRect(handle(), &released);
    EXPECT_EQ(released.left, after.left);
}

TEST_F(Win32WindowTest, ThePopupMenuAnswersTheChosenItemOrNothing) {
    Start();
    const auto openAndType = [&](std::vector<WPARAM> keys) {
        WhenShown([] { return FindWindowW(L"#32768", nullptr); },
                  [keys, this](HWND) {
                      for (const WPARAM key : keys) {
                          PostMessageW(handle(), WM_KEYDOWN, key, 0);
                      }
                  });
        return window.popupMenu({"Copy", "Paste", "Delete"}, {100, 100});
    };
    EXPECT_EQ(openAndType({VK_DOWN, VK_DOWN, VK_RETURN}), 1);
    EXPECT_EQ(openAndType({VK_ESCAPE}), std::nullopt);
}

TEST_F(Win32WindowTest, AQuitWhileTheMenuOrTheColourChooserIsOpenReachesTheOuterLoop) {
    Start();
    const auto quitWhenShown = [](const wchar_t* className) {
        WhenShown([className] { return FindWindowW(className, nullptr); }, [](HWND) { PostQuitMessage(5); });
    };
    const auto quitReachedUs = [] {
        MSG message;
        return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && message.wParam == 5;
    };
    quitWhenShown(L"#32768");
    EXPECT_EQ(window.popupMenu({"Copy", "Paste"}, {100, 100}), std::nullopt);
    EXPECT_TRUE(quitReachedUs()) << "the menu";
    quitWhenShown(L"#32770");
    EXPECT_EQ(window.chooseColour({1, 2, 3}), std::nullopt);
    EXPECT_TRUE(quitReachedUs()) << "the colour chooser";
}

TEST_F(Win32WindowTest, TheColourChooserAnswersTheConfirmedColourOrNothing) {
    Start();
    const auto answer = [&](int button) {
        WhenShown([this] { return FindWindowW(L"#32770", nullptr); },
                  [button](HWND chooser) { PostMessageW(chooser, WM_COMMAND, button, 0); });
        return window.chooseColour({10, 200, 30});
    };
    EXPECT_EQ(answer(IDOK), (Colour{10, 200, 30}));
    EXPECT_EQ(answer(IDCANCEL), std::nullopt);
}

// A bare window with child controls, recording what they report.
struct ControlsParent {
    HWND window = nullptr;
    std::vector<ControlEvent> events;
    std::unique_ptr<ChildControls> controls;

    ControlsParent() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuorvelTestParent";
        RegisterClassExW(&windowClass);
        window = CreateWindowExW(0, L"QuorvelTestParent", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        controls =
            std::make_unique<ChildControls>(window, [this](const ControlEvent& e) { events.push_back(e); });
        controls->setFont({"Arial", 14, 400});
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ControlsParent() {
        controls.reset();
        DestroyWindow(window);
    }
    int count(ControlEvent::Kind kind) const {
        return static_cast<int>(std::count_if(events.begin(), events.end(),
                                              [kind](const ControlEvent& e) { return e.kind == kind; }));
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ControlsParent*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && self->controls) {
            if (const auto result = self->controls->handleMessage(message, wParam, lParam)) {
                return *result;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

struct TypedCase {
    EditKind kind;
    wchar_t typed;
    const char* text; // afterwards
    int changes;      // reported
};

TEST(ChildControlsTest, EditsTakeWhatTheirKindAllowsAndReportOnlyTheUsersChanges) {
    const TypedCase cases[] = {
        {EditKind::Text, L'a', "a", 1},
        {EditKind::Digits, L'7', "7", 1},
        {EditKind::Digits, L'a', "", 0},
        {EditKind::KeyName, L'a', "", 0},
    };
    for (const TypedCase& c : cases) {
        ControlsParent parent;
        parent.controls->createEdit(5, {10, 10, 100, 30}, "", c.kind, TextAlign::Left);
        SendMessageW(parent.controls->handle(5), WM_CHAR, c.typed, 1);
        EXPECT_EQ(parent.controls->text(5), c.text)
            << static_cast<int>(c.kind) << " " << static_cast<char>(c.typed);
        EXPECT_EQ(parent.count(ControlEvent::Kind::EditChanged), c.changes)
            << static_cast<int>(c.kind) << " " << static_cast<char>(c.typed);
    }
}

TEST(ChildControlsTest, AnEditSetByTheProgramReportsNothingAndKeepsItsText) {
    ControlsParent parent;
    parent.controls->createEdit(5, {10, 10, 100, 30}, "12", EditKind::Digits, TextAlign::Right);
    parent.controls->setText(5, "345");
    parent.controls->createStatic(6, {10, 40, 100, 60}, "黑体 Arial", TextAlign::Centre);
    EXPECT_EQ(parent.count(ControlEvent::Kind::EditChanged), 0);
    EXPECT_EQ(parent.controls->text(5), "345");
    EXPECT_EQ(parent.controls->text(6), "黑体 Arial");

    SendMessageW(parent.controls->handle(5), EM_SETSEL, 3, 3);
    SendMessageW(parent.controls->handle(5), WM_CHAR, L'6', 1);
    EXPECT_EQ(parent.controls->text(5), "3456");
    ASSERT_EQ(parent.count(ControlEvent::Kind::EditChanged), 1);
    EXPECT_EQ(parent.events.back().id, 5);

    parent.controls->destroy(5);
    EXPECT_FALSE(parent.controls->exists(5));
    EXPECT_EQ(parent.controls->text(5), "");
}

TEST(ChildControlsTest, AListBoxReportsPointerDoubleClickAndRightClickAndKeepsItsPlaceWhenItsEntriesChange) {
    ControlsParent parent;
    parent.controls->createListBox(9, {20, 30, 220, 130});
    std::vector<std::string> entries;
    for (int i = 0; i < 40; ++i) {
        entries.push_back("Entry " + std::to_string(i));
    }
    parent.controls->setListItems(9, entries);
    HWND list = parent.controls->handle(9);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 40);

    SendMessageW(list, WM_MOUSEMOVE, 0, EntryPoint(list, 2));
    ASSERT_EQ(parent.count(ControlEvent::Kind::ListPointer), 1);
    const ControlEvent pointer = parent.events.back();
    EXPECT_EQ(pointer.index, 2);
    EXPECT_EQ(pointer.item.left, 0);
    EXPECT_GT(pointer.item.top, 0) << "the entry's rectangle inside the list";

    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, EntryPoint(list, 3));
    SendMessageW(list, WM_LBUTTONUP, 0, EntryPoint(list, 3));
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, EntryPoint(list, 3));
    SendMessageW(list, WM_LBUTTONUP, 0, EntryPoint(list, 3));
    ASSERT_EQ(parent.count(ControlEvent::Kind::ListDoubleClicked), 1);
    EXPECT_EQ(parent.events[parent.events.size() - 2].index, 3);

    SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
    ASSERT_EQ(parent.events.back().kind, ControlEvent::Kind::ListRightClicked);
    const double ratio = DpiRatio(parent.window);
    EXPECT_EQ(parent.events.back().at.x, static_cast<int>((20 * ratio + 5) / ratio));
    EXPECT_EQ(parent.events.back().at.y, static_cast<int>((30 * ratio + 6) / ratio));

    parent.controls->highlight(9, 30);
    const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    EXPECT_GT(top, 0) << "the highlighted entry scrolls into view";
    entries[30] = "Changed";
    parent.controls->setListItems(9, entries);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 30);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top);
    EXPECT_EQ(parent.count(ControlEvent::Kind::ListClicked), 2) << "the clicks, and nothing from the program";
}

// A recording adds its lines at the end of the list and may take back the
// last two; an edit replaces, inserts or deletes a line in the middle: only
// the entries named change, those before and after stay.
TEST(ChildControlsTest, AListBoxChangesOnlyTheEntriesNamed) {
    constexpr std::size_t kToTheEnd = WindowPort::kToTheEnd;
    ControlsParent parent;
    parent.controls->createListBox(9, {20, 30, 220, 130});
    parent.controls->setListItems(9, {"A   Dn"});
    HWND list = parent.controls->handle(9);
    const std::vector<std::string> more{"50 ms", "A   Up", "50 ms", "B   Dn"};
    parent.controls->replaceListItems(9, 1, kToTheEnd, more);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 5);
    parent.controls->highlight(9, 4);
    parent.controls->replaceListItems(9, 3, kToTheEnd, std::span<const std::string>());
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    const std::vector<std::string> ctrl{"50 ms", "Ctrl   Dn"};
    parent.controls->replaceListItems(9, 3, kToTheEnd, ctrl);
    parent.controls->replaceListItems(9, 99, kToTheEnd, std::vector<std::string>{"50 ms", "Ctrl   Up"});
    std::vector<std::wstring> texts;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"A   Dn", L"50 ms", L"A   Up", L"50 ms", L"Ctrl   Dn",
                                                L"50 ms", L"Ctrl   Up"}));

    // In the middle: the selected line replaced stays selected; one deleted;
    // two put in after the first.
    parent.controls->highlight(9, 1);
    parent.controls->replaceListItems(9, 1, 1, std::vector<std::string>{"100 ms"});
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    parent.controls->replaceListItems(9, 2, 1, std::span<const std::string>());
    parent.controls->replaceListItems(9, 1, 0, std::vector<std::string>{"50 ms", "M   Dn"});
    texts.clear();
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"A   Dn", L"50 ms", L"M   Dn", L"100 ms", L"50 ms", L"Ctrl   Dn",
                                                L"50 ms", L"Ctrl   Up"}));
    EXPECT_EQ(parent.count(ControlEvent::Kind::ListClicked), 0);
}

} // namespace
} // namespace quorvel
