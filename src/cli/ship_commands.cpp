#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>

#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/game_session.h"
#include "fleet_edits/value_writes.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/system_paths.h"
#include "gamefiles/whole_files.h"
#include "profiles/profile_keys.h"
#include "sheets/fleet.h"

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
// profile that switches the booster off). `named`: the profile as messages name it.
int ImportAndSave(const Fleet& fleet, const LoadedShip& ship, const std::string& path, const std::string& named) {
    if (!FileExists(path)) throw InOutErrorOn(path, kFileNotFound);
    ShipValues values = ship.Values;
    try {
        ApplyProfile(values, TIniFile(path));
    } catch (const Exception& error) {
        throw Refusal(ship.Name + ", " + named + ": " + error.Message() + ".");
    }
    SaveShip(fleet, ship, values);
    return kExitDone;
}

// A profile given as "-", read from standard input. The INI functions read only files, so it is put in a file of
// its own in the system's temporary folder for as long as it is applied, and removed again.
class ProfileFromInput {
public:
    explicit ProfileFromInput(const Console& console) {
        const std::string name = "tovarin-" + std::to_string(std::random_device()()) + ".vks";
        path_ = PathText(std::filesystem::temp_directory_path() / name);
        const std::vector<std::uint8_t> bytes = ReadGivenFile(console, std::string(kStandardStream));
        ReplaceWholeFile(path_, bytes);
    }
    ~ProfileFromInput() {
        std::error_code ignored;
        std::filesystem::remove(SystemPath(path_), ignored);
    }
    ProfileFromInput(const ProfileFromInput&) = delete;
    ProfileFromInput& operator=(const ProfileFromInput&) = delete;
    [[nodiscard]] const std::string& Path() const { return path_; }

private:
    std::string path_;
};

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
    console.Data << object.dump() << '\n';
    return kExitDone;
}

int SetShip(const CommandArguments& arguments, Console& /*console*/) {
    const Fleet fleet = OpenFleet(arguments.Game);
    const LoadedShip ship = LoadNamedShip(fleet, arguments.Name);
    ValueChanges changes;
    for (const std::string& change : arguments.Changes) {
        const std::size_t equals = change.find('=');
        if (equals == std::string::npos) throw Refusal(ship.Name + ": " + Abbreviated(change) + " is no KEY=VALUE");
        changes.emplace_back(change.substr(0, equals), change.substr(equals + 1));
    }
    SetShipValues(fleet, ship, changes);
    return kExitDone;
}

int ExportShip(const CommandArguments& arguments, Console& console) {
    const Fleet fleet = OpenFleet(arguments.Game);
    WriteGivenFile(console, arguments.File, ProfileText(ProfileEntriesOf(LoadNamedShip(fleet, arguments.Name).Values)));
    return kExitDone;
}

int ImportShip(const CommandArguments& arguments, Console& console) {
    const Fleet fleet = OpenFleet(arguments.Game);
    const LoadedShip ship = LoadNamedShip(fleet, arguments.Name);
    if (arguments.File != kStandardStream) return ImportAndSave(fleet, ship, arguments.File, arguments.File);
    const ProfileFromInput profile(console);
    return ImportAndSave(fleet, ship, profile.Path(), FileNamed("", arguments.File));
}

int RestoreShip(const CommandArguments& arguments, Console& /*console*/) {
    const Fleet fleet = OpenFleet(arguments.Game);
    const LoadedShip ship = LoadNamedShip(fleet, arguments.Name);
    const Installation& game = fleet.Game;
    const std::string path = DefaultProfilePath(game.GameFolder, game.Catalogue, game.SwitchFile, ship.Key);
    return ImportAndSave(fleet, ship, path, FileNamed(game.GameFolder, path));
}

}  // namespace tovarin::cli
