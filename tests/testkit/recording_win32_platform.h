#pragma once

#include <string>
#include <utility>
#include <vector>

#include "win32/win32_platform.h"

namespace tovarin::testkit {

// The real platform, but running in a test's game folder, with its boxes recorded (a modal box would wait for a
// person) and every question answered No.
struct RecordingWin32Platform : Win32Platform {
    explicit RecordingWin32Platform(std::string gameFolder) : GameFolder(std::move(gameFolder)) {}
    std::string ExeFolder() override { return GameFolder; }
    void ShowMessage(const std::string& text) override { Boxes.push_back("Message: " + text); }
    void ShowError(const std::string& text) override { Boxes.push_back("Error: " + text); }
    bool AskYesNo(const std::string& text) override {
        Boxes.push_back("Question: " + text);
        return false;
    }
    Answer AskYesNoCancel(const std::string& text) override { return AskYesNo(text) ? Answer::Yes : Answer::No; }

    std::string GameFolder;
    std::vector<std::string> Boxes;
};

}  // namespace tovarin::testkit
