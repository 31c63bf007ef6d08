#include "cli/game_session.h"

#include <filesystem>

#include "cli/commands.h"
#include "gamefiles/errors.h"
#include "switcher/ship_switcher.h"

namespace tovarin::cli {

std::string GameFolderOf(const std::string& given) {
    std::string folder = std::filesystem::absolute(given.empty() ? "." : given).lexically_normal().string();
    constexpr char kSeparator = std::filesystem::path::preferred_separator;
    if (folder.empty() || folder.back() != kSeparator) folder += kSeparator;
    return folder;
}

Installation OpenGameAsItIs(const std::string& given) {
    const std::string folder = GameFolderOf(given);
    std::error_code unknown;
    if (!std::filesystem::is_directory(folder, unknown)) throw Refusal("The game folder " + given + " does not exist");
    const Installation installation = OpenInstallation(folder);
    const std::string gameExe = GameExecutable(installation.Catalogue);
    const std::string missing = MissingGameFile(installation, gameExe);
    if (!missing.empty()) {
        throw Refusal(missing + " not found in " + folder + ": not the folder of an installed Vantorsk Ashfall or " +
                      "Nightwatch (give the game's folder with --game DIR)");
    }
    KeepOriginals(installation.GameFolder, installation.Catalogue);
    return installation;
}

Installation OpenGame(const std::string& given) {
    Installation installation = OpenGameAsItIs(given);
    AddMissingIdentityEntries(installation.SwitchFile, CatalogueShips(installation.Catalogue));
    // As at the window's start-up, a swap that did not finish is put back before any ship file is read; while it
    // cannot be, no ship file holds for certain what the switch file says, so nothing goes on.
    try {
        PutBackUnfinishedSwap(installation);
    } catch (const Exception& failure) {
        throw Refusal(failure.Message() + ". A swap that did not finish could not be put back.");
    }
    return installation;
}

}  // namespace tovarin::cli
