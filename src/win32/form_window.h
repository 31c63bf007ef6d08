#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form.h"
#include "ui/layout.h"
#include "ui/layout_growth.h"
#include "win32/dialog_fonts.h"
#include "win32/grid_view.h"
#include "win32/list_row_tips.h"
#include "win32/widget.h"

namespace tovarin {

class FormWindow;

// What every open window of the program shares: the windows themselves, refreshed together after each event,
// and the exit code once a handler has ended the program.
struct OpenWindows {
    std::vector<FormWindow*> Windows;
    std::optional<int> EndedWith;
};

// How a form's window behaves beyond its layout.
struct FormWindowStyle {
    int ClientWidth;  // as designed, at 96 DPI: the smallest size of a window that can be resized
    int ClientHeight;
    bool CloseBox;   // a title bar with a close box; without one, Alt+F4 presses the button Esc presses
    bool Resizable;  // a sizing border, minimise and maximise; the layout's growth rules place the controls
};

[[nodiscard]] FormWindowStyle MainWindowStyle();
[[nodiscard]] FormWindowStyle BoosterDialogStyle();

// One form of the program as a real window: a Win32 control for every row of its layout, input turned into
// UserInput calls, and after every event the model's state shown again in the controls.
class FormWindow {
public:
    FormWindow(TForm& form, const std::vector<LayoutRow>& rows, const FormWindowStyle& style, HWND owner,
               OpenWindows& openWindows);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    [[nodiscard]] HWND Handle() const { return window_; }
    [[nodiscard]] TForm& Form() const { return form_; }
    // The control rendered for a row of the layout, or nullptr.
    [[nodiscard]] HWND ControlHandle(std::string_view name) const;
    // The FormWindow behind a top-level window of the program, or nullptr.
    [[nodiscard]] static FormWindow* FromHandle(HWND window);

    // Shows the window and gives the focus to the form's focused control (or the first in Tab order).
    void Show();
    // Handles one message from the thread's queue: the dialog keys of this window first (Tab, mnemonics,
    // Esc, Ctrl+Tab), then the usual translation and dispatch.
    void ProcessMessage(MSG& message);
    // Shows the model's state in every control: texts, items, selections, checks, captions, visibility.
    void ShowModelState();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);

    void CreateWindowFrame(const FormWindowStyle& style, HWND owner);
    void CreateControls(const std::vector<LayoutRow>& rows);
    // Where every row stands at the window's present client size and DPI (ui/layout_growth.h).
    [[nodiscard]] std::vector<PlacedRow> Arrangement() const;
    void PlaceWidget(Widget& widget, const PlacedRow& place);
    // Places every control again: after the window changed its size, or its DPI.
    void ArrangeControls();
    void MinimumSize(MINMAXINFO& limits) const;
    void DpiChanged(int dpi, const RECT& suggested);
    void ArrangeZOrder(const std::vector<LayoutRow>& rows);
    [[nodiscard]] Widget* Find(std::string_view name) const;
    [[nodiscard]] Widget* FindByHandle(HWND control) const;
    [[nodiscard]] Widget* FindByControl(const TControl* control) const;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void HandleCommand(HWND control, int notification);
    void HandleDropDownList(TComboBox& list, HWND control, int notification);
    LRESULT HandleNotify(NMHDR& header);
    LRESULT ControlColor(HDC dc, HWND control, UINT message);
    void CloseBoxUsed();

    bool HandleDialogKeys(MSG& message);
    void ShowNextPage(bool backwards);
    void MoveFocus(WPARAM target, bool targetIsControl);
    [[nodiscard]] bool TakeFocusForClick(HWND control);
    void ControlFocused(HWND control);
    [[nodiscard]] const Widget* EnterButtonWidget();
    void ShowDefaultButton();
    [[nodiscard]] LRESULT DefaultButtonId();
    void RestoreFocus();
    [[nodiscard]] const Widget* NextTabStop(const Widget* after) const;
    void PushFocus();

    // Runs one piece of input through the model, then shows the new state in every open window.
    void Deliver(const std::function<void()>& input);
    [[nodiscard]] bool Shown(const Widget& widget) const;
    [[nodiscard]] bool Usable(const Widget& widget) const;

    TForm& form_;
    OpenWindows& openWindows_;
    const std::vector<LayoutRow>& rows_;
    FormWindowStyle style_;
    bool closeBox_;
    HWND window_ = nullptr;
    DialogFonts fonts_;
    std::vector<std::unique_ptr<Widget>> widgets_;
    ListRowTips rowTips_;
    std::vector<std::unique_ptr<GridView>> grids_;
    std::vector<const Widget*> tabOrder_;
    Widget* pageControl_ = nullptr;          // the window's tab control, leafed through by Ctrl+Tab
    TControl* activeControl_ = nullptr;      // the control that had the focus last, for the edit boxes' OnExit
    TControl* focusShownToModel_ = nullptr;  // the model's focus as the window last told it
    HWND focusBeforeDeactivation_ = nullptr;
    bool closingCancelled_ = false;  // the open drop-down list closing now was left with Esc or a click elsewhere
    int quiet_ = 0;                  // > 0 while the window itself changes its controls
};

}  // namespace tovarin
