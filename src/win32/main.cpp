#include <ole2.h>
#include <windows.h>

#include <exception>

#include "win32/wide_text.h"
#include "win32/win32_platform.h"
#include "window/application.h"

// The program entry: start-up runs inside Application::Start (which may end the program with its exit code),
// then the main window's message loop until the window closes. The narrow command line WinMain is handed is not
// read: the arguments come from the wide one (Win32Platform::Arguments).
int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
    // COM hands the window's accessible objects to screen readers (and serves the file dialogs).
    const HRESULT com = OleInitialize(nullptr);
    struct ComEnd {
        bool Started;
        ~ComEnd() {
            if (Started) OleUninitialize();
        }
    } comEnd{SUCCEEDED(com)};
    try {
        tovarin::Win32Platform platform;
        tovarin::Application application(platform);
        if (const auto exitCode = application.Start()) return *exitCode;
        return application.Run();
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, tovarin::Wide(error.what()).c_str(), tovarin::Wide(tovarin::kProgramTitle).c_str(),
                    MB_OK | MB_ICONSTOP);
        return 1;
    }
}
