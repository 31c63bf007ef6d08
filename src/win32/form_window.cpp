#include "win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "ui/booster_dialog_layout.h"
#include "ui/main_window_layout.h"
#include "ui/tab_order.h"
#include "win32/wide_text.h"
#include "win32/widget_factory.h"
#include "win32/widget_state.h"

// The window built from a layout, and the model's state shown in it.
namespace tovarin {

namespace {

constexpr wchar_t kWindowClass[] = L"TovarinForm";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send
constexpr UINT_PTR kControlSubclass = 1;
constexpr int kProgramIcon = 1;  // Tovarin.exe's icon resource; a program without one gets the system's icon

HICON LoadProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
}

void RegisterWindowClass(WNDPROC windowProc) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kWindowClass, &windowClass)) return;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadProgramIcon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, kArrowCursor);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

// Where a new window goes: centred over its owner, or on the screen's work area.
POINT CentredPosition(HWND owner, int width, int height) {
    RECT area{};
    if (owner != nullptr) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    return {std::max(area.left, area.left + (area.right - area.left - width) / 2),
            std::max(area.top, area.top + (area.bottom - area.top - height) / 2)};
}

// The order of the window's controls from top to bottom. The dialog keys walk it for Tab and find a label's
// control right below the label; the tab control lies under its pages' controls, which it would hide
// otherwise, and group boxes and rules under the controls they frame.
int DepthRank(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return 0;
        case ControlKind::UpDown:
            return 1;
        case ControlKind::GroupBox:
        case ControlKind::Bevel:
            return 2;
        case ControlKind::PageControl:
            return 3;
        default:
            return 0;
    }
}

// The DPI of the monitor the window is on, where Windows tells it per monitor (10 and later; Wine), else the
// screen's.
int WindowDpi(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi != nullptr) {
        if (const UINT dpi = getDpi(window); dpi > 0) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The window rectangle around a client rectangle: its frame, caption and menu bar (a menu added later counts too),
// at the window's own DPI where Windows can say.
void FrameFor(HWND window, RECT& client) {
    using AdjustForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    const BOOL menu = GetMenu(window) != nullptr;
    if (adjustForDpi == nullptr || !adjustForDpi(&client, style, menu, exStyle, static_cast<UINT>(WindowDpi(window)))) {
        AdjustWindowRectEx(&client, style, menu, exStyle);
    }
}

}  // namespace

FormWindowStyle MainWindowStyle() { return {kMainClientWidth, kMainClientHeight, true, true}; }

FormWindowStyle BoosterDialogStyle() { return {kBoosterClientWidth, kBoosterClientHeight, true, false}; }

FormWindow::FormWindow(TForm& form, const std::vector<LayoutRow>& rows, const FormWindowStyle& style, HWND owner,
                       OpenWindows& openWindows)
    : form_(form), openWindows_(openWindows), rows_(rows), style_(style), closeBox_(style.CloseBox) {
    ++quiet_;
    CreateWindowFrame(style, owner);
    rowTips_.Create(window_);
    CreateControls(rows);
    ArrangeZOrder(rows);
    ShowModelState();
    --quiet_;
    openWindows_.Windows.push_back(this);
}

FormWindow::~FormWindow() {
    auto& windows = openWindows_.Windows;
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    ++quiet_;
    DestroyWindow(window_);
    grids_.clear();
}

HWND FormWindow::ControlHandle(std::string_view name) const {
    const Widget* widget = Find(name);
    return widget != nullptr ? widget->Handle : nullptr;
}

FormWindow* FormWindow::FromHandle(HWND window) {
    wchar_t className[std::size(kWindowClass) + 1] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (lstrcmpW(className, kWindowClass) != 0) return nullptr;
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void FormWindow::Show() {
    ShowModelState();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void FormWindow::ProcessMessage(MSG& message) {
    if (HandleDialogKeys(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// ---- Building the window --------------------------------------------------------------------------------------

void FormWindow::CreateWindowFrame(const FormWindowStyle& style, HWND owner) {
    RegisterWindowClass(&FormWindow::WindowProc);
    // The main window has a sizing border with minimise and maximise. A dialog has a fixed frame: no sizing
    // border, no minimise or maximise button; the close box only where asked.
    const DWORD sizing = style.Resizable ? WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX : 0;
    const DWORD windowStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | sizing | (style.CloseBox ? WS_SYSMENU : 0);
    const DWORD exStyle =
        (style.Resizable ? 0 : WS_EX_DLGMODALFRAME) | WS_EX_CONTROLPARENT | (owner == nullptr ? WS_EX_APPWINDOW : 0);
    RECT frame{0, 0, fonts_.Scale(style.ClientWidth), fonts_.Scale(style.ClientHeight)};
    AdjustWindowRectEx(&frame, windowStyle, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const POINT position = CentredPosition(owner, width, height);
    CreateWindowExW(exStyle, kWindowClass, Wide(form_.Caption()).c_str(), windowStyle, position.x, position.y, width,
                    height, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) throw std::runtime_error("The window cannot be created");
    // A window that opens on a monitor of another scale than the main one is drawn at that monitor's.
    if (const int dpi = WindowDpi(window_); dpi != fonts_.Dpi()) {
        RECT place{};
        GetWindowRect(window_, &place);
        fonts_.SetDpi(dpi);
        RECT client{0, 0, fonts_.Scale(style.ClientWidth), fonts_.Scale(style.ClientHeight)};
        FrameFor(window_, client);
        SetWindowPos(window_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::CreateControls(const std::vector<LayoutRow>& rows) {
    int nextId = kFirstControlId;
    const std::vector<PlacedRow> places = Arrangement();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LayoutRow& row = rows[i];
        auto widget = std::make_unique<Widget>();
        widget->Row = &row;
        widget->Control = form_.FindComponent(row.Name);
        if (widget->Control == nullptr) continue;
        widget->Parent = Find(row.Parent);
        PlaceWidget(*widget, places[i]);
        if (row.Kind == ControlKind::TabSheet) {
            if (widget->Parent == nullptr) continue;  // a page belongs to a tab control
            AddTab(widget->Parent->Handle, widget->PageIndex, widget->Control->Caption());
        } else {
            // Esc sends IDCANCEL from the control with that number.
            const int id = row.Cancel ? IDCANCEL : nextId++;
            widget->Handle = CreateControlWindow(*widget, window_, id, fonts_);
            if (widget->Handle != nullptr && (TakesFocus(row.Kind) || row.Kind == ControlKind::GroupBox)) {
                SetWindowSubclass(widget->Handle, &FormWindow::ControlProc, kControlSubclass,
                                  reinterpret_cast<DWORD_PTR>(this));
            }
            if (row.Kind == ControlKind::ListBox) rowTips_.AddList(widget->Handle);
            if (auto* grid = dynamic_cast<TGrid*>(widget->Control); grid != nullptr && widget->Handle != nullptr) {
                grids_.push_back(std::make_unique<GridView>(
                    widget->Handle, *grid, [this](const std::function<void()>& input) { Deliver(input); }));
            }
        }
        if (row.Kind == ControlKind::PageControl && pageControl_ == nullptr) pageControl_ = widget.get();
        widgets_.push_back(std::move(widget));
    }
    for (const auto& widget : widgets_) {
        auto* arrows = dynamic_cast<TUpDown*>(widget->Control);
        const Widget* box = arrows != nullptr ? FindByControl(&arrows->Associate()) : nullptr;
        if (box != nullptr && widget->Handle != nullptr) BindUpDown(widget->Handle, box->Handle, *arrows);
    }
    for (const LayoutRow* row : TabOrder(rows)) {
        if (Widget* widget = Find(row->Name); widget != nullptr && widget->Handle != nullptr) {
            tabOrder_.push_back(widget);
        }
    }
}

std::vector<PlacedRow> FormWindow::Arrangement() const {
    RECT client{};
    GetClientRect(window_, &client);
    return ArrangeLayout(rows_, style_.ClientWidth, style_.ClientHeight, client.right, client.bottom,
                         {fonts_.Dpi(), fonts_.LineHeight()});
}

// Positions in a layout are relative to the parent: the window, a tab page or a group box. A tab page without
// a place of its own fills its tab control's display area.
void FormWindow::PlaceWidget(Widget& widget, const PlacedRow& place) {
    const LayoutRow& row = *widget.Row;
    if (row.Kind == ControlKind::TabSheet && widget.Parent != nullptr) {
        HWND tabs = widget.Parent->Handle;
        // A page's tab is added when it is created: its place is the number of tabs before it.
        if (widget.PageIndex < 0) widget.PageIndex = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        if (row.Width == 0 || row.Height == 0) {
            GetClientRect(tabs, &widget.Bounds);
            SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&widget.Bounds));
            OffsetRect(&widget.Bounds, widget.Parent->Bounds.left, widget.Parent->Bounds.top);
            return;
        }
    }
    const int left = (widget.Parent != nullptr ? widget.Parent->Bounds.left : 0) + place.Left;
    const int top = (widget.Parent != nullptr ? widget.Parent->Bounds.top : 0) + place.Top;
    widget.Bounds = {left, top, left + place.Width, top + place.Height};
}

void FormWindow::ArrangeControls() {
    if (IsIconic(window_) || widgets_.empty()) return;
    const std::vector<PlacedRow> places = Arrangement();
    for (const auto& widget : widgets_) {
        const auto index = static_cast<std::size_t>(widget->Row - rows_.data());
        if (index >= places.size()) continue;
        PlaceWidget(*widget, places[index]);
        HWND control = widget->Handle;
        if (control == nullptr) continue;
        const RECT& bounds = widget->Bounds;
        if (SizesToCaption(*widget)) {
            FitLabel(*widget, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        } else if (widget->Row->Kind == ControlKind::ComboBox) {
            SetWindowPos(control, nullptr, bounds.left, bounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SizeDropDown(control, *widget);  // its width, and its opened list in the rows of the present font
        } else {
            SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                         bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    InvalidateRect(window_, nullptr, TRUE);
}

// The smallest window is the designed one, at the present DPI.
void FormWindow::MinimumSize(MINMAXINFO& limits) const {
    if (!style_.Resizable) return;
    RECT frame{0, 0, fonts_.Scale(style_.ClientWidth), fonts_.Scale(style_.ClientHeight)};
    FrameFor(window_, frame);
    limits.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
}

// On a monitor of another scale the fonts are made again at its DPI, every control gets them, and the window
// takes the place Windows suggests, which places every control again at the new scale.
void FormWindow::DpiChanged(int dpi, const RECT& suggested) {
    fonts_.SetDpi(dpi);
    for (const auto& widget : widgets_) {
        if (widget->Handle == nullptr) continue;
        HFONT font = widget->Row->Bold ? fonts_.Title() : fonts_.Normal();
        SendMessageW(widget->Handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (widget->Row->Kind == ControlKind::ListBox) {
            SendMessageW(widget->Handle, LB_SETITEMHEIGHT, 0, fonts_.LineHeight());
        }
    }
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ArrangeControls();
}

void FormWindow::ArrangeZOrder(const std::vector<LayoutRow>& rows) {
    std::vector<HWND> order;
    const auto place = [&order](const Widget* widget) {
        if (widget != nullptr && widget->Handle != nullptr &&
            std::find(order.begin(), order.end(), widget->Handle) == order.end()) {
            order.push_back(widget->Handle);
        }
    };
    for (const Widget* control : tabOrder_) {
        if (control->Row->Kind == ControlKind::PageControl) continue;
        for (const LayoutRow& row : rows) {
            if (row.Kind == ControlKind::Label && row.FocusControl == control->Row->Name) place(Find(row.Name));
        }
        place(control);
    }
    for (int rank = 0; rank <= DepthRank(ControlKind::PageControl); ++rank) {
        for (const auto& widget : widgets_) {
            if (DepthRank(widget->Row->Kind) == rank) place(widget.get());
        }
    }
    HWND above = HWND_TOP;
    for (HWND control : order) {
        SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control;
    }
}

Widget* FormWindow::Find(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (const auto& widget : widgets_) {
        if (widget->Row->Name == name) return widget.get();
    }
    return nullptr;
}

Widget* FormWindow::FindByHandle(HWND control) const {
    if (control == nullptr) return nullptr;
    for (const auto& widget : widgets_) {
        if (widget->Handle == control) return widget.get();
    }
    return nullptr;
}

Widget* FormWindow::FindByControl(const TControl* control) const {
    for (const auto& widget : widgets_) {
        if (widget->Control == control) return widget.get();
    }
    return nullptr;
}

// ---- Showing the model ------------------------------------------------------------------------------------------

void FormWindow::ShowModelState() {
    ++quiet_;
    if (const std::wstring caption = Wide(form_.Caption()); WideWindowText(window_) != caption) {
        SetWindowTextW(window_, caption.c_str());
    }
    for (const auto& widget : widgets_) {
        if (auto* tabs = dynamic_cast<TPageControl*>(widget->Control))
            ShowActivePage(widget->Handle, tabs->ActivePageIndex());
    }
    for (const auto& widget : widgets_) {
        if (widget->Handle == nullptr) continue;
        const bool shown = Shown(*widget);
        if (shown != ((GetWindowLongW(widget->Handle, GWL_STYLE) & WS_VISIBLE) != 0)) {
            ShowWindow(widget->Handle, shown ? SW_SHOWNA : SW_HIDE);
        }
        const bool usable = Usable(*widget);
        if (usable != (IsWindowEnabled(widget->Handle) != FALSE)) EnableWindow(widget->Handle, usable);
        ShowControlState(*widget);
    }
    for (const auto& grid : grids_) grid->Show();
    --quiet_;
}

bool FormWindow::Shown(const Widget& widget) const {
    if (!widget.Control->Visible()) return false;
    if (widget.Row->Kind == ControlKind::TabSheet && widget.Parent != nullptr) {
        const auto* tabs = dynamic_cast<const TPageControl*>(widget.Parent->Control);
        if (tabs != nullptr && tabs->ActivePageIndex() != widget.PageIndex) return false;
    }
    return widget.Parent == nullptr || Shown(*widget.Parent);
}

bool FormWindow::Usable(const Widget& widget) const {
    return widget.Control->Enabled() && (widget.Parent == nullptr || Usable(*widget.Parent));
}

}  // namespace tovarin
