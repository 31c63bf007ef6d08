#include "win32/widget_factory.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <string>

#include "win32/chart_window.h"
#include "win32/wide_text.h"

namespace tovarin {

namespace {

constexpr int kDefaultDropDownRows = 8;  // what a drop-down list shows when its layout names no number

struct WindowClass {
    const wchar_t* Name;
    DWORD Style;
    DWORD ExStyle;
};

DWORD LabelStyle(const LayoutRow& row) {
    if (row.Centred) return SS_CENTER;
    return row.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
}

WindowClass ClassFor(const LayoutRow& row) {
    const DWORD readOnly = row.ReadOnly ? ES_READONLY : 0;
    switch (row.Kind) {
        case ControlKind::PageControl:
            return {WC_TABCONTROLW, WS_TABSTOP, 0};
        case ControlKind::GroupBox:
            return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Label:
            return {L"STATIC", LabelStyle(row), 0};
        case ControlKind::StatusLine:
            // A text that does not fit ends in "..."; a file name's "&" is shown, not taken for a mnemonic.
            return {L"STATIC", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX, 0};
        case ControlKind::Bevel:
            return {L"STATIC", SS_OWNERDRAW, 0};  // drawn sunk or raised by DrawBevel
        case ControlKind::Edit:
            return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | readOnly | (row.Centred ? ES_CENTER : 0u),
                    row.Borderless ? 0u : WS_EX_CLIENTEDGE};
        case ControlKind::ComboBox:
            return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
        case ControlKind::ListBox:
            return {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox:
            return {L"BUTTON", WS_TABSTOP | BS_CHECKBOX, 0};
        case ControlKind::Button:
            return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::UpDown:
            // Arrows without a place of their own sit at their box's right edge.
            return {UPDOWN_CLASSW,
                    UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS | (row.Width > 0 ? 0u : UDS_ALIGNRIGHT), 0};
        case ControlKind::Memo:
            return {L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | readOnly, WS_EX_CLIENTEDGE};
        case ControlKind::Grid:
            // A virtual list: the grid's rows are asked for as they are painted (win32/grid_view.h).
            return {WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE};
        case ControlKind::ChartView:
            RegisterChartWindowClass();
            return {kChartWindowClass, 0, WS_EX_CLIENTEDGE};
        case ControlKind::TabSheet:
            break;
    }
    return {nullptr, 0, 0};
}

}  // namespace

// A drop-down list's window height includes its opened list; make that list show the layout's rows.
void SizeDropDown(HWND combo, const Widget& widget) {
    const int rows = widget.Row->DropDownRows > 0 ? widget.Row->DropDownRows : kDefaultDropDownRows;
    const auto field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    const auto item = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const int width = widget.Bounds.right - widget.Bounds.left;
    SetWindowPos(combo, nullptr, 0, 0, width, field + 2 * GetSystemMetrics(SM_CYEDGE) + rows * item + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(combo, CB_SETMINVISIBLE, static_cast<WPARAM>(rows), 0);
}

bool SizesToCaption(const Widget& widget) { return widget.Row->Kind == ControlKind::Label && !widget.Row->WordWrap; }

void FitLabel(Widget& widget, HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    RECT text{0, 0, 0, 0};
    const std::wstring caption = Wide(widget.Control->Caption());
    DrawTextW(screen, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    // The row's size is the least: a label grows to show its whole caption, a centred one on both sides.
    RECT& bounds = widget.Bounds;
    const int missing = text.right - (bounds.right - bounds.left);
    if (missing > 0 && widget.Row->Centred) {
        bounds.left -= missing / 2;
        bounds.right += missing - missing / 2;
    } else if (missing > 0) {
        bounds.right += missing;
    }
    bounds.bottom = std::max(bounds.bottom, bounds.top + text.bottom);
    if (widget.Handle != nullptr) {
        SetWindowPos(widget.Handle, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND CreateControlWindow(Widget& widget, HWND window, int id, const DialogFonts& fonts) {
    const LayoutRow& row = *widget.Row;
    const WindowClass windowClass = ClassFor(row);
    if (windowClass.Name == nullptr) return nullptr;

    HFONT font = row.Bold ? fonts.Title() : fonts.Normal();
    if (SizesToCaption(widget)) FitLabel(widget, font);

    const RECT& bounds = widget.Bounds;
    HWND control =
        CreateWindowExW(windowClass.ExStyle, windowClass.Name, L"", WS_CHILD | WS_CLIPSIBLINGS | windowClass.Style,
                        bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) return nullptr;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (row.Kind == ControlKind::ComboBox) SizeDropDown(control, widget);
    if (auto* chart = dynamic_cast<TChartView*>(widget.Control)) AttachChart(control, *chart);
    // The boxes are as wide as the design face's values need, and an edit box has no margins in that face; a
    // TrueType face would bring margins of half a character on each side and cut a value the design shows whole.
    if (row.Kind == ControlKind::Edit) SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    // The pages' controls stand on the window's dialog face, so the tab control draws its pages with that face
    // too rather than with a visual style's own page colour.
    if (row.Kind == ControlKind::PageControl) SetWindowTheme(control, L" ", L" ");
    // Eight tabs share the window's width: each keeps two pixels beside its caption rather than the usual six.
    if (row.Kind == ControlKind::PageControl) SendMessageW(control, TCM_SETPADDING, 0, MAKELPARAM(2, 3));
    return control;
}

// A bevel is a line of two pixels when one side is that thin, else a frame; sunk (dark above light) unless raised.
void DrawBevel(const DRAWITEMSTRUCT& item, const LayoutRow& row) {
    RECT bounds = item.rcItem;
    FillRect(item.hDC, &bounds, GetSysColorBrush(COLOR_BTNFACE));
    UINT sides = BF_RECT;
    if (row.Height <= 2) sides = BF_TOP;
    if (row.Width <= 2) sides = BF_LEFT;
    DrawEdge(item.hDC, &bounds, row.Raised ? EDGE_BUMP : EDGE_ETCHED, sides);
}

void BindUpDown(HWND arrows, HWND box, const TUpDown& model) {
    SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(box), 0);
    SendMessageW(arrows, UDM_SETRANGE32, static_cast<WPARAM>(model.Min()), static_cast<LPARAM>(model.Max()));
    UDACCEL step{0, static_cast<UINT>(model.Increment())};
    SendMessageW(arrows, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
}

void AddTab(HWND tabControl, int index, const std::string& caption) {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    std::wstring text = Wide(caption);
    tab.pszText = text.data();
    SendMessageW(tabControl, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
}

}  // namespace tovarin
