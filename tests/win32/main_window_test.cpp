#include <gtest/gtest.h>
#include <windows.h>
// The common controls' header needs windows.h before it.
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "demo/demo_installation.h"
#include "gamefiles/wide_paths.h"
#include "mods/mod_cells.h"
#include "testkit/recording_win32_platform.h"
#include "testkit/temp_game_folder.h"
#include "timed_steps.h"
#include "ui/booster_dialog_layout.h"
#include "ui/fleet_dialogs_layout.h"
#include "ui/layout_growth.h"
#include "ui/main_window_layout.h"
#include "ui/tab_order.h"
#include "win32/wide_text.h"
#include "win32/widget_state.h"
#include "win32/win32_platform.h"
#include "win32/window_placement.h"
#include "window/application.h"
#include "window/booster_dialog.h"
#include "window/form1.h"

// The real main window driven as a person drives it, with the messages Windows sends for clicks and keys.
namespace tovarin {
namespace {

constexpr LONG kResizable = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr LPARAM kAltHeld = 1 | (1 << 29);

// Types the text at the caret, key by key.
void TypeInto(HWND box, const std::string& text) {
    SetFocus(box);
    for (const char letter : text) SendMessageA(box, WM_CHAR, static_cast<WPARAM>(letter), 1);
}

// The extent of a text in a control's font; with `wrapWidth`, broken into lines within that width.
SIZE TextExtent(HWND control, const std::string& text, int wrapWidth = 0) {
    HDC dc = GetDC(control);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT extent{0, 0, wrapWidth, 0};
    DrawTextA(dc, text.c_str(), -1, &extent, DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    ReleaseDC(control, dc);
    return {extent.right, extent.bottom};
}

// The width a control needs to show a text whole: the text and what the control draws beside it (lists,
// drop-downs and memos scroll).
LONG NeededWidth(HWND control, ControlKind kind, LONG text) {
    SIZE ideal{};
    RECT lastTab{};
    switch (kind) {
        case ControlKind::Button:
            return text + 6;  // its edges
        case ControlKind::GroupBox:
            return text + 16;  // its corners
        case ControlKind::Edit:
            return text + LOWORD(SendMessageA(control, EM_GETMARGINS, 0, 0)) +
                   HIWORD(SendMessageA(control, EM_GETMARGINS, 0, 0));
        case ControlKind::CheckBox:
            SendMessageA(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
            return ideal.cx;  // with its square
        case ControlKind::PageControl:
            SendMessageA(control, TCM_GETITEMRECT, SendMessageA(control, TCM_GETITEMCOUNT, 0, 0) - 1,
                         reinterpret_cast<LPARAM>(&lastTab));
            return lastTab.right;  // all its tabs
        case ControlKind::Label:
            return text;
        default:
            return 0;
    }
}

// Every caption of a window is whole in its control, which has the size its layout gives it.
void ExpectCaptionsFit(const FormWindow& window, const std::vector<LayoutRow>& rows) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (const LayoutRow& row : rows) {
        HWND control = window.ControlHandle(row.Name);
        if (control == nullptr || row.Kind == ControlKind::UpDown) continue;  // arrows take their box's height
        RECT frame{};
        RECT room{};
        GetWindowRect(control, &frame);
        GetClientRect(control, &room);
        const std::string text = WindowText(control);
        SCOPED_TRACE(std::string(row.Name) + " \"" + text + "\"");
        EXPECT_EQ(frame.right - frame.left, MulDiv(row.Width, dpi, 96)) << "grown";
        const SIZE extent = TextExtent(control, text, row.WordWrap ? room.right : 0);
        EXPECT_LE(NeededWidth(control, row.Kind, extent.cx), room.right);
        EXPECT_TRUE(row.Kind != ControlKind::Label || extent.cy <= room.bottom) << "lines";
    }
}

// The demo's guns, missiles and ships with the first ship, the Kestrel, loaded, and the main window open on them.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::AddDemoWeapons(game);
        demo::AddDemoShips(game);
        ASSERT_EQ(app.Start(), std::nullopt);
        window = platform.OpenMainWindow(Form());
        window->Show();
        Pump();
    }

    TForm1& Form() { return app.Form1(); }
    HWND Handle(std::string_view name) const { return window->ControlHandle(name); }

    // Handles every message waiting in the thread's queue, as the window's message loop would.
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) window->ProcessMessage(message);
    }

    // A key pressed in a control (with Alt held for a WM_SYSCHAR). It goes through the message loop, where the
    // window handles its dialog keys.
    void PressKey(HWND control, WPARAM key, UINT message = WM_KEYDOWN) {
        SetFocus(control);
        PostMessageA(control, message, key, message == WM_SYSCHAR ? kAltHeld : 1);
        Pump();
    }

    // A left click in the middle of an item (a tab, a list entry) whose rectangle the message gives.
    void ClickItem(HWND control, UINT itemRectMessage, int item) {
        RECT rect{};
        SendMessageA(control, itemRectMessage, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
        const LPARAM where = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
        SendMessageA(control, WM_LBUTTONUP, 0, where);
        Pump();
    }

    // What the window answers when the list's tooltip asks for its text with the mouse on the row (the window owns
    // the lists' tooltip, the Fleet grid's and the chart's: the list's is the one that answers).
    std::string RowTip(HWND list, int row) {
        RECT rect{};
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
        SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
        HWND tip = nullptr;
        while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
            if (GetWindow(tip, GW_OWNER) != window->Handle()) continue;
            NMTTDISPINFOW info{};
            info.hdr = {tip, reinterpret_cast<UINT_PTR>(list), TTN_GETDISPINFOW};
            SendMessageW(window->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
            if (info.lpszText != nullptr && *info.lpszText != L'\0') return ProgramText(info.lpszText);
        }
        return "";
    }

    // The names of the buttons that show the default frame.
    std::string FramedButtons() {
        std::string names;
        for (const LayoutRow& row : MainWindowLayout()) {
            const LONG style = GetWindowLongA(Handle(row.Name), GWL_STYLE);
            if (row.Kind == ControlKind::Button && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) names += row.Name;
        }
        return names;
    }

    testkit::TempGameFolder game;
    testkit::RecordingWin32Platform platform{game.Folder()};
    Application app{platform};
    std::unique_ptr<FormWindow> window;
};

// A player's session: choose a mount with a click, type a typo and click "&Save Modifications". The check's message
// shows, the box holds its value from before the typo again, the ship is not saved, the focus is back in the box with
// its text selected, and the button is neither drawn pressed nor holding the mouse; a typo and a click on the mount
// list keep the mount chosen. A handler that fails shows its error and the window goes on; one that ends the program
// ends the message loop with its exit code.
TEST_F(MainWindowTest, FollowsAPlayersClicksAndKeys) {
    EXPECT_EQ(GetWindowLongA(window->Handle(), GWL_STYLE) & kResizable, kResizable) << "a sizing frame";
    ClickItem(Handle("ListBox1"), LB_GETITEMRECT, 2);
    EXPECT_EQ(Form().ListBox1.ItemIndex(), 2);

    const demo::Bytes ship = game.ReadFile("Ships\\kestrel.iff");
    HWND box = Handle("Edit29");
    HWND save = Handle("Button2");
    int changes = 0;
    Form().Edit29.OnChange = [&changes] { ++changes; };
    SendMessageA(box, EM_SETSEL, 0, -1);
    TypeInto(box, "abc");
    EXPECT_EQ(changes, 3) << "one change per key";
    SendMessageA(window->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);  // to another program and back
    SendMessageA(window->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    Pump();
    EXPECT_TRUE(platform.Boxes.empty()) << "switching programs is not leaving the box";
    SendMessageA(save, BM_CLICK, 0, 0);  // the button's press and release, as a click sends them
    Pump();
    EXPECT_EQ(platform.Boxes, std::vector<std::string>{"Error: Mass: 'abc' is not a valid integer value."});
    EXPECT_EQ(WindowText(box), "9800");
    EXPECT_EQ(changes, 4) << "the check's own change, not echoed back from the window";
    EXPECT_EQ(GetFocus(), box);
    DWORD selected[2] = {};
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selected[0]), reinterpret_cast<LPARAM>(&selected[1]));
    EXPECT_EQ(selected[1] - selected[0], 4u) << "the whole text selected";
    EXPECT_TRUE(game.ReadFile("Ships\\kestrel.iff") == ship) << "saved";
    EXPECT_EQ(SendMessageA(save, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "drawn pressed";
    EXPECT_NE(GetCapture(), save);
    TypeInto(box, "x");
    ClickItem(Handle("ListBox1"), LB_GETITEMRECT, 0);
    EXPECT_EQ(Form().ListBox1.ItemIndex(), 2);
    EXPECT_EQ(GetFocus(), box);

    Form().Button3.OnClick = [] { throw std::out_of_range("Index out of range"); };
    SendMessageA(Handle("Button3"), BM_CLICK, 0, 0);
    EXPECT_EQ(platform.Boxes.back(), "Error: Index out of range.") << "any error in a handler is shown";
    Form().Button10.OnClick = [this] { platform.Halt(3); };
    SendMessageA(Handle("Button10"), BM_CLICK, 0, 0);
    EXPECT_EQ(platform.RunMessageLoop(Form()), 3) << "a handler that ends the program ends the loop at once";
}

// The keys of a native dialog: Tab walks the shown controls in the layout's order, and only the button that Enter
// would press, the focused one, shows the default frame, however the focus came. A mnemonic presses its control
// (Alt+U unticks "A&utoslide"), and Esc presses "E&xit".
TEST_F(MainWindowTest, KeysWorkAsInADialog) {
    std::vector<const LayoutRow*> shown;
    for (const LayoutRow* row : TabOrder(MainWindowLayout())) {
        if (IsWindowVisible(Handle(row->Name)) && IsWindowEnabled(Handle(row->Name))) shown.push_back(row);
    }
    ASSERT_FALSE(shown.empty());
    SetFocus(Handle(shown.front()->Name));
    for (std::size_t step = 1; step <= shown.size(); ++step) {
        PressKey(GetFocus(), VK_TAB);
        const LayoutRow& next = *shown[step % shown.size()];
        ASSERT_EQ(GetFocus(), Handle(next.Name)) << "Tab " << step << ": " << next.Name;
        EXPECT_EQ(FramedButtons(), next.Kind == ControlKind::Button ? next.Name : "") << "Tab to " << next.Name;
    }
    PressKey(Handle("Button9"), VK_TAB);
    SendMessageA(Handle("Button4"), BM_CLICK, 0, 0);
    EXPECT_EQ(FramedButtons(), "Button4") << "Tab to Export, then a click on Change";
    SetFocus(Handle("Edit1"));  // as a click does
    EXPECT_EQ(FramedButtons(), "");
    PressKey(GetFocus(), 'm', WM_SYSCHAR);
    EXPECT_EQ(GetFocus(), Handle("Edit28")) << "Alt+M reaches the mount's Ammunition";
    PressKey(GetFocus(), 'u', WM_SYSCHAR);
    EXPECT_EQ(GetFocus(), Handle("CheckBox1"));
    EXPECT_FALSE(Form().CheckBox1.Checked()) << "Alt+U kept the Kestrel's autoslide";
    PressKey(GetFocus(), VK_ESCAPE);
    EXPECT_TRUE(Form().Closed()) << "Esc presses E&xit";
}

// Ctrl+Z undoes the window's last change and Ctrl+Y redoes it wherever the focus is, but in an edit box with typing to
// undo Ctrl+Z is the box's own, as in every Windows program; Alt+Z presses Undo, which names its step.
TEST_F(MainWindowTest, CtrlZUndoesTheLastChangeButTypingInABoxFirst) {
    const auto kestrel = [this] { return game.ReadFile("Ships\\kestrel.iff"); };
    const demo::Bytes original = kestrel();
    HWND box = Handle("Edit29");
    SendMessageA(box, EM_SETSEL, 0, -1);
    TypeInto(box, "4321");
    PressKey(box, 's', WM_SYSCHAR);
    const demo::Bytes saved = kestrel();
    ASSERT_NE(saved, original);
    EXPECT_EQ(WindowText(Handle("Undo")), "Undo save of Kestrel (&Z)");
    const auto withCtrl = [&](WPARAM key, bool shift) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PressKey(box, key);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    };
    withCtrl('Z', false);
    EXPECT_EQ(kestrel(), original);
    EXPECT_EQ(WindowText(box), Form().Edit29.Text());
    EXPECT_FALSE(IsWindowEnabled(Handle("Undo")));
    withCtrl('Y', false);
    EXPECT_EQ(kestrel(), saved);
    EXPECT_EQ(WindowText(box), "4321");
    TypeInto(box, "7");
    withCtrl('Z', false);
    EXPECT_EQ(WindowText(box), "4321") << "the box's typing undone";
    EXPECT_EQ(kestrel(), saved);
    PressKey(box, 'z', WM_SYSCHAR);
    EXPECT_EQ(kestrel(), original);
    withCtrl('Z', true);
    EXPECT_EQ(kestrel(), saved) << "Ctrl+Shift+Z redoes";
    EXPECT_EQ(platform.Boxes, std::vector<std::string>{});
}

// The Fleet page's dialogs open modally over the main window, in a fixed frame with a close box, every caption of
// theirs fits, and Esc closes them having written nothing.
TEST_F(MainWindowTest, TheFleetDialogsOpenModallyAndEveryCaptionFits) {
    const struct {
        const char* Title;
        const std::vector<LayoutRow>& Rows;
        std::function<void()> Open;
    } dialogs[] = {{"Change Many at Once", BulkChangeDialogLayout(),
                    [this] {
                        Form().ChangeManyAtOnce(SheetKind::Ships, {0, 1}, 2);
                    }},
                   {"Make a Mod from My Changes", MakeModDialogLayout(), [this] { Form().MakeModFromMyChanges(); }}};
    for (const auto& dialog : dialogs) {
        SCOPED_TRACE(dialog.Title);
        const auto shown = [&dialog] { return FormWindow::FromHandle(FindWindowA(nullptr, dialog.Title)); };
        bool seen = false;
        testkit::TimedSteps steps({
            [&] {
                if (shown() == nullptr) return false;
                seen = true;
                ExpectCaptionsFit(*shown(), dialog.Rows);
                EXPECT_FALSE(IsWindowEnabled(window->Handle())) << "the main window waits";
                const LONG style = GetWindowLongA(shown()->Handle(), GWL_STYLE);
                EXPECT_TRUE((style & kResizable) == 0 && (style & WS_SYSMENU) != 0) << "a fixed frame, a close box";
                PostMessageA(shown()->ControlHandle("Edit1"), WM_KEYDOWN, VK_ESCAPE, 1);
                return true;
            },
            [&] { return shown() != nullptr ? (shown()->Form().Close(), true) : true; },
        });
        dialog.Open();
        EXPECT_TRUE(seen);
        EXPECT_EQ(shown(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(window->Handle()));
        EXPECT_EQ(Form().History.ToUndo(), nullptr) << "nothing written";
    }
}

// "Edit Booster" opens modally on the Warden's values, in a fixed frame with a close box, and every caption of it
// fits (as every caption of the main window does, in the face the windows chose: "MS Sans Serif" where it is
// installed, elsewhere one fitted to the captions; the suite runs this in a Wine prefix with Wine's own fonts and in
// one without). Esc and the close box leave the values as they were before the dialog opened; Enter in a box
// presses OK, which stores them. The focus comes back where it was.
TEST_F(MainWindowTest, EveryCaptionOfBothWindowsFitsItsControl) {
    ExpectCaptionsFit(*window, MainWindowLayout());
    PressKey(Handle("ComboBox1"), VK_DOWN);
    ASSERT_EQ(Form().ComboBox1.Text(), "Warden");
    const auto dialogWindow = [] { return FormWindow::FromHandle(FindWindowA(nullptr, "Edit Booster")); };
    const int loaded = Form().Ship.BoosterValues[1];
    const std::pair<UINT, WPARAM> ways[] = {{WM_KEYDOWN, VK_ESCAPE}, {WM_CLOSE, 0}, {WM_KEYDOWN, VK_RETURN}};
    for (const auto& [message, key] : ways) {
        SCOPED_TRACE(message == WM_CLOSE ? "close box" : key == VK_ESCAPE ? "Esc" : "Enter");
        testkit::TimedSteps steps({
            [&] {
                FormWindow* shown = dialogWindow();
                if (shown == nullptr) return false;
                ExpectCaptionsFit(*shown, BoosterDialogLayout());
                EXPECT_EQ(WindowText(shown->ControlHandle("Edit1")), "2800") << "the Warden's boosted speed";
                EXPECT_FALSE(IsWindowEnabled(window->Handle())) << "the main window waits";
                const LONG style = GetWindowLongA(shown->Handle(), GWL_STYLE);
                EXPECT_TRUE((style & kResizable) == 0 && (style & WS_SYSMENU) != 0) << "a fixed frame, a close box";
                HWND acceleration = shown->ControlHandle("Edit3");
                SendMessageA(acceleration, EM_SETSEL, 0, -1);
                TypeInto(acceleration, "950");
                EXPECT_EQ(WindowText(shown->ControlHandle("Label9")), "950") << "the grey copy follows every key";
                PostMessageA(message == WM_CLOSE ? shown->Handle() : acceleration, message, key, key != 0);
                return true;
            },
            [&] { return app.Form3().Close(), true; },  // never leave the test waiting on an open dialog
        });
        SendMessageA(Handle("Button11"), BM_CLICK, 0, 0);
        EXPECT_EQ(dialogWindow(), nullptr);
        EXPECT_EQ(Form().Ship.BoosterValues[1], key == VK_RETURN ? 950 : loaded);
        EXPECT_TRUE(IsWindowEnabled(window->Handle()));
        EXPECT_EQ(GetFocus(), Handle("Button11")) << "the focus is back where it was";
    }
    EXPECT_TRUE(platform.Boxes.empty());
}

// With an unsaved change on the Guns tab, the arrow keys in the open "Select a gun" list only move through it: the
// question comes when Enter closes the list on another gun, and not at all when Esc closes it.
TEST_F(MainWindowTest, ADropDownListAsksAndLoadsOnlyWhenItClosesOnAnotherItem) {
    ClickItem(Handle("PageControl1"), TCM_GETITEMRECT, 3);
    SendMessageA(Handle("Edit30"), EM_SETSEL, 0, -1);
    TypeInto(Handle("Edit30"), "777");
    HWND list = Handle("ComboBox4");
    for (const WPARAM close : {VK_ESCAPE, VK_RETURN}) {
        PressKey(list, VK_F4);
        ASSERT_NE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0), FALSE);
        PressKey(list, VK_DOWN);
        PressKey(list, VK_DOWN);
        EXPECT_TRUE(platform.Boxes.empty()) << "asked while the list was open";
        EXPECT_EQ(WindowText(Handle("Edit30")), "777") << "a gun loaded while the list was open";
        PressKey(list, close);
        EXPECT_EQ(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    }
    EXPECT_NE(WindowText(Handle("Edit30")), "777") << "the Mass Driver loaded";
    EXPECT_EQ(platform.Boxes, std::vector<std::string>{"Question: Save changes to Pulse Laser?"});
    EXPECT_EQ(Form().ComboBox4.ItemIndex(), 2) << "answered No: the gun the list closed on";
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 2);
}

// On the Corsair, whose mounts ("Gatling Autocannon * 1200") are wider than their lists, every control shows the
// model: text, items, selection, check, enabled, and hidden where the model says so. Every list shows all the rows
// its height has room for, no scroll bar covering one, and a row wider than the list whole in its tooltip; every
// drop-down opens as wide as its widest item. Tabs chosen by clicks and by the arrow keys, in any order, each show
// their page and only its controls.
TEST_F(MainWindowTest, ListsShowTheirWidestRowAndTabsFollowClicksAndKeys) {
    for (int step = 0; step < 3; ++step) PressKey(Handle("ComboBox1"), VK_DOWN);
    ASSERT_EQ(Form().ComboBox1.Text(), "Corsair");
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.Kind == ControlKind::TabSheet) continue;
        SCOPED_TRACE(std::string(row.Name));
        HWND control = Handle(row.Name);
        const TControl* model = Form().FindComponent(row.Name);
        ASSERT_TRUE(control != nullptr && model != nullptr);
        EXPECT_TRUE(model->Visible() || !IsWindowVisible(control));
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, model->Enabled());
        if (const auto* box = dynamic_cast<const TEdit*>(model)) {
            EXPECT_EQ(WindowText(control), box->Text());
        }
        if (const auto* check = dynamic_cast<const TCheckBox*>(model)) {
            EXPECT_EQ(SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED, check->Checked());
        }
        const auto* list = dynamic_cast<const TItemList*>(model);
        if (list == nullptr) continue;
        const bool combo = row.Kind == ControlKind::ComboBox;
        std::vector<std::string> items(SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
        LONG widest = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            char item[256] = {};
            SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
            items[i] = item;
            widest = std::max(widest, TextExtent(control, item).cx);
        }
        EXPECT_EQ(items, list->Items());
        EXPECT_EQ(SendMessageA(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0), list->ItemIndex());
        if (items.empty()) continue;
        if (combo) {
            EXPECT_GE(SendMessageA(control, CB_GETDROPPEDWIDTH, 0, 0), widest + 2 + GetSystemMetrics(SM_CXVSCROLL));
            continue;
        }
        RECT room{};
        GetClientRect(control, &room);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const bool cut = TextExtent(control, items[i]).cx + 4 > room.right;
            EXPECT_EQ(RowTip(control, static_cast<int>(i)), cut ? items[i] : "") << items[i];
        }
    }
    HWND guns = Handle("ListBox1");
    EXPECT_EQ(RowTip(guns, 0), "Gatling Autocannon * 1200");
    RECT room{};
    RECT lastRow{};
    GetClientRect(guns, &room);
    SendMessageA(guns, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&lastRow));
    EXPECT_LE(lastRow.bottom, room.bottom) << "the fourth mount in view";
    HWND tabs = Handle("PageControl1");
    const std::pair<bool, int> steps[] = {{true, 3}, {false, 4}, {true, 1}, {false, 0},
                                          {true, 5}, {false, 4}, {true, 2}, {true, 0}};
    for (const auto& [click, page] : steps) {
        if (click) {
            ClickItem(tabs, TCM_GETITEMRECT, page);
        } else {
            PressKey(tabs, page > Form().PageControl1.ActivePageIndex() ? VK_RIGHT : VK_LEFT);
        }
        EXPECT_EQ(Form().PageControl1.ActivePageIndex(), page) << (click ? "click on " : "key to ") << page;
        EXPECT_EQ(IsWindowVisible(Handle("ListBox3")) != FALSE, page == 1) << "the gun slots' list on its page only";
    }
}

RECT ClientBounds(HWND control) {
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

// The window grows by its sizing border and by maximise, never below its designed size; the controls stand where
// the layout's growth rules put them, and the lists show whole rows. A move to a monitor of twice the scale
// makes the fonts again and places every control at that scale.
// What a list or drop-down shows, read with the wide calls.
std::string WideItems(HWND control, bool dropDown) {
    const UINT count = dropDown ? CB_GETCOUNT : LB_GETCOUNT;
    std::string shown;
    for (WPARAM i = 0; i < static_cast<WPARAM>(SendMessageW(control, count, 0, 0)); ++i) {
        std::wstring item(
            static_cast<std::size_t>(SendMessageW(control, dropDown ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0)), L'\0');
        SendMessageW(control, dropDown ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        shown += Utf8OfWide(item) + "\n";
    }
    return shown;
}

// Mods named in other alphabets and a catalogue's name in the game's Windows-1252 show whole in the real controls; what
// the player types comes back as the command line takes a name (Windows-1252 where it can).
TEST_F(MainWindowTest, NamesInAnyAlphabetShowWholeAndTypedOnesComeBack) {
    game.WriteText("Tovarin Mods\\Скорость\\mod.ini", "[Mod]\r\nName=Скорость\r\n");
    game.WriteText("Tovarin Mods\\sokudo\\mod.ini", "\xEF\xBB\xBF[Mod]\r\nName=速度\r\n");
    game.WriteText("Tovarin Mods\\vitesse\\mod.ini",
                   "[Mod]\r\nName=Vitesse \xE9lev\xE9"
                   "e\r\n");
    ClickItem(Handle("PageControl1"), TCM_GETITEMRECT, 5);
    Form().ComboBox1.Items()[0] = "Kestrel \xC6r\xF8";  // the chosen ship's name, in the caption too
    ClickItem(Handle("PageControl1"), TCM_GETITEMRECT, 0);
    const struct {
        std::string Shown;
        std::string Seen;
    } rows[] = {
        {"Скорость", WideItems(Handle("ListBox6"), false)},
        {"速度", WideItems(Handle("ListBox6"), false)},
        {"Vitesse élevée", WideItems(Handle("ListBox6"), false)},
        {"Kestrel Ærø", WideItems(Handle("ComboBox1"), true)},
        {"Kestrel Ærø - Tovarin", Utf8OfWide(WideWindowText(window->Handle()))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Shown);
        EXPECT_NE(row.Seen.find(row.Shown), std::string::npos) << row.Seen;
    }
    HWND filter = Handle("Edit50");
    SetFocus(filter);
    for (const wchar_t letter : std::wstring(L"Ск\u00E9\u901F")) SendMessageW(filter, WM_CHAR, letter, 1);
    Pump();
    EXPECT_EQ(Form().Edit50.Text(), "Ск\xE9速");
    EXPECT_EQ(WideWindowText(filter), L"Ск\u00E9\u901F") << "as typed";
}

TEST_F(MainWindowTest, GrowsByItsLayoutsRulesAndRedrawsAtANewScale) {
    HWND frame = window->Handle();
    RECT designed{};
    GetWindowRect(frame, &designed);
    HDC screen = GetDC(nullptr);
    const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int dpi = screenDpi;
    const auto expectArranged = [&](const std::string& when) {
        SCOPED_TRACE(when);
        RECT client{};
        GetClientRect(frame, &client);
        const auto itemHeight = static_cast<int>(SendMessageA(Handle("ListBox1"), LB_GETITEMHEIGHT, 0, 0));
        const std::vector<PlacedRow> places = ArrangeLayout(MainWindowLayout(), kMainClientWidth, kMainClientHeight,
                                                            client.right, client.bottom, {dpi, itemHeight});
        const auto& rows = MainWindowLayout();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].Parent != "" || rows[i].Kind == ControlKind::StatusLine) continue;  // the window's own
            const RECT bounds = ClientBounds(Handle(rows[i].Name));
            EXPECT_EQ(bounds.left, places[i].Left) << rows[i].Name;
            EXPECT_EQ(bounds.right - bounds.left, places[i].Width) << rows[i].Name;
            EXPECT_EQ(bounds.bottom, places[i].Top + places[i].Height) << rows[i].Name;
        }
        window->ShowModelState();
        EXPECT_TRUE(IsWindowVisible(Handle("ListBox1"))) << "the shown page's controls";
        for (const char* list : {"ListBox1", "ListBox3", "ListBox4", "ListBox6"}) {
            RECT room{};
            GetClientRect(Handle(list), &room);
            EXPECT_EQ(room.bottom % itemHeight, 0) << list << " shows whole rows";
        }
        return ClientBounds(Handle("ListBox1")).bottom - ClientBounds(Handle("ListBox1")).top;
    };
    const int designedList = expectArranged("as designed");
    MINMAXINFO limits{};
    SendMessageA(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, designed.right - designed.left) << "the smallest size is the designed one";
    EXPECT_EQ(limits.ptMinTrackSize.y, designed.bottom - designed.top);
    SetWindowPos(frame, nullptr, 0, 0, designed.right - designed.left + 300, designed.bottom - designed.top + 240,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GT(expectArranged("grown"), designedList);
    ShowWindow(frame, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(frame));
    expectArranged("maximised");
    ShowWindow(frame, SW_RESTORE);

    // To a monitor of twice the scale, and back.
    const LONG exitWidth = ClientBounds(Handle("Exit")).right - ClientBounds(Handle("Exit")).left;
    const auto lineHeight = SendMessageA(Handle("ListBox1"), LB_GETITEMHEIGHT, 0, 0);
    for (const int factor : {2, 1}) {
        SCOPED_TRACE(factor);
        dpi = screenDpi * factor;
        RECT suggested{designed.left, designed.top, designed.left + (designed.right - designed.left) * factor,
                       designed.top + (designed.bottom - designed.top) * factor};
        SendMessageA(frame, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(ClientBounds(Handle("Exit")).right - ClientBounds(Handle("Exit")).left, exitWidth * factor);
        EXPECT_GE(SendMessageA(Handle("ListBox1"), LB_GETITEMHEIGHT, 0, 0), lineHeight * factor * 3 / 4)
            << "the fonts made again";
        expectArranged("at " + std::to_string(dpi) + " DPI");
    }
}

// A screen reader asking a control for its accessible object hears what the control is, by its label and column,
// and in which group it stands; everything else is the system's (Wine's own objects know the role of an edit box
// only, and call the other controls "client").
TEST_F(MainWindowTest, ScreenReadersHearEachControlsLabelAndGroup) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(Handle("Edit15"), OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;  // CHILDID_SELF: the control itself
    BSTR name = nullptr;
    BSTR group = nullptr;
    ASSERT_EQ(object->get_accName(self, &name), S_OK);
    ASSERT_EQ(object->get_accDescription(self, &group), S_OK);
    EXPECT_EQ(std::wstring(name) + L" / " + group, L"Speed Max / Flight Dynamics");
    SysFreeString(name);
    SysFreeString(group);
    object->Release();
    CoUninitialize();
}

// The window's size, place and maximised state come back on the next start, and a place off every monitor comes
// back on screen whole.
TEST_F(MainWindowTest, TheNextStartPutsTheWindowBackOnScreen) {
    HWND frame = window->Handle();
    RECT designed{};
    GetWindowRect(frame, &designed);
    const LONG width = designed.right - designed.left + 120;
    const LONG height = designed.bottom - designed.top + 80;
    for (const bool maximised : {false, true}) {
        SCOPED_TRACE(maximised ? "maximised" : "normal");
        ShowWindow(frame, SW_RESTORE);
        SetWindowPos(frame, nullptr, -9000, 40, width, height, SWP_NOZORDER);
        if (maximised) ShowWindow(frame, SW_MAXIMIZE);
        SaveWindowPlacement(frame);
        const std::unique_ptr<FormWindow> next = platform.OpenMainWindow(Form());
        ASSERT_TRUE(RestoreWindowPlacement(next->Handle()));
        EXPECT_EQ(IsZoomed(next->Handle()) != FALSE, maximised);
        ShowWindow(next->Handle(), SW_RESTORE);
        RECT placed{};
        GetWindowRect(next->Handle(), &placed);
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_EQ(std::vector({placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top}),
                  std::vector({work.left, work.top + 40, width, height}));
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tovarin");
}

}  // namespace
}  // namespace tovarin
