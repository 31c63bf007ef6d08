#pragma once

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#endif

#include "gamefiles/game_paths.h"

// The built tovarin-cli run as a process of its own, beside the suite, as a script runs it: for what only two
// processes on one game folder show (the folder's lock, a process killed in the middle of a change).
namespace tovarin::testkit {

#ifndef _WIN32
extern "C" char** environ;
#endif

// The program, found from the suite's own folder.
inline std::string BuiltCli() {
#ifdef _WIN32
    char suite[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, suite, MAX_PATH);
#else
    char suite[PATH_MAX] = {};
    if (::readlink("/proc/self/exe", suite, sizeof suite - 1) < 0) return "tovarin-cli";
#endif
    return FolderOf(suite) + TOVARIN_CLI_FROM_TESTS;
}

// tovarin-cli started with these arguments, its standard output and error both into the file `output`; with
// `holdInput`, its standard input a pipe that stays open, so that a command reading it waits, until CloseInput.
class CliProcess {
public:
    CliProcess(const std::vector<std::string>& arguments, const std::string& output, bool holdInput = false) {
#ifdef _WIN32
        std::string line = "\"" + BuiltCli() + "\"";
        for (const std::string& argument : arguments) {
            // Backslashes before the closing quote are doubled, or the quote would be taken as part of the argument.
            const std::size_t kept = argument.size() - (argument.find_last_not_of('\\') + 1);
            line += " \"" + argument + std::string(kept, '\\') + "\"";
        }
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const HANDLE out = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = out;
        HANDLE reading = GetStdHandle(STD_INPUT_HANDLE);
        if (holdInput && CreatePipe(&reading, &input_, &inherited, 0)) {
            SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        }
        startup.hStdInput = reading;
        PROCESS_INFORMATION process{};
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                           &process)) {
            CloseHandle(process.hThread);
            process_ = process.hProcess;
        }
        CloseHandle(out);
        if (input_ != nullptr) CloseHandle(reading);
#else
        std::vector<std::string> all{BuiltCli()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all) argv.push_back(argument.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        int pipe[2] = {-1, -1};
        if (holdInput && ::pipe2(pipe, O_CLOEXEC) == 0) {
            posix_spawn_file_actions_adddup2(&actions, pipe[0], 0);
            input_ = pipe[1];
        }
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (pipe[0] >= 0) ::close(pipe[0]);
#endif
    }
    ~CliProcess() {
        CloseInput();
        Kill();
        static_cast<void>(Wait());
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Its exit code once it has ended; -1 when it never started or was killed.
    int Wait() {
#ifdef _WIN32
        if (process_ == nullptr) return code_;
        WaitForSingleObject(process_, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        CloseHandle(process_);
        process_ = nullptr;
        code_ = code == kKilled ? -1 : static_cast<int>(code);
#else
        if (pid_ <= 0) return code_;
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = 0;
        code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        return code_;
    }

    // Its standard input ends.
    void CloseInput() {
#ifdef _WIN32
        if (input_ != nullptr) CloseHandle(input_);
        input_ = nullptr;
#else
        if (input_ >= 0) ::close(input_);
        input_ = -1;
#endif
    }

    // Ends it at once, as a crash or a power cut ends it: no code of its own runs.
    void Kill() {
#ifdef _WIN32
        if (process_ != nullptr) TerminateProcess(process_, kKilled);
#else
        if (pid_ > 0) ::kill(pid_, SIGKILL);
#endif
    }

private:
    int code_ = -1;
#ifdef _WIN32
    static constexpr UINT kKilled = 137;
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
#else
    pid_t pid_ = -1;
    int input_ = -1;
#endif
};

}  // namespace tovarin::testkit
