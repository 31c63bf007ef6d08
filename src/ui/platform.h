#pragma once

#include <string>
#include <vector>

#include "gamefiles/errors.h"

namespace tovarin {

class TForm1;
class TForm;
class TForm3;
class TFileDialog;

// Everything the program needs from the operating system and the window system that is not a control.
class Platform {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Platform() = default;

    // The folder the program runs from, with its trailing separator: the game folder.
    [[nodiscard]] virtual std::string ExeFolder() = 0;
    // The command-line arguments, without the program's own name.
    [[nodiscard]] virtual std::vector<std::string> Arguments() = 0;

    // A modal box captioned "Tovarin" with one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // The one question: Yes (true) or No.
    [[nodiscard]] virtual bool AskYesNo(const std::string& text) = 0;
    // The question before unsaved changes would be dropped: Yes, No or Cancel.
    [[nodiscard]] virtual Answer AskYesNoCancel(const std::string& text) = 0;
    // The general error box (stop icon); the text already ends with its full stop.
    virtual void ShowError(const std::string& text) = 0;

    // Runs a file dialog; true and the dialog's FileName set when the user confirmed.
    [[nodiscard]] virtual bool ExecuteDialog(TFileDialog& dialog) = 0;
    // Shows the booster dialog, opened and filled by the window, modally until its OK handler closes it.
    virtual void ShowModal(TForm3& dialog) = 0;
    // Shows another dialog of the program, built from its layout and designed at this client size (at 96 DPI),
    // modally until one of its handlers closes it.
    virtual void ShowDialog(TForm& dialog, int clientWidth, int clientHeight) = 0;

    // Hands a command line to the system's launcher: 0 when the program started, else the system's error code
    // for why it did not (ErrorCodeText gives its words).
    [[nodiscard]] virtual int WinExec(const std::string& commandLine, int showState) = 0;
    // The system's description of an error code, without trailing blanks, line breaks and full stops.
    [[nodiscard]] virtual std::string ErrorCodeText(int code) = 0;

    // Runs the message loop until the main window closes; returns the exit code.
    virtual int RunMessageLoop(TForm1& mainForm) = 0;

    // Ends the program with the exit code; the entry point catches ProgramEnded.
    [[noreturn]] void Halt(int exitCode) { throw ProgramEnded{exitCode}; }
};

}  // namespace tovarin
