#include <nlohmann/json.hpp>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/fleet.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/whole_files.h"
#include "profiles/profile_keys.h"

// "ship get|set|export|import|restore": one ship's values as the keys of a ship profile; a save writes the values
// that differ from what the ship shows, with the checks of the Ships tab's "&Save Modifications".
namespace tovarin::cli {

namespace {

// The keys asked for, in the order given, or every key of the ship in a profile's order.
std::vector<ProfileKey> KeysAsked(const LoadedShip& ship, const std::vector<std::string>& names) {
    std::vector<ProfileKey> keys;
    for (const std::string& name : names) keys.push_back(ShipKeyNamed(ship, name));
    if (!names.empty()) return keys;
    for (const ProfileKey& key : ProfileKeys(ship.Values.GunMounts.size(), ship.Values.MissileMounts.size())) {
        if (ProfileValue(ship.Values, key)) keys.push_back(key);
    }
    return keys;
}

// The profile applied to the ship and saved; the profile file must be there (a missing one would read as a
// profile that switches the booster off).
int ImportAndSave(const Fleet& fleet, const LoadedShip& ship, const std::string& path) {
    if (!FileExists(path)) throw Refusal("Couldn't find file " + path);
    ShipValues values = ship.Values;
    try {
        ApplyProfile(values, TIniFile(path));
    } catch (const Exception& error) {
        throw Refusal(ship.Name + ", " + path + ": " + error.Message() + ".");
    }
    SaveShip(fleet, ship, values);
    return kExitDone;
}

}  // namespace

int GetShip(const CommandArguments& arguments, Console& console) {
    const Fleet fleet = OpenFleet(arguments.Game);
    const LoadedShip ship = LoadNamedShip(fleet, arguments.Name);
    const std::vector<ProfileKey> keys = KeysAsked(ship, arguments.Keys);
    if (!arguments.Json) {
        for (const ProfileKey& key : keys) console.Out << key.Key << '=' << *ProfileValue(ship.Values, key) << '\n';
        return kExitDone;
    }
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const ProfileKey& key : keys) object[key.Key] = *ProfileValue(ship.Values, key);
    console.Out << object.dump() << '\n';
    return kExitDone;
}

int SetShip(const CommandArguments& arguments, Console& /*console*/) {
    const Fleet fleet = OpenFleet(arguments.Game);
    const LoadedShip ship = LoadNamedShip(fleet, arguments.Name);
    ShipValues values = ship.Values;
    for (const std::string& change : arguments.Changes) {
        const std::size_t equals = change.find('=');
        if (equals == std::string::npos) throw Refusal(ship.Name + ": " + change + " is no KEY=VALUE");
        const ProfileKey key = ShipKeyNamed(ship, change.substr(0, equals));
        SetShipValue(fleet, ship, values, key, change.substr(equals + 1));
    }
    SaveShip(fleet, ship, values);
    return kExitDone;
}

int ExportShip(const CommandArguments& arguments, Console& /*console*/) {
    const Fleet fleet = OpenFleet(arguments.Game);
    const std::string text = ProfileText(ProfileEntriesOf(LoadNamedShip(fleet, arguments.Name).Values));
    ReplaceWholeFile(arguments.File, std::vector<std::uint8_t>(text.begin(), text.end()));
    return kExitDone;
}

int ImportShip(const CommandArguments& arguments, Console& /*console*/) {
    const Fleet fleet = OpenFleet(arguments.Game);
    return ImportAndSave(fleet, LoadNamedShip(fleet, arguments.Name), arguments.File);
}

int RestoreShip(const CommandArguments& arguments, Console& /*console*/) {
    const Fleet fleet = OpenFleet(arguments.Game);
    const LoadedShip ship = LoadNamedShip(fleet, arguments.Name);
    const Installation& game = fleet.Game;
    return ImportAndSave(fleet, ship, DefaultProfilePath(game.GameFolder, game.Catalogue, game.SwitchFile, ship.Key));
}

}  // namespace tovarin::cli
