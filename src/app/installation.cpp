#include "app/installation.h"

#include <algorithm>
#include <cctype>

#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"

namespace tovarin {

namespace {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

std::string ChooseCatalogue(const std::string& gameFolder) {
    std::string name;
    if (FileExists(GamePath(gameFolder, "ashfall.exe"))) name = "vskinfo.dat";
    if (FileExists(GamePath(gameFolder, "nightwatch.exe"))) name = "nwinfo.dat";
    return name;
}

Installation OpenInstallation(const std::string& gameFolder) {
    return {gameFolder, TIniFile(GamePath(gameFolder, ChooseCatalogue(gameFolder))),
            TIniFile(GamePath(gameFolder, "Ships\\switch.dat"))};
}

std::string GameExecutable(const TIniFile& catalogue) { return catalogue.ReadString("Info", "Run", ""); }

bool GamePresent(const std::string& gameFolder, const std::string& gameExe) {
    return !gameExe.empty() && FileExists(GamePath(gameFolder, gameExe));
}

std::vector<std::string> CatalogueShips(const TIniFile& catalogue) {
    std::vector<std::string> ships;
    catalogue.ReadSection("ships", ships);
    return ships;
}

std::vector<CatalogueShip> ListCatalogueShips(const Installation& installation) {
    std::vector<CatalogueShip> ships;
    for (const std::string& name : CatalogueShips(installation.Catalogue)) {
        ships.push_back({name, installation.Catalogue.ReadString("ships", name, ""),
                         installation.SwitchFile.ReadString("swships", name, "")});
    }
    return ships;
}

// A ship without an entry in the switch file could not be loaded: its key would be empty and the loader would
// look for the Ships folder itself. A fresh installation has no switch file at all, so every ship that lacks
// an entry gets its identity entry. When the switch file cannot be written, start-up goes on without them.
void AddMissingIdentityEntries(const TIniFile& switchFile, const std::vector<std::string>& ships) {
    std::vector<std::string> present;
    switchFile.ReadSection("swships", present);
    try {
        for (const std::string& ship : ships) {
            const bool listed = std::any_of(present.begin(), present.end(),
                                            [&](const std::string& key) { return SameTextIgnoringCase(key, ship); });
            if (!listed) {
                switchFile.WriteString("swships", ship, ship);
                present.push_back(ship);
            }
        }
    } catch (const EIniFileException&) {
        // The ships without an entry show as swapped with nothing; everything else works.
    }
}

}  // namespace tovarin
