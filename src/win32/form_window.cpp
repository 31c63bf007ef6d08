#include "win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "gamefiles/errors.h"
#include "ui/booster_dialog_layout.h"
#include "ui/main_window_layout.h"
#include "ui/platform.h"
#include "ui/tab_order.h"
#include "ui/user_input.h"
#include "win32/widget_factory.h"
#include "win32/widget_state.h"

namespace tovarin {

namespace {

constexpr char kWindowClass[] = "TovarinForm";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send
constexpr UINT_PTR kControlSubclass = 1;

void RegisterWindowClass(WNDPROC windowProc) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExA(instance, kWindowClass, &windowClass)) return;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExA(&windowClass);
}

// Where a new window goes: centred over its owner, or on the screen's work area.
POINT CentredPosition(HWND owner, int width, int height) {
    RECT area{};
    if (owner != nullptr) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
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

}  // namespace

FormWindowStyle MainWindowStyle() { return {kMainClientWidth, kMainClientHeight, true}; }

FormWindowStyle BoosterDialogStyle() { return {kBoosterClientWidth, kBoosterClientHeight, false}; }

FormWindow::FormWindow(TForm& form, const std::vector<LayoutRow>& rows, const FormWindowStyle& style, HWND owner,
                       OpenWindows& openWindows)
    : form_(form), openWindows_(openWindows), closeBox_(style.CloseBox) {
    ++quiet_;
    CreateWindowFrame(style, owner);
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
}

HWND FormWindow::ControlHandle(std::string_view name) const {
    const Widget* widget = Find(name);
    return widget != nullptr ? widget->Handle : nullptr;
}

FormWindow* FormWindow::FromHandle(HWND window) {
    char className[sizeof kWindowClass + 1] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, kWindowClass) != 0) return nullptr;
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void FormWindow::Show() {
    ShowModelState();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void FormWindow::ProcessMessage(MSG& message) {
    if (HandleDialogKeys(message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

// ---- Building the window --------------------------------------------------------------------------------------

void FormWindow::CreateWindowFrame(const FormWindowStyle& style, HWND owner) {
    RegisterWindowClass(&FormWindow::WindowProc);
    // A fixed dialog frame: no sizing border, no minimise or maximise button; the close box only where asked.
    const DWORD windowStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | (style.CloseBox ? WS_SYSMENU : 0);
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | (owner == nullptr ? WS_EX_APPWINDOW : 0);
    RECT frame{0, 0, fonts_.Scale(style.ClientWidth), fonts_.Scale(style.ClientHeight)};
    AdjustWindowRectEx(&frame, windowStyle, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const POINT position = CentredPosition(owner, width, height);
    CreateWindowExA(exStyle, kWindowClass, form_.Caption().c_str(), windowStyle, position.x, position.y, width, height,
                    owner, nullptr, GetModuleHandleA(nullptr), this);
    if (window_ == nullptr) throw std::runtime_error("The window cannot be created");
}

void FormWindow::CreateControls(const std::vector<LayoutRow>& rows) {
    int nextId = kFirstControlId;
    for (const LayoutRow& row : rows) {
        auto widget = std::make_unique<Widget>();
        widget->Row = &row;
        widget->Control = form_.FindComponent(row.Name);
        if (widget->Control == nullptr) continue;
        widget->Parent = Find(row.Parent);
        PlaceWidget(*widget);
        if (row.Kind == ControlKind::TabSheet) {
            AddTab(widget->Parent->Handle, widget->PageIndex, widget->Control->Caption());
        } else {
            // Esc sends IDCANCEL from the control with that number.
            const int id = row.Cancel ? IDCANCEL : nextId++;
            widget->Handle = CreateControlWindow(*widget, window_, id, fonts_);
            if (widget->Handle != nullptr && (TakesFocus(row.Kind) || row.Kind == ControlKind::GroupBox)) {
                SetWindowSubclass(widget->Handle, &FormWindow::ControlProc, kControlSubclass,
                                  reinterpret_cast<DWORD_PTR>(this));
            }
        }
        if (row.Kind == ControlKind::PageControl && pageControl_ == nullptr) pageControl_ = widget.get();
        if (row.Cancel) cancelButton_ = widget.get();
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

// Positions in a layout are relative to the parent: the window, a tab page or a group box. A tab page without
// a place of its own fills its tab control's display area.
void FormWindow::PlaceWidget(Widget& widget) {
    const LayoutRow& row = *widget.Row;
    if (row.Kind == ControlKind::TabSheet && widget.Parent != nullptr) {
        HWND tabs = widget.Parent->Handle;
        widget.PageIndex = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
        if (row.Width == 0 || row.Height == 0) {
            GetClientRect(tabs, &widget.Bounds);
            SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&widget.Bounds));
            OffsetRect(&widget.Bounds, widget.Parent->Bounds.left, widget.Parent->Bounds.top);
            return;
        }
    }
    const int left = (widget.Parent != nullptr ? widget.Parent->Bounds.left : 0) + fonts_.Scale(row.Left);
    const int top = (widget.Parent != nullptr ? widget.Parent->Bounds.top : 0) + fonts_.Scale(row.Top);
    widget.Bounds = {left, top, left + fonts_.Scale(row.Width), top + fonts_.Scale(row.Height)};
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

// ---- Messages -------------------------------------------------------------------------------------------------

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                HandleCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            } else if (LOWORD(wParam) == IDOK) {
                PressFocusedButton();
            }
            return 0;
        case WM_NOTIFY:
            return HandleNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_NEXTDLGCTL:
            MoveFocus(wParam, LOWORD(lParam) != 0);
            return 0;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (const Widget* widget = FindByHandle(item.hwndItem)) DrawBevel(item, *widget->Row);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return ControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message);
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                if (FindByHandle(GetFocus()) != nullptr) focusBeforeDeactivation_ = GetFocus();
            } else {
                RestoreFocus();
            }
            return 0;
        case WM_CLOSE:
            CloseBoxUsed();
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK FormWindow::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data) {
    auto* self = reinterpret_cast<FormWindow*>(data);
    switch (message) {
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            self->ControlFocused(control);
            return result;
        }
        case WM_ERASEBKGND: {
            // A group box draws only its frame; behind its controls lies the dialog face, not whatever the
            // screen held before.
            RECT area{};
            GetClientRect(control, &area);
            FillRect(reinterpret_cast<HDC>(wParam), &area, GetSysColorBrush(COLOR_BTNFACE));
            return TRUE;
        }
        case WM_GETDLGCODE: {
            // Tab and Esc leave a memo as they leave every other control, instead of being typed into it.
            const auto code = DefSubclassProc(control, message, wParam, lParam);
            const Widget* widget = self->FindByHandle(control);
            const bool memo = widget != nullptr && widget->Row->Kind == ControlKind::Memo;
            return memo ? code & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS) : code;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, &FormWindow::ControlProc, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void FormWindow::HandleCommand(HWND control, int notification) {
    Widget* widget = FindByHandle(control);
    if (widget == nullptr || quiet_ > 0) return;
    TControl* model = widget->Control;
    if (auto* button = dynamic_cast<TButton*>(model); button != nullptr && notification == BN_CLICKED) {
        Deliver([button] { UserInput::Click(*button); });
    } else if (auto* check = dynamic_cast<TCheckBox*>(model); check != nullptr && notification == BN_CLICKED) {
        Deliver([check] { UserInput::Toggle(*check); });
    } else if (auto* combo = dynamic_cast<TComboBox*>(model); combo != nullptr && notification == CBN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
        Deliver([combo, index] { UserInput::Choose(*combo, index); });
    } else if (auto* list = dynamic_cast<TListBox*>(model); list != nullptr && notification == LBN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageA(control, LB_GETCURSEL, 0, 0));
        Deliver([list, index] { UserInput::Select(*list, index); });
    } else if (auto* box = dynamic_cast<TEdit*>(model); box != nullptr && notification == EN_CHANGE) {
        const std::string text = WindowText(control);
        Deliver([box, text] { UserInput::Type(*box, text); });
    }
}

LRESULT FormWindow::HandleNotify(const NMHDR& header) {
    Widget* widget = FindByHandle(header.hwndFrom);
    if (widget == nullptr || quiet_ > 0 || header.code != TCN_SELCHANGE) return 0;
    if (auto* tabs = dynamic_cast<TPageControl*>(widget->Control)) {
        const auto page = static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0));
        Deliver([tabs, page] { UserInput::ShowPage(*tabs, page); });
    }
    return 0;
}

LRESULT FormWindow::ControlColor(HDC dc, HWND control, UINT message) {
    const Widget* widget = FindByHandle(control);
    if (widget != nullptr && widget->Row->Grey) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return DefWindowProcA(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

// The main window's close box ends the program as "E&xit" does; a window without one (the booster dialog)
// takes Alt+F4 as Esc, which presses its cancel button.
void FormWindow::CloseBoxUsed() {
    if (closeBox_) {
        form_.Close();
        return;
    }
    if (auto* button = dynamic_cast<TButton*>(cancelButton_ != nullptr ? cancelButton_->Control : nullptr)) {
        Deliver([button] { UserInput::Click(*button); });
    }
}

// ---- Keyboard and focus ---------------------------------------------------------------------------------------

bool FormWindow::HandleDialogKeys(MSG& message) {
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    const bool controlTab = message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0;
    if (controlTab && pageControl_ != nullptr) {
        ShowNextPage(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return IsDialogMessageA(window_, &message) != FALSE;
}

// Ctrl+Tab and Ctrl+Shift+Tab leaf through the tabs, wherever the focus is.
void FormWindow::ShowNextPage(bool backwards) {
    auto* tabs = dynamic_cast<TPageControl*>(pageControl_->Control);
    const auto count = static_cast<int>(SendMessageA(pageControl_->Handle, TCM_GETITEMCOUNT, 0, 0));
    if (tabs == nullptr || count == 0) return;
    const int page = (tabs->ActivePageIndex() + (backwards ? count - 1 : 1)) % count;
    Deliver([tabs, page] { UserInput::ShowPage(*tabs, page); });
}

// What the dialog keys ask for: the next or previous control in Tab order, or a given one (a label's
// mnemonic names the label, and the focus moves on to the control below it).
void FormWindow::MoveFocus(WPARAM target, bool targetIsControl) {
    HWND focus = GetFocus();
    HWND next = targetIsControl ? reinterpret_cast<HWND>(target) : GetNextDlgTabItem(window_, focus, target != 0);
    if (next == nullptr) return;
    SetFocus(next);
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
}

// Enter presses the focused button, as in the designer's forms; elsewhere it does nothing.
void FormWindow::PressFocusedButton() {
    const Widget* focused = FindByHandle(GetFocus());
    if (auto* button = dynamic_cast<TButton*>(focused != nullptr ? focused->Control : nullptr)) {
        Deliver([button] { UserInput::Click(*button); });
    }
}

// An edit box's OnExit runs when another control of the same window takes the focus, not when the user only
// switches to another program and back.
void FormWindow::ControlFocused(HWND control) {
    const Widget* widget = FindByHandle(control);
    if (widget == nullptr) return;
    TControl* previous = activeControl_;
    activeControl_ = widget->Control;
    if (quiet_ > 0 || previous == nullptr || previous == widget->Control) return;
    if (auto* box = dynamic_cast<TEdit*>(previous)) Deliver([box] { UserInput::Leave(*box); });
}

void FormWindow::RestoreFocus() {
    HWND target = focusBeforeDeactivation_;
    if (target == nullptr || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        const Widget* initial = FindByControl(form_.Focused());
        if (initial == nullptr || !Shown(*initial) || !Usable(*initial)) initial = NextTabStop(nullptr);
        target = initial != nullptr ? initial->Handle : window_;
    }
    SetFocus(target);
}

const Widget* FormWindow::NextTabStop(const Widget* after) const {
    const auto found = std::find(tabOrder_.begin(), tabOrder_.end(), after);
    const std::size_t first = found == tabOrder_.end() ? 0 : static_cast<std::size_t>(found - tabOrder_.begin()) + 1;
    for (std::size_t step = 0; step < tabOrder_.size(); ++step) {
        const Widget* candidate = tabOrder_[(first + step) % tabOrder_.size()];
        if (Shown(*candidate) && Usable(*candidate)) return candidate;
    }
    return nullptr;
}

// A handler that gave another control the focus sees it moved; a control hidden or disabled by a handler
// passes the focus on, as Tab would.
void FormWindow::PushFocus() {
    if (GetActiveWindow() != window_) return;
    const Widget* wanted = FindByControl(form_.Focused());
    if (form_.Focused() != focusShownToModel_ && wanted != nullptr && Shown(*wanted) && Usable(*wanted)) {
        if (GetFocus() != wanted->Handle) SetFocus(wanted->Handle);
        return;
    }
    HWND focus = GetFocus();
    const Widget* focused = FindByHandle(focus);
    if (focus != window_ && focused == nullptr) return;
    if (focused != nullptr && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
    const Widget* next = NextTabStop(focused);
    if (next != nullptr) SetFocus(next->Handle);
}

// ---- Input into the model, state back into the controls -------------------------------------------------------

void FormWindow::Deliver(const std::function<void()>& input) {
    if (openWindows_.EndedWith) return;
    if (const Widget* focused = FindByHandle(GetFocus())) form_.SetFocused(focused->Control);
    focusShownToModel_ = form_.Focused();
    try {
        input();
    } catch (const ProgramEnded& ended) {
        openWindows_.EndedWith = ended.ExitCode;
        return;
    } catch (const std::exception& error) {
        // The dispatcher reports the program's own errors; anything else must not take the window down either.
        form_.GetPlatform().ShowError(std::string(error.what()) + ".");
    }
    for (FormWindow* window : openWindows_.Windows) window->ShowModelState();
    PushFocus();
}

void FormWindow::ShowModelState() {
    ++quiet_;
    if (WindowText(window_) != form_.Caption()) SetWindowTextA(window_, form_.Caption().c_str());
    for (const auto& widget : widgets_) {
        if (auto* tabs = dynamic_cast<TPageControl*>(widget->Control)) {
            if (SendMessageA(widget->Handle, TCM_GETCURSEL, 0, 0) != tabs->ActivePageIndex()) {
                SendMessageA(widget->Handle, TCM_SETCURSEL, static_cast<WPARAM>(tabs->ActivePageIndex()), 0);
            }
        }
    }
    for (const auto& widget : widgets_) {
        if (widget->Handle == nullptr) continue;
        const bool shown = Shown(*widget);
        if (shown != ((GetWindowLongA(widget->Handle, GWL_STYLE) & WS_VISIBLE) != 0)) {
            ShowWindow(widget->Handle, shown ? SW_SHOWNA : SW_HIDE);
        }
        const bool usable = Usable(*widget);
        if (usable != (IsWindowEnabled(widget->Handle) != FALSE)) EnableWindow(widget->Handle, usable);
        ShowControlState(*widget);
    }
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
