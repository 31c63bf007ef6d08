#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gamefiles/ini_file.h"
#include "ships/ship_rebuild.h"

// The keys of a ship profile ([Ship] section of a .vks or .def file) over the values a save writes: their order,
// their texts and how a profile's value is taken in. The window's profile export and import and the command line
// use these, so a profile means the same everywhere.
namespace tovarin {

inline const std::string kProfileSection = "Ship";

// Where a key's value lives among the ship values; Index counts within the part (engine value, mount, ...).
enum class ProfilePart {
    Engine,
    Autoslide,
    Booster,
    Hitpoints,
    Armour,
    Shields,
    GunPower,
    Gun,
    GunAmmo,
    Missile,
    MissileAmmo,
    Decoys,
    Mass
};
struct ProfileKey {
    std::string Key;
    ProfilePart Part;
    std::size_t Index = 0;
};

// Every key in a profile's order for a ship with these mount counts: flight values, autoslide, booster, hull and
// gun power, each gun mount's gun and ammunition, each missile mount's missile and load, decoys, mass.
[[nodiscard]] std::vector<ProfileKey> ProfileKeys(std::size_t gunMounts, std::size_t missileMounts);

// True for the keys whose value the ship file keeps as a float (flight, hull, armour, shield, gun power, mass).
[[nodiscard]] bool HoldsFloat(const ProfileKey& key);
// True for autoslide and booster, which a ship has or has not.
[[nodiscard]] bool IsSwitch(const ProfileKey& key);

// The key's value as a profile writes it; none when the ship lacks the part (armour, shields, decoys, a mount).
[[nodiscard]] std::optional<std::int32_t> ProfileValue(const ShipValues& values, const ProfileKey& key);

// Stores a value for the key, checked as the profile import checks it: a mount's gun, missile and load 0..255, a
// gun's ammunition 0..65535 ("Range check error"); autoslide and booster on for any value but 0, a booster that is
// switched on starting from its default values. False when the ship lacks the part, with nothing changed.
bool SetProfileValue(ShipValues& values, const ProfileKey& key, std::int32_t value);

using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

// Every key the ship has with its value, in a profile's order.
[[nodiscard]] ProfileEntries ProfileEntriesOf(const ShipValues& values);

// The profile's text as the INI functions write it into a new file: the section, then one line per key.
[[nodiscard]] std::string ProfileText(const ProfileEntries& entries);

// Applies a profile key by key in its order: a key that is missing or holds no number keeps the value, except the
// booster, which a profile without it leaves off. A refused value stops there, the keys before it applied.
void ApplyProfile(ShipValues& values, const TIniFile& profile);

// A ship's default profile: in the Ships folder, named after the file that holds the ship's own data when it is not
// exchanged, its catalogue file name with ".def" in place of the extension. shipKey: the key whose file the ship's
// data lies in now.
[[nodiscard]] std::string DefaultProfilePath(const std::string& gameFolder, const TIniFile& catalogue,
                                             const TIniFile& switchFile, const std::string& shipKey);

}  // namespace tovarin
