#include <windows.h>
// windows.h names its own ReplaceFile (a macro for ReplaceFileA); ours is the one defined below.
#undef ReplaceFile

#include <algorithm>
#include <cerrno>

#include "gamefiles/change_hook.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_faults.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/run_caches.h"
#include "gamefiles/wide_paths.h"

namespace tovarin {

namespace {

constexpr int kNegativeSeek = 131;  // ERROR_NEGATIVE_SEEK, what Windows says for a position before the start
constexpr int kDiskFull = 101;
constexpr std::intptr_t kClosed = -1;  // INVALID_HANDLE_VALUE
// ReadFile and WriteFile take a 32-bit count; larger transfers go in pieces.
constexpr std::int64_t kLargestTransfer = 1 << 30;
// The first and longest pause between the tries of a file that another program holds (HeldFileWait says how long
// it is tried in all).
constexpr DWORD kFirstPause = 10;
constexpr DWORD kLongestPause = 500;

[[noreturn]] void Fail(const std::string& path) { throw InOutErrorOn(path, static_cast<int>(::GetLastError())); }

// The code Windows gives for the failure a test injects (an errno, as the POSIX layer takes it), so that the
// player reads the same message on every system.
int CodeOfInjected(const InjectedFault& fault, FileCall call) {
    switch (fault.Error) {
        case ENOSPC:
            return kDiskFull;
        case EACCES:
            return ERROR_ACCESS_DENIED;
        case EBUSY:
            return ERROR_SHARING_VIOLATION;
        case EIO:
            if (call == FileCall::Read) return ERROR_READ_FAULT;
            if (call == FileCall::Write || call == FileCall::Flush || call == FileCall::Close) return ERROR_WRITE_FAULT;
            return ERROR_IO_DEVICE;
        default:
            return ERROR_GEN_FAILURE;
    }
}

void FailIfInjected(FileCall call, const std::string& path) {
    if (const auto fault = InjectedFaultFor(call, path)) throw InOutErrorOn(path, CodeOfInjected(*fault, call));
}

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

bool HasAttribute(const std::string& path, DWORD attribute) {
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

// Another program that has the file open (the game, an antivirus scanner, a search indexer) makes Windows refuse
// it with a sharing violation, or with "access denied" while a file it deletes or replaces is on its way out. A
// file marked read-only and a folder are refused so for good.
bool HeldByAnotherProgram(DWORD error, const std::string& path) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
    return error == ERROR_ACCESS_DENIED && !HasAttribute(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
}

// The failure of a call on a file that another program held throughout the tries: it names the file, says why and
// what became of it (`outcome`).
EInOutError HeldFileError(const std::string& path, DWORD error, const char* outcome) {
    const std::string why = std::string("Another program, perhaps the game, is using the file, so Tovarin ") + outcome +
                            ". Close that program and try again";
    EInOutError held(static_cast<int>(error), why);
    held.File = path;
    return held;
}

// Tries the call until it succeeds; a refusal by another program is tried again with growing pauses, for a few
// seconds in all (HeldFileWait), since such programs mostly hold a file for a moment.
template <class Call>
void WithRetries(const std::string& path, const char* outcome, Call call) {
    const auto mostWait = static_cast<DWORD>(HeldFileWait().count());
    DWORD waited = 0;
    for (DWORD pause = kFirstPause;; pause = std::min(pause * 2, kLongestPause)) {
        if (call()) return;
        const DWORD error = ::GetLastError();
        if (!HeldByAnotherProgram(error, path)) throw InOutErrorOn(path, static_cast<int>(error));
        if (waited >= mostWait) throw HeldFileError(path, error, outcome);
        const DWORD slept = std::min(pause, mostWait - waited);
        ::Sleep(slept);
        waited += slept;
    }
}

// Reading and writing at once, and other programs (the game among them) may only read meanwhile.
std::intptr_t OpenNative(const std::string& path, DWORD disposition, DWORD access = GENERIC_READ | GENERIC_WRITE) {
    FailIfInjected(disposition == CREATE_ALWAYS ? FileCall::Create : FileCall::Open, path);
    HANDLE handle = INVALID_HANDLE_VALUE;
    const std::wstring wide = WidePath(path);
    WithRetries(path, "could not open it", [&] {
        handle =
            ::CreateFileW(wide.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        return handle != INVALID_HANDLE_VALUE;
    });
    return reinterpret_cast<std::intptr_t>(handle);
}

DWORD Piece(std::int64_t remaining) { return static_cast<DWORD>(std::min(remaining, kLargestTransfer)); }

}  // namespace

GameFileHandle GameFileHandle::OpenExisting(const std::string& path) {
    return GameFileHandle(OpenNative(path, OPEN_EXISTING), path);
}

GameFileHandle GameFileHandle::CreateNew(const std::string& path) {
    GameFileHandle created(OpenNative(path, CREATE_ALWAYS), path);
    NoteChange();
    return created;
}

GameFileHandle GameFileHandle::OpenForReading(const std::string& path) {
    return GameFileHandle(OpenNative(path, OPEN_EXISTING, GENERIC_READ), path);
}

GameFileHandle::GameFileHandle(GameFileHandle&& other) noexcept
    : handle_(other.handle_), path_(std::move(other.path_)) {
    other.handle_ = kClosed;
}

GameFileHandle::~GameFileHandle() {
    if (handle_ != kClosed) ::CloseHandle(Native(handle_));
}

void GameFileHandle::Seek(std::int64_t position) {
    if (position < 0) throw InOutErrorOn(path_, kNegativeSeek);
    LARGE_INTEGER distance{};
    distance.QuadPart = position;
    if (!::SetFilePointerEx(Native(handle_), distance, nullptr, FILE_BEGIN)) Fail(path_);
}

std::int64_t GameFileHandle::Size() {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Native(handle_), &size)) Fail(path_);
    return size.QuadPart;
}

std::int64_t GameFileHandle::Read(std::uint8_t* buffer, std::int64_t count) {
    FailIfInjected(FileCall::Read, path_);
    std::int64_t done = 0;
    while (done < count) {
        DWORD got = 0;
        if (!::ReadFile(Native(handle_), buffer + done, Piece(count - done), &got, nullptr)) Fail(path_);
        if (got == 0) break;
        done += got;
    }
    return done;
}

void GameFileHandle::Write(const std::uint8_t* buffer, std::int64_t count) {
    NoteChange();
    if (const auto fault = InjectedFaultFor(FileCall::Write, path_)) {
        // A disk that fills up part-way has put down the first half when the write fails.
        DWORD put = 0;
        if (fault->HalfWrite && count > 1) ::WriteFile(Native(handle_), buffer, Piece(count / 2), &put, nullptr);
        throw InOutErrorOn(path_, CodeOfInjected(*fault, FileCall::Write));
    }
    std::int64_t done = 0;
    while (done < count) {
        DWORD put = 0;
        if (!::WriteFile(Native(handle_), buffer + done, Piece(count - done), &put, nullptr)) {
            // A full disk is the player's "Disk full", whichever way the system reports it.
            const DWORD error = ::GetLastError();
            const bool full = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
            throw InOutErrorOn(path_, full ? kDiskFull : static_cast<int>(error));
        }
        if (put == 0) throw InOutErrorOn(path_, kDiskFull);
        done += put;
    }
}

void GameFileHandle::Flush() {
    FailIfInjected(FileCall::Flush, path_);
    if (!::FlushFileBuffers(Native(handle_))) Fail(path_);
}

void GameFileHandle::Close() {
    const HANDLE handle = Native(handle_);
    handle_ = kClosed;
    if (const auto fault = InjectedFaultFor(FileCall::Close, path_)) {
        ::CloseHandle(handle);
        throw InOutErrorOn(path_, CodeOfInjected(*fault, FileCall::Close));
    }
    if (!::CloseHandle(handle)) Fail(path_);
}

void ReplaceFile(const std::string& from, const std::string& to) {
    BeforeChange(to);  // a rename is a change of the file it replaces, as much as a write
    // Windows refuses to replace a read-only file; checked here as well because Wine, on a Unix file system,
    // would let the rename through.
    if (HasAttribute(to, FILE_ATTRIBUTE_READONLY)) throw InOutErrorOn(to, ERROR_ACCESS_DENIED);
    FailIfInjected(FileCall::Rename, to);
    WithRetries(to, "could not replace it: it was not changed", [&] {
        return ::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    NoteChange();
}

void FlushFolderOf(const std::string&) {}

void CreateFolder(const std::string& path) {
    FailIfInjected(FileCall::Create, path);
    const std::wstring wide = WidePath(path);
    if (::CreateDirectoryW(wide.c_str(), nullptr)) {
        NoteChange();
        return;
    }
    const DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return;
    }
    // A file where the folder belongs: what Windows says when a file is opened in place of a folder.
    throw InOutErrorOn(path,
                       error == ERROR_ALREADY_EXISTS ? static_cast<int>(ERROR_ACCESS_DENIED) : static_cast<int>(error));
}

}  // namespace tovarin
