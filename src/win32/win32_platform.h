#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/platform.h"
#include "win32/form_window.h"

namespace tovarin {

// The real calls, all wide (win32/wide_text.h): message boxes, the standard file dialogs, starting the game, the
// system's texts for its error codes, the program's own folder and arguments, and the windows of the program with
// their message loops.
class Win32Platform : public Platform {
public:
    Win32Platform();

    std::string ExeFolder() override;
    std::vector<std::string> Arguments() override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    Answer AskYesNoCancel(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool ExecuteDialog(TFileDialog& dialog) override;
    void ShowModal(TForm3& dialog) override;
    void ShowDialog(TForm& dialog, int clientWidth, int clientHeight) override;
    int WinExec(const std::string& commandLine, int showState) override;
    std::string ErrorCodeText(int code) override;
    int RunMessageLoop(TForm1& mainForm) override;

    // The main window, open but without its loop running (RunMessageLoop runs it; tests drive it directly).
    [[nodiscard]] std::unique_ptr<FormWindow> OpenMainWindow(TForm1& mainForm);
    // Runs the thread's messages through the window until `done` holds or a handler has ended the program.
    void RunMessagesUntil(FormWindow& window, const std::function<bool()>& done);
    [[nodiscard]] const OpenWindows& Windows() const { return windows_; }

private:
    // The window a box or dialog belongs to (and disables while it is shown): the topmost one of the program.
    [[nodiscard]] HWND Owner() const;
    // Shows a dialog of the program over its owner until a handler closes it.
    void ShowModalWindow(TForm& dialog, const std::vector<LayoutRow>& layout, const FormWindowStyle& style);

    OpenWindows windows_;
};

}  // namespace tovarin
