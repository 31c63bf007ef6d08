#include <windows.h>

#include "gamefiles/file_faults.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/run_caches.h"
#include "gamefiles/wide_paths.h"

namespace tovarin {

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DeleteFileAt(const std::string& path) {
    if (InjectedFaultFor(FileCall::Delete, path)) return false;
    if (::DeleteFileW(WidePath(path).c_str()) == 0) return false;
    NoteChange();
    return true;
}

}  // namespace tovarin
