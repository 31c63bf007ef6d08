#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gamefiles/game_paths.h"
#include "demo/demo_installation.h"
#include "testkit/game_folder.h"
#include "window_driver.h"

// Tovarin.exe itself, started as a player starts it: from the game folder it was dropped into.
namespace tovarin {
namespace {

constexpr DWORD kPatienceMs = 30000;

std::string TovarinExe() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOf(path) + TOVARIN_EXE_FROM_TESTS;
}

struct Windows {
    DWORD ProcessId;
    std::vector<HWND> Found;
};

// The shown top-level windows of a process.
std::vector<HWND> WindowsOf(DWORD processId) {
    Windows windows{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& wanted = *reinterpret_cast<Windows*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == wanted.ProcessId && IsWindowVisible(window)) wanted.Found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows.Found;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The button a box's Enter key presses: the one drawn as the default.
HWND DefaultButtonOf(HWND box) {
    HWND found = nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
            if (ClassOf(child) != "Button" || (style & BS_TYPEMASK) != BS_DEFPUSHBUTTON) return TRUE;
            *reinterpret_cast<HWND*>(data) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Tovarin.exe running in a game folder, ended when the test ends.
class RunningTovarin {
public:
    RunningTovarin(const testkit::GameFolder& game, const std::string& arguments = "") {
        const std::string exe = game.PathOf("Tovarin.exe");
        if (!CopyFileA(TovarinExe().c_str(), exe.c_str(), FALSE)) {
            ADD_FAILURE() << "cannot copy " << TovarinExe();
            return;
        }
        std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, game.Folder().c_str(),
                            &startup, &process_)) {
            ADD_FAILURE() << "cannot start " << exe << ": error " << GetLastError();
        }
    }
    ~RunningTovarin() {
        if (process_.hProcess == nullptr) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    RunningTovarin(const RunningTovarin&) = delete;
    RunningTovarin& operator=(const RunningTovarin&) = delete;

    // The main window once it shows, or nullptr. Message boxes meanwhile are answered with their default button,
    // as a player pressing Enter does, and their texts kept in Boxes.
    HWND WaitForMainWindow() {
        for (DWORD waited = 0; waited < kPatienceMs && Running(); waited += kStepMs) {
            for (HWND window : WindowsOf(process_.dwProcessId)) {
                if (ClassOf(window) == "TovarinForm") return window;
            }
            AnswerBoxes();
            Sleep(kStepMs);
        }
        return nullptr;
    }

    // The exit code once the program ended (answering its message boxes meanwhile), or -1.
    int WaitForExit() {
        for (DWORD waited = 0; waited < kPatienceMs && Running(); waited += kStepMs) {
            AnswerBoxes();
            Sleep(kStepMs);
        }
        DWORD code = 0;
        if (Running() || !GetExitCodeProcess(process_.hProcess, &code)) return -1;
        return static_cast<int>(code);
    }

    std::vector<std::string> Boxes;  // the texts of the message boxes shown, in order

private:
    static constexpr DWORD kStepMs = 100;
    static constexpr int kMessageBoxText = 0xFFFF;  // the message box's text control

    bool Running() const {
        return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
    }

    void AnswerBoxes() {
        for (HWND window : WindowsOf(process_.dwProcessId)) {
            if (ClassOf(window) != "#32770") continue;
            char text[1024] = {};
            GetDlgItemTextA(window, kMessageBoxText, text, sizeof text);
            Boxes.emplace_back(text);
            HWND button = DefaultButtonOf(window);
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            Sleep(kStepMs);  // the box goes before the next look
        }
    }

    PROCESS_INFORMATION process_{};
};

// A player's first start in the demo installation: the offer to install, its confirmation, then the window.
TEST(TovarinExeTest, StartsInTheDemoInstallationAndShowsItsWindow) {
    testkit::GameFolder game;
    demo::WriteDemoInstallation(game);
    RunningTovarin tovarin(game);
    HWND window = tovarin.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no main window; boxes: " << testing::PrintToString(tovarin.Boxes);
    EXPECT_EQ(WindowText(window), "Tovarin 1.0");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, testkit::Scaled(464));
    EXPECT_EQ(client.bottom, testkit::Scaled(463));
    EXPECT_EQ(tovarin.Boxes,
              (std::vector<std::string>{"Install Tovarin for Vantorsk Ashfall?", "Install successfull"}));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(tovarin.WaitForExit(), 0);
}

TEST(TovarinExeTest, WithoutTheGamesExecutableItSaysWhyAndEndsWithZero) {
    testkit::GameFolder game;
    game.SetCatalogueKey("Info", "Run", "vantorsk.exe");
    RunningTovarin tovarin(game);
    EXPECT_EQ(tovarin.WaitForExit(), 0);
    EXPECT_EQ(tovarin.Boxes, std::vector<std::string>{
                                 "vantorsk.exe not found. You have to install Tovarin into the folder where VSK is "
                                 "installed!"});
}

TEST(TovarinExeTest, SlashURestoresTheArchiveAndEndsWithZero) {
    testkit::GameFolder game;
    game.SetCatalogueKey("InstallData", "num", "0");  // the probe has nothing to ask: only the removal speaks
    testkit::Bytes archive(64, 0x11);
    archive[10] = 'A';
    archive[20] = 'A';
    game.WriteFile("data.tre", archive);
    game.WriteText("uninstall.dat",
                   testkit::IniText({{"data", {{"num", "2"}, {"0", "10"}, {"10", "7"}, {"1", "20"}, {"20", "9"}}}}));
    RunningTovarin tovarin(game, "/u");
    EXPECT_EQ(tovarin.WaitForExit(), 0);
    EXPECT_EQ(tovarin.Boxes, std::vector<std::string>{"Uninstall successfull"});
    const testkit::Bytes restored = game.ReadFile("data.tre");
    EXPECT_EQ(restored[10], 7);
    EXPECT_EQ(restored[20], 9);
}

}  // namespace
}  // namespace tovarin
