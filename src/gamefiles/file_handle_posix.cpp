#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "gamefiles/change_hook.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_faults.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/run_caches.h"

namespace tovarin {

namespace {

constexpr int kNegativeSeek = 131;

// The code a Windows system gives for the same failure, so that the player reads the same message on every
// system; the file layer's own "Disk full" (101) for a full disk. An error Windows has no counterpart for keeps
// the system's number.
int CodeOf(int error, FileCall call) {
    switch (error) {
        case ENOENT:
            return 2;  // ERROR_FILE_NOT_FOUND
        case ENOTDIR:
            return 3;  // ERROR_PATH_NOT_FOUND
        case EMFILE:
        case ENFILE:
            return 4;  // ERROR_TOO_MANY_OPEN_FILES
        case EACCES:
        case EPERM:
        case EISDIR:
            return 5;  // ERROR_ACCESS_DENIED: Windows refuses to open a folder as a file so too
        case EXDEV:
            return 17;  // ERROR_NOT_SAME_DEVICE
        case EROFS:
            return 19;  // ERROR_WRITE_PROTECT
        case ENXIO:
        case ENODEV:
            return 21;  // ERROR_NOT_READY
        case EBUSY:
        case ETXTBSY:
            return 32;  // ERROR_SHARING_VIOLATION
        case EEXIST:
            return 80;  // ERROR_FILE_EXISTS
        case EINVAL:
            return 87;  // ERROR_INVALID_PARAMETER
        case ENOSPC:
        case EDQUOT:
            return 101;
        case ENAMETOOLONG:
            return 206;  // ERROR_FILENAME_EXCED_RANGE
        case ELOOP:
            return 1921;  // ERROR_CANT_RESOLVE_FILENAME
        case EIO:
            // The device failed: reading (ERROR_READ_FAULT), putting data down (ERROR_WRITE_FAULT), or anything
            // else (ERROR_IO_DEVICE).
            if (call == FileCall::Read) return 30;
            if (call == FileCall::Write || call == FileCall::Flush || call == FileCall::Close) return 29;
            return 1117;
        default:
            return error;
    }
}

[[noreturn]] void Fail(FileCall call, const std::string& path) { throw InOutErrorOn(path, CodeOf(errno, call)); }

// A fault a test injects fails the call as the system would, with errno set.
void FailIfInjected(FileCall call, const std::string& path) {
    if (const auto fault = InjectedFaultFor(call, path)) {
        errno = fault->Error;
        Fail(call, path);
    }
}

// A file marked read-only (no write-permission bit) is refused as Windows refuses a read-only file, also to
// root, who could otherwise write it anyway.
bool MarkedReadOnly(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
}

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

GameFileHandle GameFileHandle::OpenExisting(const std::string& path) {
    if (MarkedReadOnly(path)) throw InOutErrorOn(path, 5);
    FailIfInjected(FileCall::Open, path);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) Fail(FileCall::Open, path);
    return GameFileHandle(fd, path);
}

GameFileHandle GameFileHandle::CreateNew(const std::string& path) {
    if (MarkedReadOnly(path)) throw InOutErrorOn(path, 5);
    FailIfInjected(FileCall::Create, path);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail(FileCall::Create, path);
    NoteChange();
    NoteFolderEntry(path, true);
    return GameFileHandle(fd, path);
}

GameFileHandle GameFileHandle::OpenForReading(const std::string& path) {
    FailIfInjected(FileCall::Open, path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail(FileCall::Open, path);
    return GameFileHandle(fd, path);
}

GameFileHandle::GameFileHandle(GameFileHandle&& other) noexcept
    : handle_(other.handle_), path_(std::move(other.path_)) {
    other.handle_ = -1;
}

GameFileHandle::~GameFileHandle() {
    if (handle_ >= 0) ::close(Descriptor(handle_));
}

void GameFileHandle::Seek(std::int64_t position) {
    if (position < 0) throw InOutErrorOn(path_, kNegativeSeek);
    if (::lseek(Descriptor(handle_), static_cast<off_t>(position), SEEK_SET) < 0) Fail(FileCall::Read, path_);
}

std::int64_t GameFileHandle::Size() {
    struct stat info {};
    if (::fstat(Descriptor(handle_), &info) != 0) Fail(FileCall::Read, path_);
    return info.st_size;
}

std::int64_t GameFileHandle::Read(std::uint8_t* buffer, std::int64_t count) {
    FailIfInjected(FileCall::Read, path_);
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(Descriptor(handle_), buffer + done, static_cast<size_t>(count - done));
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail(FileCall::Read, path_);
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

void GameFileHandle::Write(const std::uint8_t* buffer, std::int64_t count) {
    NoteChange();
    if (const auto fault = InjectedFaultFor(FileCall::Write, path_)) {
        // A disk that fills up part-way has put down the first half when the write fails.
        if (fault->HalfWrite && count > 1 && ::write(Descriptor(handle_), buffer, static_cast<size_t>(count / 2)) < 0) {
            Fail(FileCall::Write, path_);
        }
        errno = fault->Error;
        Fail(FileCall::Write, path_);
    }
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t put = ::write(Descriptor(handle_), buffer + done, static_cast<size_t>(count - done));
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail(FileCall::Write, path_);
        }
        if (put == 0) throw InOutErrorOn(path_, 101);
        done += put;
    }
}

void GameFileHandle::Flush() {
    FailIfInjected(FileCall::Flush, path_);
    if (::fsync(Descriptor(handle_)) != 0) Fail(FileCall::Flush, path_);
}

void GameFileHandle::Close() {
    const int fd = Descriptor(handle_);
    handle_ = -1;
    if (const auto fault = InjectedFaultFor(FileCall::Close, path_)) {
        ::close(fd);
        errno = fault->Error;
        Fail(FileCall::Close, path_);
    }
    if (::close(fd) != 0) Fail(FileCall::Close, path_);
}

void ReplaceFile(const std::string& from, const std::string& to) {
    if (MarkedReadOnly(to)) throw InOutErrorOn(to, 5);
    BeforeChange(to);  // a rename is a change of the file it replaces, as much as a write
    FailIfInjected(FileCall::Rename, to);
    if (std::rename(from.c_str(), to.c_str()) != 0) Fail(FileCall::Rename, to);
    NoteChange();
    NoteFolderEntry(from, false);
    NoteFolderEntry(to, true);
    try {
        FlushFolderOfChange(to);
    } catch (const EInOutError& error) {
        throw EReplacedNotFlushed(error.ErrorCode, error.Message());
    }
}

// A rename is an entry of the folder: until the folder itself reaches the disk, a power cut can bring back the old
// file after a save that said it was done.
void FlushFolderOf(const std::string& path) {
    const std::string folder = FolderOf(path).empty() ? "." : FolderOf(path);
    FailIfInjected(FileCall::Flush, folder);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) Fail(FileCall::Flush, folder);
    // A file system that cannot flush a folder (EINVAL) keeps its entries by its own rules.
    const bool flushed = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    if (!flushed) Fail(FileCall::Flush, folder);
}

void CreateFolder(const std::string& path) {
    FailIfInjected(FileCall::Create, path);
    if (::mkdir(path.c_str(), 0755) == 0) {
        NoteChange();
        NoteFolderEntry(path, true);
        return;
    }
    if (errno != EEXIST) Fail(FileCall::Create, path);
    // A file where the folder belongs is refused as Windows refuses it.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) throw InOutErrorOn(path, 5);
}

}  // namespace tovarin
