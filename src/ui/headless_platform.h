#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/platform.h"

namespace tovarin {

// A platform without a window system, for tests and command-line tools: it records every box shown,
// answers questions and file dialogs from a script, runs a callback inside the modal booster dialog and
// records launches.
class HeadlessPlatform : public Platform {
public:
    // exeFolder: the folder the program runs from, with its trailing separator (the game folder)
    explicit HeadlessPlatform(std::string exeFolder, std::vector<std::string> arguments = {});
    struct Box {
        enum class Kind { Message, Question, Error } kind;
        std::string text;
    };
    std::vector<Box> Boxes;                              // every box shown, in order, with the exact text shown
                                                         // (an error box's text ends with its full stop)
    std::deque<bool> Answers;                            // Yes/No answers, used in order; none left: No
    std::deque<Answer> SaveAnswers;                      // Yes/No/Cancel answers, used in order; none left: No
    std::deque<std::optional<std::string>> FileChoices;  // file dialogs: a path, or nullopt for Cancel;
                                                         // none left: Cancel
    std::function<void(TForm3&)> InsideBoosterDialog;    // runs while the booster dialog is shown
    std::function<void(TForm&)> InsideDialog;            // runs while any other dialog is shown; none: it is
                                                         // closed as by its close box
    std::vector<std::string> Launched;                   // command lines handed to WinExec
    std::deque<int> LaunchErrors;                        // WinExec's system error codes, in order; none left:
                                                         // 0, the program started
    std::vector<TFileDialog*> DialogsShown;              // file dialogs executed, in order

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

private:
    std::string exeFolder_;
    std::vector<std::string> arguments_;
};

}  // namespace tovarin
