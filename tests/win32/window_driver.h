#pragma once

#include <windows.h>
// The common controls' header needs windows.h before it.
#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "win32/form_window.h"
#include "win32/widget_state.h"
#include "win32/win32_platform.h"

// Drives the real window as a person does, with the messages Windows sends for mouse clicks and keys, and
// records the boxes the program shows instead of blocking on them.
namespace tovarin::testkit {

// The real platform, but running in a game folder of the test's choice, with message boxes and launches
// recorded: a modal box would wait for a person.
class RecordingWin32Platform : public Win32Platform {
public:
    explicit RecordingWin32Platform(std::string gameFolder, std::vector<std::string> arguments = {})
        : gameFolder_(std::move(gameFolder)), arguments_(std::move(arguments)) {}

    std::string ExeFolder() override { return gameFolder_; }
    std::vector<std::string> Arguments() override { return arguments_; }
    void ShowMessage(const std::string& text) override { Boxes.push_back("Message: " + text); }
    bool AskYesNo(const std::string& text) override {
        Boxes.push_back("Question: " + text);
        return false;
    }
    void ShowError(const std::string& text) override { Boxes.push_back("Error: " + text); }
    void WinExec(const std::string& commandLine, int /*showState*/) override { Launched.push_back(commandLine); }

    std::vector<std::string> Boxes;
    std::vector<std::string> Launched;

private:
    std::string gameFolder_;
    std::vector<std::string> arguments_;
};

// Design pixels (96 DPI) in screen pixels, as the window scales its layout.
inline int Scaled(int designPixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(designPixels, dpi, 96);
}

// Handles every message waiting in the thread's queue, through the window as its message loop would.
inline void Pump(FormWindow& window) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) window.ProcessMessage(message);
}

inline POINT CentreOf(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// A left click at a point of a control's client area.
inline void ClickAt(HWND control, POINT point) {
    const LPARAM where = MAKELPARAM(point.x, point.y);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageA(control, WM_LBUTTONUP, 0, where);
}

inline void ClickTab(HWND tabs, int page) {
    RECT tab{};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&tab));
    ClickAt(tabs, CentreOf(tab));
}

inline void ClickListEntry(HWND list, int entry) {
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(entry), reinterpret_cast<LPARAM>(&item));
    ClickAt(list, CentreOf(item));
}

inline void PressKey(HWND control, WPARAM key) {
    SendMessageA(control, WM_KEYDOWN, key, 1);
    SendMessageA(control, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

// Keys that the dialog keys handle (Tab, Esc, mnemonics) must come through the message loop.
inline void PostKey(HWND control, WPARAM key) {
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

inline void PostAltKey(HWND control, char letter) {
    constexpr LPARAM kAltDown = 1 << 29;
    PostMessageA(control, WM_SYSCHAR, static_cast<WPARAM>(letter), 1 | kAltDown);
}

// Types the text at the caret, key by key.
inline void TypeInto(HWND box, const std::string& text) {
    SetFocus(box);
    for (const char letter : text) SendMessageA(box, WM_CHAR, static_cast<WPARAM>(letter), 1);
}

inline int Selection(HWND list, bool comboBox) {
    return static_cast<int>(SendMessageA(list, comboBox ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

// Runs steps from timer ticks while a message loop runs that the test cannot step through itself (a modal
// dialog, a message box, Application::Run): a person's actions, spaced out as a person's are. A step that
// returns false (its window is not there yet) is tried again at the next tick.
class TimedSteps {
public:
    using Step = std::function<bool()>;

    explicit TimedSteps(std::deque<Step> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, kIntervalMs, &TimedSteps::Tick);
    }
    ~TimedSteps() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    TimedSteps(const TimedSteps&) = delete;
    TimedSteps& operator=(const TimedSteps&) = delete;

    [[nodiscard]] bool Done() const { return steps_.empty(); }

private:
    static constexpr UINT kIntervalMs = 20;

    static void CALLBACK Tick(HWND /*window*/, UINT /*message*/, UINT_PTR /*timer*/, DWORD /*time*/) {
        if (current_ == nullptr || current_->steps_.empty() || current_->running_) return;
        // A step may open a modal loop of its own, in which this timer ticks on.
        current_->running_ = true;
        const Step step = current_->steps_.front();
        const bool done = step();
        if (current_ == nullptr) return;
        current_->running_ = false;
        if (done && !current_->steps_.empty()) current_->steps_.pop_front();
    }

    static inline TimedSteps* current_ = nullptr;
    std::deque<Step> steps_;
    bool running_ = false;
    UINT_PTR timer_ = 0;
};

// The program's window with this caption, or nullptr.
inline FormWindow* FindFormWindow(const char* caption) { return FormWindow::FromHandle(FindWindowA(nullptr, caption)); }

}  // namespace tovarin::testkit
