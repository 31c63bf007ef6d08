#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>

#include "gamefiles/game_paths.h"

namespace tovarin {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of `folder` whose name equals `name` without regard to case, or `name` itself when none does.
std::string MatchIgnoringCase(const std::string& folder, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir) return name;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) return entry->d_name;
    }
    return name;
}

}  // namespace

std::string GamePath(const std::string& gameFolder, std::string_view relativeName) {
    std::string path = gameFolder;
    std::size_t begin = 0;
    while (begin <= relativeName.size()) {
        const std::size_t end = std::min(relativeName.find_first_of("\\/", begin), relativeName.size());
        const std::string component(relativeName.substr(begin, end - begin));
        if (!component.empty()) {
            path += Exists(path + component) ? component : MatchIgnoringCase(path, component);
        }
        if (end < relativeName.size()) path += '/';
        begin = end + 1;
    }
    return path;
}

}  // namespace tovarin
