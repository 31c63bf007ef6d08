#include "sheets/fleet.h"

#include <algorithm>

#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "sheets/names_meant.h"
#include "sheets/refusal.h"
#include "ships/read_ship_values.h"
#include "ships/ship_load_check.h"

namespace tovarin {

namespace {

// A weapon by its catalogue name or its number. A name the catalogue lists twice is refused, as is one it does not
// list and a number beyond its list: a ship holding it would not load again.
std::int32_t WeaponNumber(const std::vector<std::string>& names, const std::string& text, const char* kind) {
    const auto count = std::count(names.begin(), names.end(), text);
    if (count > 1) throw Refusal("the catalogue lists more than one " + std::string(kind) + " named " + text);
    if (count == 1) return static_cast<std::int32_t>(std::find(names.begin(), names.end(), text) - names.begin());
    if (const std::optional<std::size_t> meant = FindMeant(names, text, kind)) return static_cast<std::int32_t>(*meant);
    const std::optional<std::int32_t> number = TryStrToInt(text);
    if (!number) throw Refusal("the catalogue lists no " + std::string(kind) + " named " + Abbreviated(text));
    if (*number < 0 || static_cast<std::size_t>(*number) >= names.size()) {
        const std::string listed =
            names.empty() ? "it lists none" : "0-" + IntToStr(static_cast<std::int64_t>(names.size()) - 1);
        throw Refusal("the catalogue lists no " + std::string(kind) + " " + text + " (" + listed + ")");
    }
    return *number;
}

// What the ship file holds for a key: a float, a 16-bit count of rounds, or a one-byte count.
ValueLimits KeyLimits(const ProfileKey& key) {
    if (HoldsFloat(key)) return FloatLimits();
    if (key.Part == ProfilePart::GunAmmo) return kWordValue;
    if (key.Part == ProfilePart::MissileAmmo || key.Part == ProfilePart::Decoys) return kByteValue;
    return {};
}

// A key's value from its text, refused when the ship file could not hold it as meant: a switch is 0 or 1, and a
// float must read back as the number given.
std::int32_t KeyValue(const Fleet& fleet, const ProfileKey& key, const std::string& text) {
    if (key.Part == ProfilePart::Gun) return WeaponNumber(fleet.Guns, text, "gun");
    if (key.Part == ProfilePart::Missile) return WeaponNumber(fleet.Missiles, text, "missile");
    const std::int32_t value = TypedValue(text, KeyLimits(key));
    if (IsSwitch(key) && value != 0 && value != 1) throw Exception("'" + Abbreviated(text) + "' is not 0 or 1");
    return value;
}

// The file of a ship by the switch file's entry for it, once it is known whether the catalogue lists the name.
ShipFile ListedShipFile(const Installation& game, bool listed, const std::string& name) {
    if (!listed) throw Refusal("Unknown ship: " + Abbreviated(name));
    return ShipFileOfKey(game, game.SwitchFile.ReadString("swships", name, ""));
}

}  // namespace

Fleet FleetOf(Installation game) {
    Fleet fleet{std::move(game), {}, {}, {}, {}};
    fleet.Ships = CatalogueShips(fleet.Game.Catalogue);
    fleet.Game.Catalogue.ReadSection("Guns", fleet.Guns);
    fleet.Game.Catalogue.ReadSection("Missiles", fleet.Missiles);
    fleet.ShipNames.insert(fleet.Ships.begin(), fleet.Ships.end());
    return fleet;
}

ShipFile FindShipFile(const Installation& game, const std::string& name) {
    const std::vector<std::string> ships = CatalogueShips(game.Catalogue);
    return ListedShipFile(game, std::find(ships.begin(), ships.end(), name) != ships.end(), name);
}

ShipFile FindShipFile(const Fleet& fleet, const std::string& name) {
    if (fleet.ShipNames.contains(name)) return ListedShipFile(fleet.Game, true, name);
    return ListedShipFile(fleet.Game, true, ShipMeant(fleet.Ships, name));
}

ShipFile ShipFileOfKey(const Installation& game, const std::string& key) {
    ShipFile ship{key, game.Catalogue.ReadString("Ships", key, ""), ""};
    ship.Path = GamePath(game.GameFolder, "Ships\\" + ship.Name);
    if (ship.Name.empty()) throw Refusal("The catalogue lists no ship file for " + key);
    if (!FileExists(ship.Path)) throw InOutErrorOn(ship.Path, kFileNotFound);
    return ship;
}

ShipValues CheckedShipValues(const Fleet& fleet, std::span<const std::uint8_t> file, const std::string& label) {
    const ShipLoadCheck check = CheckShipLoads(file, fleet.Guns.size(), fleet.Missiles.size());
    if (!check.Problem.empty()) throw Refusal(label + ": " + check.Problem + ".");
    return ReadShipValues(file);
}

LoadedShip LoadNamedShip(const Fleet& fleet, const std::string& typed) {
    const std::string name = fleet.ShipNames.contains(typed) ? typed : ShipMeant(fleet.Ships, typed);
    const ShipFile file = FindShipFile(fleet, name);
    LoadedShip ship{name, file.Key, file.Path, ReadWholeFileReadOnly(file.Path), {}};
    ship.Values = CheckedShipValues(fleet, ship.File, name);
    return ship;
}

ProfileKey ShipKeyNamed(const LoadedShip& ship, const std::string& key) {
    for (const ProfileKey& known : ProfileKeys(ship.Values.GunMounts.size(), ship.Values.MissileMounts.size())) {
        if (known.Key == key && ProfileValue(ship.Values, known)) return known;
    }
    throw Refusal(ship.Name + " has no key " + Abbreviated(key));
}

void SetShipValue(const Fleet& fleet, const LoadedShip& ship, ShipValues& values, const ProfileKey& key,
                  const std::string& text) {
    const std::string named = ship.Name + ", " + key.Key + "=" + Abbreviated(text) + ": ";
    try {
        if (!SetProfileValue(values, key, KeyValue(fleet, key, text)))
            throw Refusal(ship.Name + " has no key " + key.Key);
    } catch (const Refusal& refusal) {
        throw Refusal(named + refusal.what());
    } catch (const Exception& error) {
        // A count says the range it holds; a float names the values it would hold in its own message.
        const ValueLimits limits = KeyLimits(key);
        const std::string range = limits.Max <= kWordValue.Max ? " (" + key.Key + " holds " + IntToStr(limits.Min) +
                                                                     ".." + IntToStr(limits.Max) + ")"
                                                               : "";
        throw Refusal(named + error.Message() + range + ".");
    }
}

std::string ValueText(const Fleet& fleet, const ShipValues& values, const ProfileKey& key, bool names) {
    const std::optional<std::int32_t> value = ProfileValue(values, key);
    if (!value) return "";
    const auto index = static_cast<std::size_t>(*value);
    if (names && key.Part == ProfilePart::Gun && index < fleet.Guns.size()) return fleet.Guns[index];
    if (names && key.Part == ProfilePart::Missile && index < fleet.Missiles.size()) return fleet.Missiles[index];
    return IntToStr(*value);
}

std::vector<std::uint8_t> SavedShipFile(const Fleet& fleet, const LoadedShip& ship, const ShipValues& values) {
    try {
        std::vector<std::uint8_t> saved = ChangeShipFile(ship.File, values);
        const ShipLoadCheck check = CheckShipLoads(saved, fleet.Guns.size(), fleet.Missiles.size());
        if (!check.Problem.empty()) throw Refusal(ship.Name + " would not load again: " + check.Problem + ".");
        return saved;
    } catch (const Exception& error) {
        throw Refusal(ship.Name + ": " + error.Message() + ".");
    }
}

void SaveShip(const Fleet& fleet, const LoadedShip& ship, const ShipValues& values) {
    const std::vector<std::uint8_t> saved = SavedShipFile(fleet, ship, values);
    if (saved != ship.File) ReplaceWholeFile(ship.Path, saved);
}

}  // namespace tovarin
