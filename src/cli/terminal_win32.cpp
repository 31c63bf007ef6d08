#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <streambuf>

#include "cli/command_line.h"
#include "cli/terminal.h"
#include "gamefiles/text_encoding.h"
#include "gamefiles/wide_paths.h"

namespace tovarin::cli {

namespace {

std::wstring WideOf(const std::string& text, UINT codePage) {
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// One of the standard output handles, written as a Windows program writes it: lines end with CR LF; a console
// is given the text as UTF-16 (WriteConsoleW), which cmd.exe and PowerShell show whatever their code page; a
// file or a pipe gets the UTF-8 bytes.
class StandardHandleBuffer : public std::streambuf {
public:
    explicit StandardHandleBuffer(DWORD which) : handle_(::GetStdHandle(which)) {
        DWORD mode = 0;
        console_ = ::GetConsoleMode(handle_, &mode) != FALSE;
    }
    ~StandardHandleBuffer() override { Write(pending_.size()); }
    StandardHandleBuffer(const StandardHandleBuffer&) = delete;
    StandardHandleBuffer& operator=(const StandardHandleBuffer&) = delete;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        Append(traits_type::to_char_type(c));
        return c;
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        for (std::streamsize i = 0; i < count; ++i) Append(text[i]);
        return count;
    }

    int sync() override {
        Write(pending_.size());
        return 0;
    }

private:
    // Whole lines go out as they are ended, so that a character is never split between two writes.
    void Append(char c) {
        if (c == '\n' && !afterCarriageReturn_) pending_ += '\r';
        afterCarriageReturn_ = c == '\r';
        pending_ += c;
        if (c == '\n') Write(pending_.size());
    }

    void Write(std::size_t count) {
        if (count == 0) return;
        DWORD written = 0;
        if (console_) {
            const std::wstring wide = WideOf(pending_.substr(0, count), CP_UTF8);
            ::WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            ::WriteFile(handle_, pending_.data(), static_cast<DWORD>(count), &written, nullptr);
        }
        pending_.erase(0, count);
    }

    HANDLE handle_;
    bool console_ = false;
    bool afterCarriageReturn_ = false;
    std::string pending_;
};

}  // namespace

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) arguments.push_back(Utf8OfWide(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

std::string FileSystemName(const std::string& typed) {
    if (IsUtf8(typed)) return typed;
    return Utf8OfCodePage(typed);  // in the system's code page, as a test may pass it
}

int RunOnTerminal(const std::vector<std::string>& arguments) {
    // A sheet or a profile read from standard input keeps its bytes: UTF-16 and CR LF as they are.
    ::_setmode(::_fileno(stdin), _O_BINARY);
    StandardHandleBuffer out(STD_OUTPUT_HANDLE);
    StandardHandleBuffer err(STD_ERROR_HANDLE);
    std::ostream outStream(&out);
    std::ostream errStream(&err);
    const int code = RunCommandLine(arguments, Terminal{std::cin, outStream, errStream, TerminalEncoding::Utf8});
    outStream.flush();
    errStream.flush();
    return code;
}

}  // namespace tovarin::cli
