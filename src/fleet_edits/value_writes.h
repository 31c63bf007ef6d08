#pragma once

#include <string>
#include <utility>
#include <vector>

#include "mods/mod_cells.h"
#include "sheets/fleet.h"
#include "sheets/weapon_sheet.h"

// A few values of one ship or one weapon written from their texts, as "ship set", "guns set" and "missiles set"
// write them and as the Fleet page writes a cell: every value checked as its box checks it, only the values that
// change written (every other byte stays), the file replaced once, its original kept first.
namespace tovarin {

// A key or field with the text to give it.
using ValueChanges = std::vector<std::pair<std::string, std::string>>;

// Sets the ship's keys and saves it; a file that would not change is left untouched. Refused naming the ship, key
// and value as SetShipValue refuses them, and for a key the ship lacks.
void SetShipValues(const Fleet& fleet, const LoadedShip& ship, const ValueChanges& changes);

// Sets the weapon's fields and saves its record; a table that would not change is left untouched. Refused for an
// unknown weapon or field and for a text the editor's box would refuse, naming the field and the text.
template <class Values>
void SetWeaponValues(const Installation& game, const WeaponKind<Values>& kind, const std::string& weapon,
                     const ValueChanges& changes);

// One cell of the Fleet page written from the text typed into it: its ship through SetShipValues, its weapon through
// SetWeaponValues, so that a cell and the command line write the same bytes and refuse the same texts.
void WriteCell(const Fleet& fleet, const CellAddress& cell, const std::string& text);

}  // namespace tovarin
