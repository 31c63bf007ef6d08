#include <windows.h>
// windows.h names its own ReplaceFile (a macro for ReplaceFileA); ours is the one defined below.
#undef ReplaceFile

#include <algorithm>

#include "gamefiles/change_hook.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"

namespace tovarin {

namespace {

constexpr int kNegativeSeek = 131;  // ERROR_NEGATIVE_SEEK, what Windows says for a position before the start
constexpr int kDiskFull = 101;
constexpr std::intptr_t kClosed = -1;  // INVALID_HANDLE_VALUE
// ReadFile and WriteFile take a 32-bit count; larger transfers go in pieces.
constexpr std::int64_t kLargestTransfer = 1 << 30;

[[noreturn]] void Fail(const std::string& path) { throw InOutErrorOn(path, static_cast<int>(::GetLastError())); }

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Reading and writing at once, and other programs (the game among them) may only read meanwhile.
std::intptr_t OpenNative(const std::string& path, DWORD disposition, DWORD access = GENERIC_READ | GENERIC_WRITE) {
    const HANDLE handle =
        ::CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) Fail(path);
    return reinterpret_cast<std::intptr_t>(handle);
}

DWORD Piece(std::int64_t remaining) { return static_cast<DWORD>(std::min(remaining, kLargestTransfer)); }

}  // namespace

GameFileHandle GameFileHandle::OpenExisting(const std::string& path) {
    return GameFileHandle(OpenNative(path, OPEN_EXISTING), path);
}

GameFileHandle GameFileHandle::CreateNew(const std::string& path) {
    return GameFileHandle(OpenNative(path, CREATE_ALWAYS), path);
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
    if (!::FlushFileBuffers(Native(handle_))) Fail(path_);
}

void GameFileHandle::Close() {
    const HANDLE handle = Native(handle_);
    handle_ = kClosed;
    if (!::CloseHandle(handle)) Fail(path_);
}

void ReplaceFile(const std::string& from, const std::string& to) {
    BeforeChange(to);  // a rename is a change of the file it replaces, as much as a write
    // Windows refuses to replace a read-only file; checked here as well because Wine, on a Unix file system,
    // would let the rename through.
    const DWORD attributes = ::GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw InOutErrorOn(to, ERROR_ACCESS_DENIED);
    }
    if (!::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) Fail(to);
}

void CreateFolder(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) return;
    const DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return;
    }
    // A file where the folder belongs: what Windows says when a file is opened in place of a folder.
    throw InOutErrorOn(path,
                       error == ERROR_ALREADY_EXISTS ? static_cast<int>(ERROR_ACCESS_DENIED) : static_cast<int>(error));
}

}  // namespace tovarin
