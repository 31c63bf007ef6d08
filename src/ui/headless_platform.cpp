#include "ui/headless_platform.h"

#include "gamefiles/system_error_texts.h"
#include "ui/controls.h"

namespace tovarin {

HeadlessPlatform::HeadlessPlatform(std::string exeFolder, std::vector<std::string> arguments)
    : exeFolder_(std::move(exeFolder)), arguments_(std::move(arguments)) {}

std::string HeadlessPlatform::ExeFolder() { return exeFolder_; }

std::vector<std::string> HeadlessPlatform::Arguments() { return arguments_; }

void HeadlessPlatform::ShowMessage(const std::string& text) { Boxes.push_back({Box::Kind::Message, text}); }

bool HeadlessPlatform::AskYesNo(const std::string& text) {
    Boxes.push_back({Box::Kind::Question, text});
    if (Answers.empty()) return false;
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

Platform::Answer HeadlessPlatform::AskYesNoCancel(const std::string& text) {
    Boxes.push_back({Box::Kind::Question, text});
    if (SaveAnswers.empty()) return Answer::No;
    const Answer answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
}

void HeadlessPlatform::ShowError(const std::string& text) { Boxes.push_back({Box::Kind::Error, text}); }

bool HeadlessPlatform::ExecuteDialog(TFileDialog& dialog) {
    DialogsShown.push_back(&dialog);
    if (FileChoices.empty()) return false;
    const std::optional<std::string> choice = FileChoices.front();
    FileChoices.pop_front();
    if (!choice) return false;
    dialog.FileName = *choice;
    return true;
}

void HeadlessPlatform::ShowModal(TForm3& dialog) {
    if (InsideBoosterDialog) InsideBoosterDialog(dialog);
}

void HeadlessPlatform::ShowDialog(TForm& dialog, int /*clientWidth*/, int /*clientHeight*/) {
    if (InsideDialog) InsideDialog(dialog);
}

int HeadlessPlatform::WinExec(const std::string& commandLine, int /*showState*/) {
    Launched.push_back(commandLine);
    if (LaunchErrors.empty()) return 0;
    const int error = LaunchErrors.front();
    LaunchErrors.pop_front();
    return error;
}

std::string HeadlessPlatform::ErrorCodeText(int code) { return SystemErrorText(code); }

int HeadlessPlatform::RunMessageLoop(TForm1& /*mainForm*/) { return 0; }

}  // namespace tovarin
