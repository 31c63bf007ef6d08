#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "cli/cli_run.h"
#include "demo/demo_installation.h"
#include "gamefiles/game_paths.h"
#include "testkit/temp_game_folder.h"
#include "win32/widget_state.h"
#include "window/form1.h"

// Tovarin.exe and tovarin-cli.exe as built, started as a player or a script starts them.
namespace tovarin {
namespace {

constexpr DWORD kPatienceMs = 30000;
constexpr DWORD kStepMs = 100;
constexpr int kMessageBoxText = 0xFFFF;

// A file of the build, found from the suite's own folder.
std::string Built(const char* fromTests) {
    char suite[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, suite, MAX_PATH);
    return FolderOf(suite) + fromTests;
}

// Runs a command line (UTF-8, given to the program as the wide command line), its standard output and error into
// one pipe, calling `watch` with what was seen so far every step while the program runs. Gives everything seen,
// then the exit code.
std::string RunProgram(
    std::string commandLine, const std::function<void(std::string&)>& watch = [](std::string&) {}) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    if (!CreatePipe(&reader, &writer, &inherited, 0)) return "no pipe";
    SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writer;
    PROCESS_INFORMATION process{};
    std::wstring wide(commandLine.size() + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    const bool started = CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writer);
    std::string seen = started ? "" : "cannot start " + commandLine;
    for (DWORD waited = 0; started && waited < kPatienceMs; waited += kStepMs) {
        const bool ended = WaitForSingleObject(process.hProcess, kStepMs) == WAIT_OBJECT_0;
        char buffer[4096];
        DWORD count = 0;
        while (PeekNamedPipe(reader, nullptr, 0, nullptr, &count, nullptr) && count > 0 &&
               ReadFile(reader, buffer, sizeof buffer, &count, nullptr)) {
            seen.append(buffer, count);
        }
        if (ended) break;
        watch(seen);
    }
    DWORD code = STILL_ACTIVE;
    if (started) {
        GetExitCodeProcess(process.hProcess, &code);
        TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(reader);
    return seen + (code == STILL_ACTIVE ? "still running" : "exit code " + std::to_string(code));
}

// Copies Tovarin.exe into the game folder and starts it from elsewhere, as a shortcut may: it finds the game by
// its own path. Every message box is answered with Enter as a player does, and the main window, once it shows, is
// closed. Tells what the player saw, a line each, and the exit code.
std::string RunTovarin(const testkit::TempGameFolder& game, const std::string& arguments = "") {
    const std::string exe = game.PathOf("Tovarin.exe");
    if (!CopyFileA(Built(TOVARIN_EXE_FROM_TESTS).c_str(), exe.c_str(), FALSE)) return "cannot copy";
    HWND answered = nullptr;
    HWND closed = nullptr;
    return RunProgram("\"" + exe + "\" " + arguments, [&](std::string& seen) {
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
    });
}

// A player's first start in the demo installation: the offer to install, its confirmation, then the window. Then
// tovarin-cli.exe as a script starts it, alone in its folder, its output read from a pipe: a listing, then a change
// written to a ship file and read back. Then "/u" takes the install out of the archive again and says so alone. Last,
// without the game's executable it says why; both end the program with 0.
TEST(TovarinExeTest, InstallsRunsTheCommandLineUninstallsAndNamesAMissingGame) {
    testkit::TempGameFolder game;
    demo::WriteDemoInstallation(game);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(RunTovarin(game), "box: " + InstallQuestion("Vantorsk Ashfall") +
                                    "\nbox: Install successful\n"
                                    "window: Kestrel - Tovarin 1.0, " +
                                    std::to_string(MulDiv(464, dpi, 96)) + " x " +
                                    std::to_string(MulDiv(481, dpi, 96)) + "\nexit code 0");

    std::string folder = game.Folder();
    folder.pop_back();  // a backslash before the closing quote would escape it
    const std::string cli = "\"" + Built(TOVARIN_CLI_FROM_TESTS) + "\" --game \"" + folder + "\" ";
    EXPECT_EQ(
        RunProgram(cli + "ships"),
        "Kestrel\tkestrel.iff\r\nWarden\twarden.iff\r\nHalberd\thalberd.iff\r\nCorsair\tcorsair.iff\r\n"
        "Lancet\tlancet.iff\r\nBastion\tbastion.iff\r\nMarauder\tmarauder.iff\r\nSable\tsable.iff\r\nexit code 0");
    EXPECT_TRUE(RunProgram(cli + "ship set Kestrel speedmax=640 gun1=2").ends_with("exit code 0"));
    EXPECT_EQ(RunProgram(cli + "ship get Kestrel speedmax gun1 --json"),
              "{\"speedmax\":640,\"gun1\":2}\r\nexit code 0");

    EXPECT_EQ(RunTovarin(game, "/u"), "box: Uninstall successful\nexit code 0");

    game.Remove("ashfall.exe");
    EXPECT_EQ(RunTovarin(game),
              "box: ashfall.exe not found. You have to install Tovarin into the folder where VSK is installed!\n"
              "exit code 0");
}

// tovarin-cli.exe as a script starts it, with a name outside ASCII: the arguments come in whatever the code page
// (from the wide command line), names go out in UTF-8 through a pipe with CR LF line ends, a sheet written to "-"
// keeps its own CR LF, and a path starting with "/" is a path, not an option.
TEST(TovarinExeTest, TheCommandLineTakesAndGivesNamesOutsideAscii) {
    testkit::AccentedDemo game;
    std::string folder = game.Folder();
    folder.pop_back();  // a backslash before the closing quote would escape it
    const std::string cli = "\"" + Built(TOVARIN_CLI_FROM_TESTS) + "\" --game \"" + folder + "\" ";
    EXPECT_TRUE(RunProgram(cli + "ships").starts_with("Kestr\xC3\xA9l\tkestrel.iff\r\nWarden\t"));
    EXPECT_EQ(RunProgram(cli + "ship set Kestr\xC3\xA9l speedmax=640 \"gun1=Scatter G\xC3\xBCn\""), "exit code 0");
    EXPECT_EQ(RunProgram(cli + "ship get Kestr\xC3\xA9l speedmax gun1 --json"),
              "{\"speedmax\":640,\"gun1\":8}\r\nexit code 0");
    const std::string sheet = RunProgram(cli + "export ships -");
    EXPECT_TRUE(sheet.starts_with("\xEF\xBB\xBFship,speedmin,")) << sheet.substr(0, 40);
    EXPECT_NE(sheet.find("\r\nKestr\xC3\xA9l,"), std::string::npos);
    EXPECT_EQ(sheet.find("\r\r"), std::string::npos);
    EXPECT_EQ(RunProgram(cli + "restore /home/x.csv"), "/home/x.csv has no kept original (\"backup status\" lists them)"
                                                         "\r\nexit code 1");
}

// The shell finds the program's icon in Tovarin.exe in every size it asks for, and the windows load it.
TEST(TovarinExeTest, HoldsItsIconInEverySizeTheShellAsksFor) {
    HMODULE exe = LoadLibraryExA(Built(TOVARIN_EXE_FROM_TESTS).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC group = FindResourceA(exe, MAKEINTRESOURCEA(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
    std::string widths;  // after a header of 6 bytes, 14 bytes per image, its width first (0 for 256)
    for (int image = 0; image < directory[4]; ++image) widths += std::to_string(directory[6 + 14 * image]) + " ";
    EXPECT_EQ(widths, "16 24 32 48 0 ");
    EXPECT_NE(LoadImageA(exe, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0), nullptr);
    FreeLibrary(exe);
}

}  // namespace
}  // namespace tovarin
