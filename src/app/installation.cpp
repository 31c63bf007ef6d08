#include "app/installation.h"

#include <cctype>
#include <unordered_set>

#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"

namespace tovarin {

namespace {

// Key names compare without regard to case, as the INI functions compare them.
std::string KeyOf(const std::string& name) {
    std::string key = name;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
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

std::string MissingGameFile(const Installation& installation, const std::string& gameExe) {
    const std::string catalogue = ChooseCatalogue(installation.GameFolder);
    if (catalogue.empty()) return "ashfall.exe";
    if (!FileExists(installation.Catalogue.FileName())) return catalogue;
    if (!gameExe.empty() && FileExists(GamePath(installation.GameFolder, gameExe))) return "";
    return gameExe;
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
    std::vector<std::string> listed;
    switchFile.ReadSection("swships", listed);
    std::unordered_set<std::string> present;
    for (const std::string& name : listed) present.insert(KeyOf(name));
    try {
        for (const std::string& ship : ships) {
            if (present.insert(KeyOf(ship)).second) switchFile.WriteString("swships", ship, ship);
        }
    } catch (const EIniFileException&) {
        // The ships without an entry show as swapped with nothing; everything else works.
    }
}

}  // namespace tovarin
