#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "mods/mod_cells.h"
#include "sheets/fleet.h"

// The Fleet page's rows and columns as the sheets name them: a ship's row has a column per profile key with room
// for every mount a ship can have (as "export ships" writes it), a weapon's a column per field of its editor. A
// cell is addressed by its item's place in the catalogue's list and its column's place among them.
namespace tovarin {

// The keys or fields of the sheet's columns, in order.
[[nodiscard]] std::vector<std::string> ColumnNames(const Fleet& fleet, SheetKind kind);
// The catalogue's items of the sheet, in list order.
[[nodiscard]] const std::vector<std::string>& ItemNames(const Fleet& fleet, SheetKind kind);
// The cell of this item and column, with the names messages give it; refused for a place beyond the lists.
[[nodiscard]] CellAddress CellOf(const Fleet& fleet, SheetKind kind, std::size_t item, std::size_t column);

// True for a column that holds a weapon by its catalogue name (a mount's gun or missile, a missile's sub-missile
// type): a value to set, never a number to add to or scale.
[[nodiscard]] bool HoldsWeaponName(SheetKind kind, std::size_t column);

}  // namespace tovarin
