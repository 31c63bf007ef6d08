#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "demo/demo_installation.h"
#include "gamefiles/game_paths.h"
#include "testkit/temp_game_folder.h"

// tovarin-cli.exe as a script starts it: alone in its folder, its output read from a pipe.
namespace tovarin {
namespace {

constexpr DWORD kPatienceMs = 30000;

// The exit code and everything the program printed, standard error after standard output as written.
struct Printed {
    DWORD Exit = 0;
    std::string Text;
};

Printed RunCli(const std::string& arguments) {
    char suite[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, suite, MAX_PATH);
    std::string commandLine = "\"" + FolderOf(suite) + TOVARIN_CLI_FROM_TESTS + "\" " + arguments;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    if (!CreatePipe(&reader, &writer, &inherited, 0)) return {99, "no pipe"};
    SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer;
    startup.hStdError = writer;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writer);
    Printed printed;
    if (!started) {
        CloseHandle(reader);
        return {99, "cannot start " + commandLine};
    }
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(reader, buffer, sizeof buffer, &count, nullptr) && count > 0) printed.Text.append(buffer, count);
    if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 98);
    GetExitCodeProcess(process.hProcess, &printed.Exit);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(reader);
    return printed;
}

TEST(CliExeTest, ListsTheDemoFleetWithItsExchangedShips) {
    testkit::TempGameFolder game;
    demo::WriteDemoInstallation(game);
    game.SetSwitchEntry("Halberd", "Sable");
    game.SetSwitchEntry("Sable", "Halberd");
    std::string folder = game.Folder();
    folder.pop_back();  // a backslash before the closing quote would escape it
    const Printed ships = RunCli("--game \"" + folder + "\" ships");
    EXPECT_EQ(ships.Exit, 0u);
    EXPECT_EQ(ships.Text,
              "Kestrel\tkestrel.iff\r\nWarden\twarden.iff\r\nHalberd\thalberd.iff\tSable\r\nCorsair\tcorsair.iff\r\n"
              "Lancet\tlancet.iff\r\nBastion\tbastion.iff\r\nMarauder\tmarauder.iff\r\nSable\tsable.iff\tHalberd\r\n");
    EXPECT_EQ(RunCli("ship").Exit, 2u);
    EXPECT_EQ(RunCli("--game \"" + folder + "\" ship set Kestrel speedmax=640 gun1=2").Exit, 0u);
    EXPECT_EQ(RunCli("--game \"" + folder + "\" ship get Kestrel speedmax gun1 --json").Text,
              "{\"speedmax\":640,\"gun1\":2}\r\n");
}

}  // namespace
}  // namespace tovarin
