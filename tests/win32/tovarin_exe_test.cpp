#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <string>

#include "demo/demo_installation.h"
#include "gamefiles/game_paths.h"
#include "testkit/temp_game_folder.h"
#include "win32/widget_state.h"

// Tovarin.exe itself, dropped into a game folder and started as a player starts it.
namespace tovarin {
namespace {

constexpr DWORD kPatienceMs = 30000;
constexpr DWORD kStepMs = 100;
constexpr int kMessageBoxText = 0xFFFF;

// Design pixels (96 DPI) in screen pixels, as the windows scale their layout.
int Scaled(int designPixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(designPixels, dpi, 96);
}

// Tovarin.exe as built, found from the suite's own folder.
std::string BuiltTovarinExe() {
    char suite[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, suite, MAX_PATH);
    return FolderOf(suite) + TOVARIN_EXE_FROM_TESTS;
}

// Copies Tovarin.exe into the game folder and starts it from elsewhere, as a shortcut may: it finds the game by
// its own path. Every message box is answered with Enter as a player does, and the main window, once it shows, is
// closed. Tells what the player saw, a line each, and the exit code.
std::string RunTovarin(const testkit::TempGameFolder& game, const std::string& arguments = "") {
    const std::string exe = game.PathOf("Tovarin.exe");
    if (!CopyFileA(BuiltTovarinExe().c_str(), exe.c_str(), FALSE)) return "cannot copy";
    const std::string quoted = "\"" + exe + "\"";
    const auto process =
        reinterpret_cast<HANDLE>(_spawnl(_P_NOWAIT, exe.c_str(), quoted.c_str(), arguments.c_str(), nullptr));
    if (process == INVALID_HANDLE_VALUE) return "cannot start " + exe;
    std::string seen;
    HWND answered = nullptr;
    HWND closed = nullptr;
    for (DWORD waited = 0; waited < kPatienceMs && WaitForSingleObject(process, kStepMs) == WAIT_TIMEOUT;
         waited += kStepMs) {
        // The suite itself has no window open meanwhile: what shows is the program's.
        HWND box = FindWindowA("#32770", "Tovarin");
        if (box != nullptr && box != answered) {
            char text[1024] = {};
            GetDlgItemTextA(box, kMessageBoxText, text, sizeof text);
            seen += std::string("box: ") + text + "\n";
            PostMessageA(box, WM_KEYDOWN, VK_RETURN, 1);
            answered = box;
        }
        HWND window = FindWindowA("TovarinForm", nullptr);
        if (window != nullptr && window != closed && IsWindowVisible(window)) {
            RECT client{};
            GetClientRect(window, &client);
            seen += "window: " + WindowText(window) + ", " + std::to_string(client.right) + " x " +
                    std::to_string(client.bottom) + "\n";
            PostMessageA(window, WM_CLOSE, 0, 0);
            closed = window;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    TerminateProcess(process, 99);
    CloseHandle(process);
    return seen + (code == STILL_ACTIVE ? "still running" : "exit code " + std::to_string(code));
}

// A player's first start in the demo installation: the offer to install, its confirmation, then the window.
TEST(TovarinExeTest, StartsInTheDemoInstallationAndShowsItsWindow) {
    testkit::TempGameFolder game;
    demo::WriteDemoInstallation(game);
    EXPECT_EQ(RunTovarin(game),
              "box: Install Tovarin for Vantorsk Ashfall?\nbox: Install successfull\nwindow: Kestrel - Tovarin 1.0, " +
                  std::to_string(Scaled(464)) + " x " + std::to_string(Scaled(463)) + "\nexit code 0");
}

// The shell finds the program's icon in Tovarin.exe in every size it asks for, and the windows load it.
TEST(TovarinExeTest, HoldsItsIconInEverySizeTheShellAsksFor) {
    HMODULE exe = LoadLibraryExA(BuiltTovarinExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC group = FindResourceA(exe, MAKEINTRESOURCEA(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
    std::string widths;  // after a header of 6 bytes, 14 bytes per image, its width first (0 for 256)
    for (int image = 0; image < directory[4]; ++image) widths += std::to_string(directory[6 + 14 * image]) + " ";
    EXPECT_EQ(widths, "16 24 32 48 0 ");
    EXPECT_NE(LoadImageA(exe, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0), nullptr);
    FreeLibrary(exe);
}

// Without the game's executable it says why, and "/u" restores the archive: both end the program with 0.
TEST(TovarinExeTest, AMissingGameAndSlashUEndItWithZero) {
    testkit::TempGameFolder noGame;
    noGame.SetCatalogueKey("Info", "Run", "vantorsk.exe");
    EXPECT_EQ(RunTovarin(noGame),
              "box: vantorsk.exe not found. You have to install Tovarin into the folder where VSK is installed!\n"
              "exit code 0");

    testkit::TempGameFolder game;
    game.SetCatalogueKey("InstallData", "num", "0");  // the install offer has nothing to ask: only the removal speaks
    demo::Bytes archive(16, 0x11);
    archive[10] = 'A';
    game.WriteFile("data.tre", archive);
    game.WriteText("uninstall.dat", demo::IniText({{"data", {{"num", "1"}, {"0", "10"}, {"10", "7"}}}}));
    EXPECT_EQ(RunTovarin(game, "/u"), "box: Uninstall successfull\nexit code 0");
}

}  // namespace
}  // namespace tovarin
