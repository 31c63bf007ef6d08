#include "gamefiles/game_paths.h"

namespace tovarin {

// Windows' file system ignores case already; the names are used as the game writes them.
std::string GamePath(const std::string& gameFolder, std::string_view relativeName) {
    return gameFolder + std::string(relativeName);
}

void NoteFolderEntry(const std::string& /*path*/, bool /*exists*/) {}

}  // namespace tovarin
