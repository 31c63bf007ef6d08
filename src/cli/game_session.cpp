#include "cli/game_session.h"

#include <filesystem>

#include "cli/commands.h"

namespace tovarin::cli {

std::string GameFolderOf(const std::string& given) {
    std::string folder = std::filesystem::absolute(given.empty() ? "." : given).lexically_normal().string();
    constexpr char kSeparator = std::filesystem::path::preferred_separator;
    if (folder.empty() || folder.back() != kSeparator) folder += kSeparator;
    return folder;
}

Installation OpenGameAsItIs(const std::string& given) {
    const Installation installation = OpenInstallation(GameFolderOf(given));
    const std::string gameExe = GameExecutable(installation.Catalogue);
    const std::string missing = MissingGameFile(installation, gameExe);
    if (!missing.empty()) throw Refusal(GameMissingMessage(missing));
    KeepOriginals(installation.GameFolder, installation.Catalogue);
    return installation;
}

Installation OpenGame(const std::string& given) {
    Installation installation = OpenGameAsItIs(given);
    AddMissingIdentityEntries(installation.SwitchFile, CatalogueShips(installation.Catalogue));
    return installation;
}

}  // namespace tovarin::cli
