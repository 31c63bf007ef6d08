#include <sys/stat.h>
#include <unistd.h>

#include "gamefiles/file_faults.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/run_caches.h"

namespace tovarin {

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DeleteFileAt(const std::string& path) {
    if (InjectedFaultFor(FileCall::Delete, path)) return false;
    if (::unlink(path.c_str()) != 0) return false;
    NoteChange();
    NoteFolderEntry(path, false);
    return true;
}

}  // namespace tovarin
