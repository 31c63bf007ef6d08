#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "installation/installation.h"
#include "profiles/profile_keys.h"
#include "ships/ship_rebuild.h"

// The ships of a game as the commands edit them: found by the name the window lists them under, read by the
// loader's rules and saved with the checks of "&Save Modifications", writing only the values told to change.
namespace tovarin {

// The game with the catalogue's gun and missile names, in the order of the window's lists: a weapon's place is
// the number a ship file stores for it.
struct Fleet {
    Installation Game;
    std::vector<std::string> Ships;  // the catalogue's, in its order
    std::vector<std::string> Guns;
    std::vector<std::string> Missiles;
    std::unordered_set<std::string> ShipNames;  // the same ships, to tell a name the catalogue lists at once
};

// An opened game with the catalogue's lists.
[[nodiscard]] Fleet FleetOf(Installation game);

// The file that holds a ship's data: the catalogue key whose file it is, and that file's name in the folder Ships
// as the catalogue lists it ("kestrel.iff").
struct ShipFile {
    std::string Key;
    std::string Name;
    std::string Path;
};

// The ship's file as choosing it in a ship list finds it: the switch file's entry for the shown name is the
// catalogue key whose file holds the ship's data now. Refused for a name the catalogue does not list; a missing
// file fails as the file layer's "File not found" on it.
[[nodiscard]] ShipFile FindShipFile(const Installation& game, const std::string& name);
[[nodiscard]] ShipFile FindShipFile(const Fleet& fleet, const std::string& name);
// The file the catalogue lists for this key; refused when it lists none, "File not found" when it is missing.
[[nodiscard]] ShipFile ShipFileOfKey(const Installation& game, const std::string& key);

// The values of a ship file's bytes; refused as "LABEL: problem." when the window could not load them.
[[nodiscard]] ShipValues CheckedShipValues(const Fleet& fleet, std::span<const std::uint8_t> file,
                                           const std::string& label);

// A ship as loaded: the file that holds its data, the bytes and the values read from them.
struct LoadedShip {
    std::string Name;
    std::string Key;  // the catalogue key whose file holds the ship's data (the partner's when exchanged)
    std::string Path;
    std::vector<std::uint8_t> File;
    ShipValues Values;
};

// Refused for a name the catalogue does not list, a missing ship file, and a file the window could not load.
[[nodiscard]] LoadedShip LoadNamedShip(const Fleet& fleet, const std::string& name);

// The ship's profile key of that name; refused when the ship has no such key.
[[nodiscard]] ProfileKey ShipKeyNamed(const LoadedShip& ship, const std::string& key);

// Sets a key from its text as the boxes take it (a whole number) or, for a mount's weapon, the weapon's catalogue
// name or number. Refused naming the ship, key and value: a text that is no such value, a weapon the catalogue
// does not list, a switch other than 0 or 1, and a number the ship file's float would not give back as written.
void SetShipValue(const Fleet& fleet, const LoadedShip& ship, ShipValues& values, const ProfileKey& key,
                  const std::string& text);

// The key's value as text; a mount's weapon by its catalogue name when `names` is set and the catalogue has one.
[[nodiscard]] std::string ValueText(const Fleet& fleet, const ShipValues& values, const ProfileKey& key, bool names);

// The ship file with the values that differ from what it shows written and every other byte kept, refused when
// the window could not load it again.
[[nodiscard]] std::vector<std::uint8_t> SavedShipFile(const Fleet& fleet, const LoadedShip& ship,
                                                      const ShipValues& values);

// Saves the values that differ from what the ship shows; a file that would not change is left untouched.
void SaveShip(const Fleet& fleet, const LoadedShip& ship, const ShipValues& values);

}  // namespace tovarin
