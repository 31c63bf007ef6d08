#include "gamefiles/game_paths.h"

namespace tovarin {

std::string FolderOf(const std::string& fullPath) {
    const auto end = fullPath.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : fullPath.substr(0, end + 1);
}

}  // namespace tovarin
