#include <windows.h>

#include <exception>

#include "win32/win32_platform.h"
#include "window/application.h"

// The program entry: start-up runs inside Application::Start (which may end the program with its exit code),
// then the main window's message loop until the window closes.
int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
    try {
        tovarin::Win32Platform platform;
        tovarin::Application application(platform);
        if (const auto exitCode = application.Start()) return *exitCode;
        return application.Run();
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), tovarin::kProgramTitle, MB_OK | MB_ICONSTOP);
        return 1;
    }
}
