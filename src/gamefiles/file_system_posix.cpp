#include <sys/stat.h>
#include <unistd.h>

#include "gamefiles/file_faults.h"
#include "gamefiles/file_primitives.h"

namespace tovarin {

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DeleteFileAt(const std::string& path) {
    if (InjectedFaultFor(FileCall::Delete, path)) return false;
    return ::unlink(path.c_str()) == 0;
}

}  // namespace tovarin
