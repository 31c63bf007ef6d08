#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gamefiles/csv.h"
#include "mods/mod_cells.h"

// A mod as a player unpacks it: a folder holding mod.ini (who made it, for which game) and any of ships.csv,
// guns.csv and missiles.csv, partial sheets as "import" reads them; or a lone sheet, named after its file. Mods
// live in the game folder's "Tovarin Mods" folder.
namespace tovarin {

inline constexpr const char* kModsFolderName = "Tovarin Mods";
inline constexpr const char* kModFileName = "mod.ini";
inline constexpr const char* kModSection = "Mod";

// What mod.ini says; Game is the catalogue's VK of the game the mod was made for.
struct ModInfo {
    std::string Name;
    std::string Version;
    std::string Author;
    std::string Description;
    std::string Game;
};

// One sheet of a mod, its rows as read.
struct ModSheet {
    SheetKind Kind = SheetKind::Ships;
    std::string File;  // as messages name it: the mod's folder and the sheet's name ("Heavy Metal\ships.csv")
    std::vector<CsvRow> Rows;
    std::string Path{};  // where it is read from
};

struct Mod {
    std::string Entry;  // its folder or lone sheet in the mods folder, by which the load order lists it
    ModInfo Info;
    std::vector<ModSheet> Sheets;  // in the order ships, guns, missiles
    std::string Problem;           // why it cannot be read as a mod, or ""
    bool On = false;               // switched on in the load order
    bool Missing = false;          // listed in the load order, but not in the mods folder
    std::string Path{};            // its folder or lone sheet, as read
    std::uint64_t SheetBytes = 0;  // the size of its sheets together
    bool SheetsUnread = false;     // its sheets were only found and measured (ReadModSheets reads them)
};

// What a row of a sheet of this kind stands for, and the title of its first column: "ship", "gun", "missile".
[[nodiscard]] const char* KindWord(SheetKind kind);

// The sheet file of each kind in a mod's folder: "ships.csv", "guns.csv", "missiles.csv".
[[nodiscard]] std::string SheetFileName(SheetKind kind);

// The mod at this path, a folder or a lone ".csv" sheet, listed under `entry` (the path's last part); none when
// it is neither (a folder holding no mod.ini and no sheet, any other file). A sheet that cannot be read, or a
// lone sheet that does not say what it changes, is the mod's problem.
// With `withSheets` false the sheets are found and their sizes taken (a sheet beyond the bounds is the mod's problem
// already), but their rows are left for ReadModSheets.
[[nodiscard]] std::optional<Mod> ReadMod(const std::string& path, const std::string& entry, bool withSheets = true);

// Reads the rows of the sheets ReadMod left unread; a sheet that cannot be read becomes the mod's problem.
void ReadModSheets(Mod& mod);

// The mod with its sheets read (itself when they are).
[[nodiscard]] Mod WithSheets(const Mod& mod);

// The file names a mod folder is made of, as found in it (mod.ini first), whatever their letter case.
[[nodiscard]] std::vector<std::string> ModFilesIn(const std::string& folder);

// One filled cell of a sheet: the row's item (the first column), the header's key above it and the text.
struct SheetCell {
    std::string Item;
    std::string Key;
    std::string Text;
    std::size_t Line = 0;
    std::size_t Column = 0;  // counted from 1, as a spreadsheet numbers them
};

// The sheet's filled cells row by row; blank rows are skipped. Refused with an Exception saying where ("FILE,
// line L, column C: ..."), as "import" refuses them: a header naming a key twice, a row with more cells than the
// header, an item with two rows.
[[nodiscard]] std::vector<SheetCell> FilledCells(const ModSheet& sheet);

// Where a cell lies, as the messages say it: "FILE, line L, column C: ".
[[nodiscard]] std::string SheetPlace(const std::string& file, std::size_t line, std::size_t column);

// mod.ini's text for a new mod, its other keys left to fill in.
[[nodiscard]] std::string ModFileText(const ModInfo& info);

}  // namespace tovarin
