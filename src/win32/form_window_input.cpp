#include "win32/form_window.h"
// After windows.h, which the window's header brings.
#include <commctrl.h>

#include <cctype>
#include <exception>
#include <string>

#include "gamefiles/errors.h"
#include "ui/accessible_names.h"
#include "ui/dialog_keys.h"
#include "ui/platform.h"
#include "ui/tab_order.h"
#include "ui/user_input.h"
#include "win32/accessible_control.h"
#include "win32/widget_factory.h"
#include "win32/widget_state.h"

// The window's input: messages turned into UserInput calls, the dialog keys, and the focus.
namespace tovarin {

namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, which the headers give only for later Windows

// Alt and a letter, or a letter typed where the focused control takes no typing (a button, a check box).
bool IsMnemonicKey(const MSG& message) {
    if (message.message != WM_SYSCHAR && message.message != WM_CHAR) return false;
    if (message.wParam > 0x7F || std::isalnum(static_cast<int>(message.wParam)) == 0) return false;
    if (message.message == WM_SYSCHAR) return true;
    const LRESULT code = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    return (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) == 0;
}

// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, wherever the focus is (not with Alt: Ctrl+Alt is AltGr on many keyboards).
bool IsShortcutKey(const MSG& message) {
    return message.message == WM_KEYDOWN && (message.wParam == 'Z' || message.wParam == 'Y') &&
           GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
}

}  // namespace

// ---- Messages -------------------------------------------------------------------------------------------------

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) {
                HandleCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            } else if (LOWORD(wParam) == IDOK) {
                Deliver([this] { UserInput::PressEnter(form_); });
            }
            return 0;
        case WM_NOTIFY:
            return HandleNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_NEXTDLGCTL:
            MoveFocus(wParam, LOWORD(lParam) != 0);
            return 0;
        case DM_GETDEFID:
            return DefaultButtonId();
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
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) ArrangeControls();
            return 0;
        case WM_GETMINMAXINFO:
            MinimumSize(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case kDpiChanged:
            DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
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
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click (or the BM_CLICK a key sends) first moves the focus; when a box's exit check keeps the focus,
            // the click does nothing else: no press, no choice, no open list.
            if (!self->TakeFocusForClick(control)) return 0;
            break;
        case WM_MOUSEMOVE:
            if (const Widget* widget = self->FindByHandle(control);
                widget != nullptr && widget->Row->Kind == ControlKind::ListBox) {
                self->rowTips_.MouseMoved(control, lParam);
            }
            break;
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
        case WM_GETOBJECT:
            // A screen reader asks for the control's object: it gets the name the layout gives the control.
            if (static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
                if (const Widget* widget = self->FindByHandle(control)) {
                    const LRESULT answer =
                        AnswerAccessibleObject(control, wParam, AccessibleName(self->rows_, *widget->Row),
                                               AccessibleGroup(self->rows_, *widget->Row));
                    if (answer != 0) return answer;
                }
            }
            break;
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
    } else if (auto* combo = dynamic_cast<TComboBox*>(model)) {
        HandleDropDownList(*combo, control, notification);
    } else if (auto* list = dynamic_cast<TListBox*>(model); list != nullptr && notification == LBN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
        Deliver([list, index] { UserInput::Select(*list, index); });
    } else if (auto* box = dynamic_cast<TEdit*>(model); box != nullptr && notification == EN_CHANGE) {
        const std::string text = WindowText(control);
        Deliver([box, text] { UserInput::Type(*box, text); });
    }
}

// A drop-down list's choice counts when its list closes on it, or when the arrow keys change it while the list is
// closed; moving through the open list with the arrow keys chooses nothing yet. Esc or a click elsewhere closes
// the list on the item it opened on. (Windows sends the selection's change before or after the list closes.)
void FormWindow::HandleDropDownList(TComboBox& list, HWND control, int notification) {
    const auto index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    switch (notification) {
        case CBN_DROPDOWN:
            closingCancelled_ = false;
            Deliver([&list] { UserInput::DropDown(list); });
            break;
        case CBN_SELCHANGE:
            if (list.DroppedDown()) {
                Deliver([&list, index] { UserInput::Highlight(list, index); });
            } else if (index != list.ItemIndex()) {  // not the close's own change, reported after it
                Deliver([&list, index] { UserInput::Choose(list, index); });
            }
            break;
        case CBN_SELENDCANCEL:
            closingCancelled_ = true;
            break;
        case CBN_CLOSEUP: {
            const bool keep = !closingCancelled_;
            closingCancelled_ = false;
            Deliver([&list, index, keep] {
                UserInput::Highlight(list, index);
                UserInput::CloseUp(list, keep);
            });
            break;
        }
        default:
            break;
    }
}

LRESULT FormWindow::HandleNotify(NMHDR& header) {
    if (rowTips_.HandleNotify(header)) return 0;
    for (const auto& grid : grids_) {
        LRESULT result = 0;
        if (grid->HandleNotify(header, result)) return result;
    }
    Widget* widget = FindByHandle(header.hwndFrom);
    if (widget == nullptr || quiet_ > 0) return 0;
    if (auto* chart = dynamic_cast<TChartView*>(widget->Control); chart != nullptr && header.code == NM_CLICK) {
        const POINT place = reinterpret_cast<NMMOUSE&>(header).pt;
        Deliver([chart, place] { UserInput::ClickAt(*chart, place.x, place.y); });
        return 0;
    }
    if (header.code != TCN_SELCHANGE) return 0;
    if (auto* tabs = dynamic_cast<TPageControl*>(widget->Control)) {
        const auto page = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
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
    return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

// The main window's close box closes it as "E&xit" does, once the model agrees; a window without one (the
// booster dialog) takes Alt+F4 as Esc, which presses its cancel button.
void FormWindow::CloseBoxUsed() {
    if (closeBox_) {
        Deliver([this] { UserInput::Close(form_); });
    } else {
        Deliver([this] { UserInput::PressEscape(form_); });
    }
}

// ---- Keyboard and focus ---------------------------------------------------------------------------------------

bool FormWindow::HandleDialogKeys(MSG& message) {
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    for (const auto& grid : grids_) {
        if (grid->HandleKey(message)) return true;
    }
    const bool controlTab = message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0;
    if (controlTab && pageControl_ != nullptr) {
        ShowNextPage(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (IsShortcutKey(message)) {
        // The model tells the window's Ctrl+Z from an edit box's own (typing to undo): the box gets it then.
        const auto key = static_cast<char>(message.wParam);
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        bool taken = false;
        Deliver([this, key, shift, &taken] { taken = UserInput::PressShortcut(form_, key, true, shift); });
        if (taken) return true;
    }
    if (IsMnemonicKey(message)) {
        // The model knows which controls share a letter; the dialog manager would press the first of them.
        const auto letter = static_cast<char>(message.wParam);
        bool pressed = false;
        Deliver([this, letter, &pressed] { pressed = UserInput::PressMnemonic(form_, letter); });
        if (pressed) return true;
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

// Ctrl+Tab and Ctrl+Shift+Tab leaf through the tabs, wherever the focus is.
void FormWindow::ShowNextPage(bool backwards) {
    auto* tabs = dynamic_cast<TPageControl*>(pageControl_->Control);
    const auto count = static_cast<int>(SendMessageW(pageControl_->Handle, TCM_GETITEMCOUNT, 0, 0));
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
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
}

// True when the clicked control has the focus, or takes it now; false when a box's exit check keeps the focus.
bool FormWindow::TakeFocusForClick(HWND control) {
    const Widget* widget = FindByHandle(control);
    if (widget == nullptr || !TakesFocus(widget->Row->Kind) || GetFocus() == control) return true;
    SetFocus(control);
    return GetFocus() == control;
}

// An edit box's OnExit runs when another control of the same window takes the focus, not when the user only
// switches to another program and back. When the check keeps the focus, or refuses it to a button, the focus goes
// back to the box.
void FormWindow::ControlFocused(HWND control) {
    const Widget* widget = FindByHandle(control);
    if (widget == nullptr) return;
    ShowDefaultButton();
    TControl* previous = activeControl_;
    activeControl_ = widget->Control;
    auto* box = dynamic_cast<TEdit*>(previous);
    if (quiet_ > 0 || box == nullptr || previous == widget->Control) return;
    bool arrived = true;
    Deliver([this, box, widget, &arrived] {
        form_.SetFocused(box);
        arrived = UserInput::Focus(*widget->Control);
    });
    if (arrived) return;
    if (const Widget* boxWidget = FindByControl(box)) SetFocus(boxWidget->Handle);
}

// The button Enter presses now (the focused one, or else the form's default one), by the model's rule.
const Widget* FormWindow::EnterButtonWidget() {
    if (const Widget* focused = FindByHandle(GetFocus())) form_.SetFocused(focused->Control);
    return FindByControl(EnterButton(form_));
}

// Only the button Enter presses shows the default frame, whether the focus came by Tab, a mnemonic, a click or a
// handler. (The dialog keys move the frame only for Tab.)
void FormWindow::ShowDefaultButton() {
    const Widget* enter = EnterButtonWidget();
    for (const auto& widget : widgets_) {
        if (widget->Row->Kind != ControlKind::Button || widget->Handle == nullptr) continue;
        const bool framed = (GetWindowLongW(widget->Handle, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (framed == (widget.get() == enter)) continue;
        SendMessageW(widget->Handle, BM_SETSTYLE, framed ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
    }
}

// After Tab has moved the focus, the dialog keys take the frame off every button and ask the window for its default
// one; Enter asks for it too, and presses it.
LRESULT FormWindow::DefaultButtonId() {
    const Widget* enter = EnterButtonWidget();
    if (enter == nullptr || enter->Handle == nullptr) return 0;
    return MAKELRESULT(GetDlgCtrlID(enter->Handle), DC_HASDEFID);
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
        // The model moved the focus and ran the exit check of the box it left already.
        activeControl_ = wanted->Control;
        if (GetFocus() != wanted->Handle) SetFocus(wanted->Handle);
        return;
    }
    HWND focus = GetFocus();
    const Widget* focused = FindByHandle(focus);
    if (focus != nullptr && focus != window_ && focused == nullptr) return;  // not one of the window's controls
    if (focused != nullptr && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
    const Widget* next = NextTabStop(focused);
    if (next != nullptr) SetFocus(next->Handle);
}

// ---- Into the model and back -----------------------------------------------------------------------------------

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

}  // namespace tovarin
