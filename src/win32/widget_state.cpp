#include "win32/widget_state.h"
// After windows.h, which the widget's header brings.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/chart_window.h"
#include "win32/wide_text.h"
#include "win32/widget_factory.h"

namespace tovarin {

std::string WindowText(HWND control) { return ProgramText(WideWindowText(control)); }

namespace {

void ShowCaption(Widget& widget) {
    const std::string& caption = widget.Control->Caption();
    if (caption == widget.ShownText) return;
    SetWideText(widget.Handle, caption);
    widget.ShownText = caption;
    if (SizesToCaption(widget))
        FitLabel(widget, reinterpret_cast<HFONT>(SendMessageW(widget.Handle, WM_GETFONT, 0, 0)));
}

// The program selects a box's whole text to point the player at it; the selection is shown once, so that the
// player's own caret and selection are left alone afterwards.
void ShowEditText(Widget& widget, const TEdit& box) {
    // Compared as shown: a text in UTF-8 and the same in Windows-1252 are one text to the player.
    if (const std::wstring shown = Wide(box.Text()); WideWindowText(widget.Handle) != shown) {
        SetWindowTextW(widget.Handle, shown.c_str());
    }
    if (box.AllSelected() && !widget.ShownAllSelected) SendMessageW(widget.Handle, EM_SETSEL, 0, -1);
    widget.ShownAllSelected = box.AllSelected();
}

void ShowMemoLines(Widget& widget, const TMemo& memo) {
    std::string text;
    for (const std::string& line : memo.Lines()) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    if (text == widget.ShownText) return;
    SetWideText(widget.Handle, text);
    widget.ShownText = text;
}

void ShowCheck(Widget& widget, const TCheckBox& box) {
    ShowCaption(widget);
    const WPARAM state = box.Checked() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(widget.Handle, BM_GETCHECK, 0, 0)) != state) {
        SendMessageW(widget.Handle, BM_SETCHECK, state, 0);
    }
}

struct ListMessages {
    UINT Reset;
    UINT Add;
    UINT GetSelection;
    UINT SetSelection;
};

// The width of the widest item in the control's font.
int WidestItem(HWND control, const std::vector<std::string>& items) {
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (const std::string& item : items) {
        const std::wstring shown = Wide(item);
        SIZE size{};
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return widest;
}

// A drop-down opens as wide as its widest item, so that no name is cut; the control itself keeps the size its
// layout gives it. (A list box shows a row wider than itself in a tooltip.)
void OpenAsWideAsItems(HWND combo, const std::vector<std::string>& items) {
    const int margins = 2 * GetSystemMetrics(SM_CXEDGE);
    const int opened =
        WidestItem(combo, items) + margins + 2 * GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(opened), 0);
}

void ReplaceItems(Widget& widget, const TItemList& list, const ListMessages& messages) {
    SendMessageW(widget.Handle, WM_SETREDRAW, FALSE, 0);
    SendMessageW(widget.Handle, messages.Reset, 0, 0);
    for (const std::string& item : list.Items()) {
        SendMessageW(widget.Handle, messages.Add, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
    if (messages.Add == CB_ADDSTRING) OpenAsWideAsItems(widget.Handle, list.Items());
    SendMessageW(widget.Handle, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(widget.Handle, nullptr, TRUE);
    widget.ShownItems = list.Items();
}

void ShowSelection(Widget& widget, const TItemList& list, const ListMessages& messages) {
    if (SendMessageW(widget.Handle, messages.GetSelection, 0, 0) != list.ItemIndex()) {
        SendMessageW(widget.Handle, messages.SetSelection, static_cast<WPARAM>(list.ItemIndex()), 0);
    }
}

void ShowComboItems(Widget& widget, const TComboBox& list) {
    constexpr ListMessages kMessages{CB_RESETCONTENT, CB_ADDSTRING, CB_GETCURSEL, CB_SETCURSEL};
    if (list.Items() != widget.ShownItems) ReplaceItems(widget, list, kMessages);
    ShowSelection(widget, list, kMessages);
}

// A list box rebuilt after a change (a mount changed, a ship swapped) keeps its scroll position.
void ShowListItems(Widget& widget, const TListBox& list) {
    constexpr ListMessages kMessages{LB_RESETCONTENT, LB_ADDSTRING, LB_GETCURSEL, LB_SETCURSEL};
    if (list.Items() != widget.ShownItems) {
        const LRESULT top = SendMessageW(widget.Handle, LB_GETTOPINDEX, 0, 0);
        ReplaceItems(widget, list, kMessages);
        SendMessageW(widget.Handle, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    ShowSelection(widget, list, kMessages);
}

}  // namespace

// The tab control marks its chosen tab pressed. Wine's keeps the mark on the tab chosen last by a click (or by
// TCM_SETCURSEL) when an arrow key chooses another, and takes a later click on a tab for a click among several
// pressed ones, which only clears the marks: the click changes nothing until the keys return to the marked tab.
// Keeping the mark off every tab but the chosen one lets clicks and keys take turns in any order.
void ShowActivePage(HWND tabs, int page) {
    if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != page)
        SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    const auto count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TCITEMW tab{};
        tab.mask = TCIF_STATE;
        tab.dwStateMask = TCIS_BUTTONPRESSED;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
        if (index == page || (tab.dwState & TCIS_BUTTONPRESSED) == 0) continue;
        tab.dwState = 0;
        SendMessageW(tabs, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
    }
}

void ShowControlState(Widget& widget) {
    if (widget.Handle == nullptr) return;
    TControl* control = widget.Control;
    if (auto* box = dynamic_cast<TEdit*>(control)) {
        ShowEditText(widget, *box);
    } else if (auto* memo = dynamic_cast<TMemo*>(control)) {
        ShowMemoLines(widget, *memo);
    } else if (auto* check = dynamic_cast<TCheckBox*>(control)) {
        ShowCheck(widget, *check);
    } else if (auto* combo = dynamic_cast<TComboBox*>(control)) {
        ShowComboItems(widget, *combo);
    } else if (auto* list = dynamic_cast<TListBox*>(control)) {
        ShowListItems(widget, *list);
    } else if (auto* chart = dynamic_cast<TChartView*>(control)) {
        ShowChart(widget.Handle, *chart, widget.ShownPicture);
    } else if (widget.Row->Kind != ControlKind::PageControl && widget.Row->Kind != ControlKind::UpDown &&
               widget.Row->Kind != ControlKind::Bevel && widget.Row->Kind != ControlKind::Grid) {  // a GridView's
        ShowCaption(widget);  // labels, group boxes, buttons
    }
}

}  // namespace tovarin
