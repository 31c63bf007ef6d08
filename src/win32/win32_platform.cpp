#include "win32/win32_platform.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "gamefiles/game_paths.h"
#include "gamefiles/system_error_texts.h"
#include "gamefiles/wide_paths.h"
#include "ui/booster_dialog_layout.h"
#include "ui/main_window_layout.h"
#include "ui/platform_texts.h"
#include "win32/file_dialog.h"
#include "win32/wide_text.h"
#include "win32/window_placement.h"
#include "window/application.h"
#include "window/booster_dialog.h"
#include "window/form1.h"

namespace tovarin {

Win32Platform::Win32Platform() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

namespace {

constexpr DWORD kStartPatienceMs = 30000;  // how long a starting game is waited for, as WinExec waited

// A message joins the game's names (Windows-1252) with paths (UTF-8): shown in UTF-16, both read right.
int ShowBox(HWND owner, const std::string& text, UINT style) {
    return MessageBoxW(owner, Wide(text).c_str(), Wide(kProgramTitle).c_str(), style);
}

}  // namespace

// The program's paths are UTF-8 (gamefiles/wide_paths.h), so a game folder named in any alphabet is found.
std::string Win32Platform::ExeFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return "";
        if (length < path.size()) {
            path.resize(length);
            return FolderOf(Utf8OfWide(path));
        }
        path.resize(path.size() * 2);  // a path longer than the buffer was cut; try again with more room
    }
}

// From the wide command line, so that a profile named in any alphabet arrives as it was given.
std::vector<std::string> Win32Platform::Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* given = CommandLineToArgvW(GetCommandLineW(), &count);
    if (given == nullptr) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8OfWide(given[i]));
    LocalFree(given);
    return arguments;
}

void Win32Platform::ShowMessage(const std::string& text) { ShowBox(Owner(), text, MB_OK); }

bool Win32Platform::AskYesNo(const std::string& text) { return ShowBox(Owner(), text, MB_YESNO) == IDYES; }

Platform::Answer Win32Platform::AskYesNoCancel(const std::string& text) {
    switch (ShowBox(Owner(), text, MB_YESNOCANCEL)) {
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        default:
            return Answer::Cancel;  // Cancel, Esc, or a box that could not be shown
    }
}

void Win32Platform::ShowError(const std::string& text) { ShowBox(Owner(), text, MB_OK | MB_ICONSTOP); }

bool Win32Platform::ExecuteDialog(TFileDialog& dialog) { return ExecuteFileDialog(dialog, Owner()); }

void Win32Platform::ShowModal(TForm3& dialog) { ShowModalWindow(dialog, BoosterDialogLayout(), BoosterDialogStyle()); }

// The program's other dialogs have a close box and keep their designed size, as the booster dialog does.
void Win32Platform::ShowDialog(TForm& dialog, int clientWidth, int clientHeight) {
    ShowModalWindow(dialog, dialog.Layout(), {clientWidth, clientHeight, true, false});
}

void Win32Platform::ShowModalWindow(TForm& dialog, const std::vector<LayoutRow>& layout, const FormWindowStyle& style) {
    HWND owner = Owner();
    {
        FormWindow window(dialog, layout, style, owner, windows_);
        if (owner != nullptr) EnableWindow(owner, FALSE);
        window.Show();
        RunMessagesUntil(window, [&dialog] { return dialog.Closed(); });
        // The owner is enabled again before the dialog goes, so that it becomes the active window.
        if (owner != nullptr) EnableWindow(owner, TRUE);
    }
    if (windows_.EndedWith) throw ProgramEnded{*windows_.EndedWith};
}

// Starts the game as WinExec did (from the program's own working folder, shown as asked, waited for until it takes
// input or for 30 seconds), through the wide call: a game folder named in any alphabet starts too.
int Win32Platform::WinExec(const std::string& commandLine, int showState) {
    std::wstring line = WidePath(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        const DWORD error = GetLastError();
        return error == 0 ? ERROR_NOT_ENOUGH_MEMORY : static_cast<int>(error);
    }
    WaitForInputIdle(process.hProcess, kStartPatienceMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

std::string Win32Platform::ErrorCodeText(int code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? TrimSystemMessage(Utf8OfWide(std::wstring(buffer, length))) : std::string();
    LocalFree(buffer);
    // A code the system has no words for still gets a message rather than an empty box.
    return text.empty() ? SystemErrorText(code) : text;
}

int Win32Platform::RunMessageLoop(TForm1& mainForm) {
    const std::unique_ptr<FormWindow> window = OpenMainWindow(mainForm);
    (void)RestoreWindowPlacement(window->Handle());  // where the player left it last time
    window->Show();
    RunMessagesUntil(*window, [&mainForm] { return mainForm.Closed(); });
    SaveWindowPlacement(window->Handle());
    return windows_.EndedWith.value_or(0);
}

std::unique_ptr<FormWindow> Win32Platform::OpenMainWindow(TForm1& mainForm) {
    return std::make_unique<FormWindow>(mainForm, MainWindowLayout(), MainWindowStyle(), nullptr, windows_);
}

void Win32Platform::RunMessagesUntil(FormWindow& window, const std::function<bool()>& done) {
    while (!windows_.EndedWith && !done()) {
        MSG message;
        const BOOL received = GetMessageW(&message, nullptr, 0, 0);
        if (received == 0) {
            // The session is ending: every loop leaves, the outer ones too.
            PostQuitMessage(static_cast<int>(message.wParam));
            windows_.EndedWith = static_cast<int>(message.wParam);
            return;
        }
        if (received == -1) return;
        window.ProcessMessage(message);
    }
}

HWND Win32Platform::Owner() const { return windows_.Windows.empty() ? nullptr : windows_.Windows.back()->Handle(); }

}  // namespace tovarin
