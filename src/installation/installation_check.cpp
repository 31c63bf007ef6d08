#include "installation/installation_check.h"

#include <algorithm>

#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "ships/chunk_tree.h"
#include "ships/ship_chunks.h"
#include "ships/ship_load_check.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"

namespace tovarin {

namespace {

using Findings = std::vector<std::string>;

std::vector<std::string> SectionNames(const TIniFile& ini, const std::string& section) {
    std::vector<std::string> names;
    ini.ReadSection(section, names);
    return names;
}

// The sections every list of the editor is filled from, and the game's executable that start-up requires.
void CheckCatalogue(const Installation& game, Findings& findings) {
    const std::string catalogue = ChooseCatalogue(game.GameFolder);
    if (GameExecutable(game.Catalogue).empty()) findings.push_back(catalogue + ": [Info] has no Run key");
    for (const char* section : {"ships", "Guns", "Missiles"}) {
        if (SectionNames(game.Catalogue, section).empty()) {
            findings.push_back(catalogue + ": [" + std::string(section) + "] is missing or empty");
        }
    }
}

// Every listed weapon's record position, and the record whole inside the table, as the editor loads it.
void CheckWeaponRecords(const Installation& game, const std::string& listSection, const std::string& dataSection,
                        const std::string& tableFile, std::int32_t recordSize, Findings& findings) {
    const std::vector<std::string> names = SectionNames(game.Catalogue, listSection);
    if (names.empty()) return;
    std::vector<std::uint8_t> table;
    try {
        table = ReadWholeFile(GamePath(game.GameFolder, tableFile));
    } catch (const Exception& error) {
        findings.push_back(tableFile + ": " + error.Message());
        return;
    }
    // Ship files name a weapon by one byte: the editor lists only the first 256 for editing.
    for (std::size_t i = 0; i < std::min<std::size_t>(names.size(), 256); ++i) {
        const int index = static_cast<int>(i);
        const auto base = CatalogueRecordBase(game.Catalogue, dataSection, index);
        try {
            if (!base)
                throw Exception("the catalogue gives no record position (" + dataSection + ", key " + IntToStr(index) +
                                ")");
            CheckRecordInside(table, *base, recordSize);
        } catch (const Exception& error) {
            findings.push_back(tableFile + ": " + names[i] + ": " + error.Message());
        }
    }
}

// A ship file as the loader sees it: one well-formed chunk tree, every part where the loader looks for it.
void CheckShipFile(const Installation& game, const CatalogueShip& ship, std::size_t gunTypes, std::size_t missileTypes,
                   Findings& findings) {
    const std::string relative = "Ships\\" + ship.File;
    const std::string path = GamePath(game.GameFolder, relative);
    if (ship.File.empty() || !FileExists(path)) {
        findings.push_back(relative + ": the ship file of " + ship.Name + " is missing");
        return;
    }
    try {
        const std::vector<std::uint8_t> file = ReadWholeFile(path);
        if (const std::string problem = ChunkTreeProblem(file); !problem.empty()) {
            findings.push_back(relative + ": " + problem);
        }
        (void)LocateShipLayout(file);
        const ShipLoadCheck load = CheckShipLoads(file, gunTypes, missileTypes);
        if (!load.Problem.empty()) findings.push_back(relative + ": would not load (" + load.Problem + ")");
    } catch (const Exception& error) {
        findings.push_back(relative + ": would not load (" + error.Message() + ")");
    }
}

// Exchanged ships name each other: A=B goes with B=A, and every entry names a catalogue ship.
void CheckSwitchPairs(const Installation& game, const std::vector<CatalogueShip>& ships, Findings& findings) {
    const auto listed = [&](const std::string& name) {
        return std::any_of(ships.begin(), ships.end(), [&](const CatalogueShip& ship) { return ship.Name == name; });
    };
    for (const CatalogueShip& ship : ships) {
        if (!ship.Exchanged()) continue;
        if (ship.Partner.empty()) {
            findings.push_back("Ships\\switch.dat: " + ship.Name + " has no entry");
        } else if (!listed(ship.Partner)) {
            findings.push_back("Ships\\switch.dat: " + ship.Name + "=" + ship.Partner + " names no catalogue ship");
        } else if (game.SwitchFile.ReadString("swships", ship.Partner, "") != ship.Name) {
            findings.push_back("Ships\\switch.dat: " + ship.Name + "=" + ship.Partner + " has no partner entry " +
                               ship.Partner + "=" + ship.Name);
        }
    }
}

}  // namespace

std::vector<std::string> CheckInstallation(const Installation& game) {
    Findings findings;
    CheckCatalogue(game, findings);
    CheckWeaponRecords(game, "Guns", kGunDataSection, kGunTableFile, kGunRecordSize, findings);
    CheckWeaponRecords(game, "Missiles", kMissDataSection, kMissileTableFile, kMissileRecordSize, findings);
    const std::vector<CatalogueShip> ships = ListCatalogueShips(game);
    const std::size_t gunTypes = SectionNames(game.Catalogue, "Guns").size();
    const std::size_t missileTypes = SectionNames(game.Catalogue, "Missiles").size();
    for (const CatalogueShip& ship : ships) CheckShipFile(game, ship, gunTypes, missileTypes, findings);
    CheckSwitchPairs(game, ships, findings);
    return findings;
}

}  // namespace tovarin
