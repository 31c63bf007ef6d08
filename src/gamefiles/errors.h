#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace tovarin {

// Every error the program reports derives from Exception; the form's dispatcher shows its message in the
// general error box. The messages are the ones the program has always shown.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    [[nodiscard]] const std::string& Message() const { return message_; }
    [[nodiscard]] const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A failed open, seek, read, write or close of a game file. The code is the file layer's own (100 to 106: "Read
// beyond end of file", "Disk full", ...) or the one Windows gives for the failure (2, 3, 4, 5 with messages of
// their own, any other as "I/O error %d").
class EInOutError : public Exception {
public:
    explicit EInOutError(int code);
    EInOutError(int code, std::string message) : Exception(std::move(message)), ErrorCode(code) {}
    int ErrorCode;
    // The file the failing call was made on, as the file layer was given it; empty for a failure over bytes held
    // in memory until OnBytesOf names their file. The window and the command line show it in front of the message.
    std::string File;
};

// An error's message as the player is shown it: a failure of the file layer names the file its call was on in
// front ("Ships\kestrel.iff: File access denied"), a game file by its path in the game folder; any other error is
// its message alone. A file that was replaced, but whose folder could not be flushed, is said to be written.
[[nodiscard]] std::string Described(const Exception& error, const std::string& gameFolder);

// Runs `work` over the bytes of the file at `path` held in memory: an input/output error on the way (a marker
// missing, a record beyond the end) names that file, as the file layer's own errors name theirs.
template <typename Work>
decltype(auto) OnBytesOf(const std::string& path, Work&& work) {
    try {
        return work();
    } catch (EInOutError& error) {
        if (error.File.empty()) error.File = path;
        throw;
    }
}

// What the file layer reports for a file that is not there.
inline constexpr int kFileNotFound = 2;

// The file layer's failure of a call on this file.
[[nodiscard]] EInOutError InOutErrorOn(const std::string& file, int code);

// The file layer's own codes share their numbers with unrelated Windows errors (101 is a semaphore's to
// Windows), so the system's text for them would mislead; their own message says what happened.
inline constexpr int kFirstFileLayerCode = 100;
inline constexpr int kLastFileLayerCode = 106;
[[nodiscard]] bool IsFileLayerCode(int code);

// A value outside an 8-bit or 16-bit field, or an index outside a fixed table.
class ERangeError : public Exception {
public:
    ERangeError() : Exception("Range check error") {}
};

// Position arithmetic that left the signed 32-bit range.
class EIntOverflow : public Exception {
public:
    EIntOverflow() : Exception("Integer overflow") {}
};

// A text as a message quotes it: one of more than 80 bytes, far longer than any name or number (a sheet's cell may
// hold megabytes), is cut to its first 60 bytes followed by "...".
[[nodiscard]] std::string Abbreviated(std::string_view text);

// A box that holds no integer when a value is taken from it.
class EConvertError : public Exception {
public:
    explicit EConvertError(std::string_view text)
        : Exception("'" + Abbreviated(text) + "' is not a valid integer value") {}
};

// The platform refused an INI write.
class EIniFileException : public Exception {
public:
    explicit EIniFileException(const std::string& path) : Exception("Unable to write to " + path) {}
};

// An item index beyond a list's items.
class EStringListError : public Exception {
public:
    EStringListError() : Exception("List index out of bounds") {}
};

// A float that has no 32-bit integer value (NaN, infinite, or too large) was to be rounded.
class EInvalidOp : public Exception {
public:
    EInvalidOp() : Exception("Invalid floating point operation") {}
};

// A save that went through, whose reading back failed: the player must not take it for a failed save. `file`
// names the saved file as the program names it ("Ships\kestrel.iff").
class ESavedButNotReadBack : public Exception {
public:
    ESavedButNotReadBack(const std::string& file, const Exception& cause)
        : Exception(file + " was saved, but could not be read back: " + cause.Message()) {}
};

// The same for a change of several files: `done` says what was done ("Kestrel and Warden were swapped").
class EChangedButNotReadBack : public Exception {
public:
    EChangedButNotReadBack(const std::string& done, const Exception& cause)
        : Exception(done + ", but the files could not be read back: " + cause.Message()) {}
};

// Ending the program on purpose (a fatal condition at start-up or a missing ship file). Not an Exception, so
// no dispatcher catches it: it travels to the program entry, which turns it into the exit code.
struct ProgramEnded {
    int ExitCode;
};

}  // namespace tovarin
