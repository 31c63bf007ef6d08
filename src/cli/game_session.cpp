#include "cli/game_session.h"

#include <filesystem>
#include <optional>

#include "cli/commands.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/system_paths.h"

namespace tovarin::cli {

namespace {

std::ostream*& NoticesStream() {
    static std::ostream* err = nullptr;
    return err;
}

}  // namespace

PutBackNotices::PutBackNotices(std::ostream& err) { NoticesStream() = &err; }

PutBackNotices::~PutBackNotices() { NoticesStream() = nullptr; }

std::string GameFolderOf(const std::string& given) {
    std::string folder =
        PathText(std::filesystem::absolute(SystemPath(given.empty() ? "." : given)).lexically_normal());
    constexpr char kSeparator = std::filesystem::path::preferred_separator;
    if (folder.empty() || folder.back() != kSeparator) folder += kSeparator;
    return folder;
}

// A change of several files that did not finish when Tovarin last ran (a crash, a failing disk) is put back before
// any game file is read, as at the window's start-up, as its failure message promised, and the player is told which
// files it put back; while it cannot be, its files are not whole, so nothing goes on.
void PutBackUnfinishedChange(const std::string& gameFolder) {
    try {
        const std::optional<std::string> putBack = RecoverUnfinishedChange(gameFolder);
        if (putBack && NoticesStream() != nullptr) *NoticesStream() << *putBack << ".\n";
    } catch (const Exception& failure) {
        throw Refusal(failure.Message() + ".");
    }
}

Installation OpenGameAsItIs(const std::string& given) {
    const std::string folder = GameFolderOf(given);
    std::error_code unknown;
    if (!std::filesystem::is_directory(SystemPath(folder), unknown))
        throw Refusal("The game folder " + given + " does not exist");
    const Installation installation = OpenInstallation(folder);
    PutBackUnfinishedChange(installation.GameFolder);
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
    return installation;
}

Fleet OpenFleet(const std::string& given) { return FleetOf(OpenGame(given)); }

}  // namespace tovarin::cli
