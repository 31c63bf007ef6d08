#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "gamefiles/folder_lock.h"

// An open-file-description lock (F_OFD_SETLK): it belongs to the open file, not to the process, so two opens in
// one process exclude each other as two processes do, and it ends when the file is closed or the process ends. It
// also conflicts with the classic fcntl locks through which Wine gives a Windows program's LockFileEx to the system,
// so a native tovarin-cli and Tovarin.exe under Wine on one folder exclude each other. The lock file's calls are no
// game file's: a test's injected faults never reach them.
namespace tovarin {

namespace {

struct flock FirstByte(short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = 0;
    range.l_len = 1;
    return range;
}

}  // namespace

std::intptr_t OpenLockFile(const std::string& path) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool TryLockFile(std::intptr_t file) {
    struct flock range = FirstByte(F_WRLCK);
    int result = 0;
    do {
        result = ::fcntl(static_cast<int>(file), F_OFD_SETLK, &range);
    } while (result != 0 && errno == EINTR);
    // A file system without locks (some network shares) cannot tell two writers apart: go on as before.
    return result == 0 || (errno != EAGAIN && errno != EACCES);
}

void CloseLockFile(std::intptr_t file) {
    struct flock range = FirstByte(F_UNLCK);
    ::fcntl(static_cast<int>(file), F_OFD_SETLK, &range);
    ::close(static_cast<int>(file));
}

std::uint32_t ProcessNumber() { return static_cast<std::uint32_t>(::getpid()); }

}  // namespace tovarin
