#include "installation/installation.h"

#include <cctype>
#include <memory>
#include <unordered_set>

#include "gamefiles/change_hook.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/whole_files.h"
#include "installation/archive_patch.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"

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
            TIniFile(GamePath(gameFolder, kSwitchFile))};
}

std::string GameExecutable(const TIniFile& catalogue) { return catalogue.ReadString("Info", "Run", ""); }

std::string MissingGameFile(const Installation& installation, const std::string& gameExe) {
    const std::string catalogue = ChooseCatalogue(installation.GameFolder);
    if (catalogue.empty()) return "ashfall.exe";
    if (!FileExists(installation.Catalogue.FileName())) return catalogue;
    // A catalogue that names no executable would leave the game folder itself to be launched.
    if (gameExe.empty()) return "Run= in " + catalogue;
    return FileExists(GamePath(installation.GameFolder, gameExe)) ? "" : gameExe;
}

std::vector<std::string> CatalogueShips(const TIniFile& catalogue) {
    std::vector<std::string> ships;
    catalogue.ReadSection("ships", ships);
    return ships;
}

// Both sections are read in one go each: one value at a time costs a call of the platform's per ship.
std::vector<CatalogueShip> ListCatalogueShips(const Installation& installation) {
    const IniSectionValues files = installation.Catalogue.ReadSectionValues("ships");
    const IniSectionValues partners = installation.SwitchFile.ReadSectionValues("swships");
    std::vector<CatalogueShip> ships;
    for (const std::string& name : CatalogueShips(installation.Catalogue)) {
        ships.push_back({name, files.Value(name).value_or(""), partners.Value(name).value_or("")});
    }
    return ships;
}

// A ship without an entry in the switch file could not be loaded: its key would be empty and the loader would
// look for the Ships folder itself. A fresh installation has no switch file at all, so every ship that lacks
// an entry gets its identity entry. When the switch file cannot be written, start-up goes on without them.
bool AddMissingIdentityEntries(const TIniFile& switchFile, const std::vector<std::string>& ships) {
    std::vector<std::string> listed;
    switchFile.ReadSection("swships", listed);
    std::unordered_set<std::string> present;
    for (const std::string& name : listed) present.insert(KeyOf(name));
    std::vector<std::string> missing;
    for (const std::string& ship : ships) {
        if (present.insert(KeyOf(ship)).second) missing.push_back(ship);
    }
    if (missing.empty()) return false;
    try {
        ReplaceIniFile(switchFile.FileName(), [&missing](const TIniFile& copy) {
            for (const std::string& ship : missing) copy.WriteString("swships", ship, ship);
        });
    } catch (const Exception&) {
        // The ships without an entry show as swapped with nothing; everything else works.
        return false;
    }
    return true;
}

namespace {

// A catalogue entry names a file under Ships\ . One that climbs out of the game folder ("..\..\x.iff") is no
// game file; one that climbs to a file the program never takes (the archive, whose patched bytes have their own
// record, the uninstall record "/u" needs, a player's profile, the backup itself) is left out too.
bool KeptAsShipFile(const std::string& entry) {
    std::vector<std::string> parts{"ships"};
    for (std::size_t begin = 0; begin <= entry.size();) {
        const std::size_t end = std::min(entry.find_first_of("\\/", begin), entry.size());
        const std::string part = KeyOf(entry.substr(begin, end - begin));
        if (part == ".." && parts.empty()) return false;
        if (part == "..") {
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        begin = end + 1;
    }
    if (entry.empty() || parts.empty()) return false;
    const bool inRoot = parts.size() == 1;
    const std::string& name = parts.back();
    return !(inRoot && (name == kArchiveName || name == kUninstallRecordName)) && !name.ends_with(".vks") &&
           parts.front() != KeyOf(kBackupFolderName);
}

}  // namespace

std::vector<std::string> ChangedGameFiles(const std::string& gameFolder, const TIniFile& catalogue) {
    std::vector<std::string> files{kSwitchFile, kGunTableFile, kMissileTableFile};
    if (const std::string name = ChooseCatalogue(gameFolder); !name.empty()) files.push_back(name);
    const IniSectionValues entries = catalogue.ReadSectionValues("ships");
    for (const std::string& ship : CatalogueShips(catalogue)) {
        // As the program names it when it writes the ship, so that the file is known by the same path.
        const std::string entry = entries.Value(ship).value_or("");
        if (KeptAsShipFile(entry)) files.push_back("Ships\\" + entry);
    }
    return files;
}

OriginalsBackup BackupOf(const std::string& gameFolder, const TIniFile& catalogue) {
    return OriginalsBackup(gameFolder, ChangedGameFiles(gameFolder, catalogue));
}

void KeepOriginals(const std::string& gameFolder, const TIniFile& catalogue) {
    auto backup = std::make_shared<const OriginalsBackup>(BackupOf(gameFolder, catalogue));
    SetBeforeChangeHook([backup](const std::string& path) { backup->KeepOriginalOf(path); });
}

void StopKeepingOriginals() { SetBeforeChangeHook({}); }

}  // namespace tovarin
