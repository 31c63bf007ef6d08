#pragma once

#include <string>
#include <vector>

#include "gamefiles/ini_file.h"
#include "gamefiles/originals_backup.h"

// The start-up steps every front-end takes on a game folder before it edits anything: which catalogue describes
// the installed edition, whether the game is there, and the switch file's identity entries.
namespace tovarin {

// The switch file, relative to the game folder.
inline constexpr const char* kSwitchFile = "Ships\\switch.dat";

// The game folder (with its trailing separator) and the two INI files that live as long as a run.
struct Installation {
    std::string GameFolder;
    TIniFile Catalogue;   // vskinfo.dat or nwinfo.dat
    TIniFile SwitchFile;  // Ships\switch.dat
};

// The catalogue's file name for the edition installed in the folder: "nwinfo.dat" when the expansion's
// executable is there (even beside the base game's), "vskinfo.dat" for the base game alone, "" for neither.
[[nodiscard]] std::string ChooseCatalogue(const std::string& gameFolder);

// The folder with its chosen catalogue and its switch file; no file is read or written yet.
[[nodiscard]] Installation OpenInstallation(const std::string& gameFolder);

// The game's executable as the catalogue names it (Info/Run), relative to the game folder; "" when not named.
[[nodiscard]] std::string GameExecutable(const TIniFile& catalogue);
// The file whose absence keeps the program from editing this folder, or "" when the game is there: the base
// game's executable when neither game's is, the chosen catalogue when it is missing, "Run= in " and the catalogue
// when it names no executable, else the executable the catalogue names.
[[nodiscard]] std::string MissingGameFile(const Installation& installation, const std::string& gameExe);

// The catalogue's ship names (section "ships") in catalogue order: the order of every ship list.
[[nodiscard]] std::vector<std::string> CatalogueShips(const TIniFile& catalogue);

// A catalogue ship as the ship lists show it. The switch file pairs exchanged ships: an entry that differs from
// the ship's name in any way, letter case included, or a missing one (read as empty) counts as exchanged, as the
// switcher's lists show it.
struct CatalogueShip {
    std::string Name;
    std::string File;     // the file the catalogue lists for the ship, under Ships\ .
    std::string Partner;  // the switch file's entry for the ship
    [[nodiscard]] bool Exchanged() const { return Partner != Name; }
};
[[nodiscard]] std::vector<CatalogueShip> ListCatalogueShips(const Installation& installation);

// Gives every ship without an entry in the switch file its identity entry (name = name), all in one replacement
// of the file; true when it added any. When the switch file cannot be written (or its original kept), they all
// stay without one.
bool AddMissingIdentityEntries(const TIniFile& switchFile, const std::vector<std::string>& ships);

// The game files the program changes, relative to the game folder: the catalogue, the switch file, the gun and
// missile tables and every ship file the catalogue lists. Never the archive, the uninstall record, a player's
// profile or anything inside the backup folder.
[[nodiscard]] std::vector<std::string> ChangedGameFiles(const std::string& gameFolder, const TIniFile& catalogue);
// The originals kept for the installation's game files.
[[nodiscard]] OriginalsBackup BackupOf(const std::string& gameFolder, const TIniFile& catalogue);
// From now until StopKeepingOriginals, the original of each of the installation's game files is kept before the
// file first changes, whichever way it is written; a change whose original cannot be kept is refused.
void KeepOriginals(const std::string& gameFolder, const TIniFile& catalogue);
void StopKeepingOriginals();

}  // namespace tovarin
