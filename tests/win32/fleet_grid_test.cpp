#include <gtest/gtest.h>
#include <windows.h>
// The common controls' header needs windows.h before it.
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "demo/demo_installation.h"
#include "testkit/recording_win32_platform.h"
#include "testkit/temp_game_folder.h"
#include "ui/user_input.h"
#include "win32/form_window.h"
#include "win32/win32_platform.h"
#include "window/application.h"
#include "window/form1.h"

// The Fleet page's grid as the real list view: its rows and heads, a click on a head, the tooltips' texts, and a
// cell edited in place with F2, typing and Enter.
namespace tovarin {
namespace {

constexpr int kFleetPage = 7;

std::wstring CellText(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

class FleetGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::AddDemoWeapons(game);
        demo::AddDemoShips(game);
        ASSERT_EQ(app.Start(), std::nullopt);
        window = platform.OpenMainWindow(app.Form1());
        window->Show();
        TabCtrl_SetCurSel(window->ControlHandle("PageControl1"), kFleetPage);
        NMHDR change{window->ControlHandle("PageControl1"), 0, TCN_SELCHANGE};
        SendMessageW(window->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
        Pump();
        list = window->ControlHandle("Grid1");
    }
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) window->ProcessMessage(message);
    }
    void Key(HWND control, WPARAM key) {
        SetFocus(control);
        PostMessageW(control, WM_KEYDOWN, key, 1);
        Pump();
    }
    // What the window answers when the grid's tooltip asks with the mouse at this point of the control.
    std::wstring TipAt(HWND control, POINT where) {
        SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(where.x, where.y));
        HWND tip = nullptr;
        NMTTDISPINFOW info{};
        while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
            info = {};
            info.hdr = {tip, reinterpret_cast<UINT_PTR>(control), TTN_GETDISPINFOW};
            SendMessageW(window->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
            if (info.lpszText != nullptr && *info.lpszText != L'\0') return info.lpszText;
        }
        return L"";
    }
    POINT CellPoint(int row, int column) {
        RECT cell{LVIR_BOUNDS, column, 0, 0};  // the kind of rectangle, and the column
        SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    }

    testkit::TempGameFolder game;
    testkit::RecordingWin32Platform platform{game.Folder()};
    Application app{platform};
    std::unique_ptr<FormWindow> window;
    HWND list = nullptr;
};

TEST_F(FleetGridTest, ShowsSortsTellsAndEditsAsTheModelDoes) {
    TGrid& grid = app.Form1().Grid1;
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 8);
    HWND head = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(head, HDM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(grid.Columns().size()));
    EXPECT_EQ(CellText(list, 0, 0), L"Kestrel");
    EXPECT_EQ(CellText(list, 0, 4), L"600");

    // A click on "Speed Max": the slowest first, the arrow up; again: the fastest first, the arrow down.
    for (const int format : {HDF_SORTUP, HDF_SORTDOWN}) {
        NMLISTVIEW click{};
        click.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = 4;
        SendMessageW(window->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
        Pump();
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(head, HDM_GETITEMW, 4, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(item.fmt & (HDF_SORTUP | HDF_SORTDOWN), format);
        EXPECT_EQ(CellText(list, 0, 0), format == HDF_SORTUP ? L"Bastion" : L"Lancet");
    }
    RECT headItem{};
    SendMessageW(head, HDM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&headItem));
    EXPECT_EQ(TipAt(head, {(headItem.left + headItem.right) / 2, (headItem.top + headItem.bottom) / 2}), L"speedmax");
    EXPECT_EQ(TipAt(list, CellPoint(0, 4)), L"700 original");

    // F2 opens the focused cell, Enter gives the typed text to the page's handler and closes it.
    std::vector<std::string> commits;
    grid.OnEditCommit = [&](std::size_t row, std::size_t column, const std::string& text) {
        commits.push_back(grid.Source()->Value(row, 0) + " " + std::to_string(column) + " " + text);
        return true;
    };
    UserInput::SelectRows(grid, {1}, 4);
    window->ShowModelState();
    Key(list, VK_F2);
    HWND edit = GetFocus();
    ASSERT_NE(edit, list);
    EXPECT_EQ(GetParent(edit), list);
    SetWindowTextW(edit, L"655");
    Key(edit, VK_RETURN);
    EXPECT_EQ(commits, std::vector<std::string>{"Sable 4 655"});
    EXPECT_EQ(GetFocus(), list);

    // A gun mount opens a dropped list of the catalogue's guns, the current one chosen; a choice is committed, Esc
    // commits nothing.
    const auto gun1 = static_cast<std::size_t>(std::find_if(grid.Columns().begin(), grid.Columns().end(),
                                                            [](const GridColumn& c) { return c.Key == "gun1"; }) -
                                               grid.Columns().begin());
    ASSERT_LT(gun1, grid.Columns().size());
    const std::vector<std::string> guns = grid.Choices(gun1);
    for (const bool chosen : {true, false}) {
        UserInput::SelectRows(grid, {1}, gun1);
        window->ShowModelState();
        Key(list, VK_F2);
        HWND box = GetFocus();
        ASSERT_EQ(GetParent(box), list);
        EXPECT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(guns.size()));
        const auto current = SendMessageW(box, CB_GETCURSEL, 0, 0);
        ASSERT_GE(current, 0);
        EXPECT_EQ(guns.at(static_cast<std::size_t>(current)), grid.Value(1, gun1));
        EXPECT_TRUE(SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0));
        if (chosen) {
            SendMessageW(box, CB_SETCURSEL, 0, 0);
            SendMessageW(list, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELENDOK), reinterpret_cast<LPARAM>(box));
        } else {
            Key(box, VK_ESCAPE);
        }
        Pump();
        EXPECT_EQ(GetFocus(), list);
    }
    EXPECT_EQ(commits, (std::vector<std::string>{"Sable 4 655", "Sable " + std::to_string(gun1) + " " + guns.at(0)}));
    EXPECT_TRUE(platform.Boxes.empty());
}

}  // namespace
}  // namespace tovarin
