#include "gamefiles/game_paths.h"

namespace tovarin {

// Windows' file system ignores case already; the names are used as the game writes them.
std::string GamePath(const std::string& gameFolder, std::string_view relativeName) {
    return gameFolder + std::string(relativeName);
}

}  // namespace tovarin
