#include <windows.h>

#include "gamefiles/folder_lock.h"
#include "gamefiles/wide_paths.h"

// LockFileEx on the lock file's first byte; the system lets it go when the handle closes or the process ends.
namespace tovarin {

std::intptr_t OpenLockFile(const std::string& path) {
    const HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(file);
}

bool TryLockFile(std::intptr_t file) {
    OVERLAPPED from{};
    if (::LockFileEx(reinterpret_cast<HANDLE>(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                     &from) != FALSE) {
        return true;
    }
    // A file system without locks cannot tell two writers apart: go on as before.
    return ::GetLastError() != ERROR_LOCK_VIOLATION && ::GetLastError() != ERROR_IO_PENDING;
}

void CloseLockFile(std::intptr_t file) {
    OVERLAPPED from{};
    ::UnlockFileEx(reinterpret_cast<HANDLE>(file), 0, 1, 0, &from);
    ::CloseHandle(reinterpret_cast<HANDLE>(file));
}

std::uint32_t ProcessNumber() { return static_cast<std::uint32_t>(::GetCurrentProcessId()); }

}  // namespace tovarin
