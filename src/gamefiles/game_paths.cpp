#include "gamefiles/game_paths.h"

namespace tovarin {

std::string NameInGameFolder(const std::string& gameFolder, const std::string& path) {
    if (gameFolder.empty() || path.size() <= gameFolder.size() || !path.starts_with(gameFolder)) return path;
    std::string relative = path.substr(gameFolder.size());
    for (char& c : relative) {
        if (c == '/') c = '\\';
    }
    return relative;
}

std::string FolderOf(const std::string& fullPath) {
    const auto end = fullPath.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : fullPath.substr(0, end + 1);
}

}  // namespace tovarin
