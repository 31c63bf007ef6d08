#include "cli/why_command.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "cli/command_line.h"
#include "cli/game_session.h"
#include "gamefiles/numbers.h"
#include "gamefiles/text_encoding.h"
#include "mods/load_order.h"
#include "mods/value_origin.h"
#include "profiles/profile_keys.h"

// "why SHIP [KEY...]", "why gun NAME [FIELD...]", "why missile NAME [FIELD...]": each value's chain from its
// original through the applied mods to the player's own change, as the sheets write the values.
namespace tovarin::cli {

namespace {

// A value as the sheets name it, and where the installation keeps it.
struct AskedValue {
    std::string Key;
    CellAddress Address;
};

bool IsOriginal(const ModInstallation::CellStates& states, const CellAddress& address) {
    const auto now = states.Now.find(address);
    const auto original = states.Original.find(address);
    if (now == states.Now.end() || original == states.Original.end()) return now == states.Now.end();
    return now->second == original->second;
}

// The keys named (refused as "ship get" refuses them), or every key of the ship whose value is not its original.
std::vector<AskedValue> ShipValuesAsked(const ModInstallation& game, const CommandArguments& arguments) {
    const Fleet& fleet = game.Game();
    const LoadedShip ship = LoadNamedShip(fleet, arguments.Name);
    std::vector<ProfileKey> keys;
    for (const std::string& name : arguments.Keys) keys.push_back(ShipKeyNamed(ship, name));
    if (arguments.Keys.empty()) {
        for (const ProfileKey& key : ProfileKeys(ship.Values.GunMounts.size(), ship.Values.MissileMounts.size())) {
            if (ProfileValue(ship.Values, key)) keys.push_back(key);
        }
    }
    const std::vector<ProfileKey> columns = ProfileKeys(kMaxGunMounts, kMaxMissileMounts);
    const auto item = std::find(fleet.Ships.begin(), fleet.Ships.end(), ship.Name) - fleet.Ships.begin();
    std::vector<AskedValue> asked;
    for (const ProfileKey& key : keys) {
        const auto column = std::find_if(columns.begin(), columns.end(),
                                         [&key](const ProfileKey& known) { return known.Key == key.Key; });
        asked.push_back({key.Key, CellAddress{SheetKind::Ships, static_cast<std::size_t>(item),
                                              static_cast<std::size_t>(column - columns.begin()), ship.Name, key.Key}});
    }
    return asked;
}

// The fields named (refused as "guns get" refuses them), or every field whose value is not its original.
template <class Values>
std::vector<AskedValue> WeaponValuesAsked(const ModInstallation& game, const WeaponKind<Values>& kind, SheetKind sheet,
                                          const std::string& name, std::span<const std::string> fields) {
    const int index = WeaponIndex(kind.Names, name, kind.Weapon);
    (void)RecordBaseOf(game.Game().Game, kind, index);  // a weapon the editor cannot load is refused as it refuses it
    std::vector<std::size_t> places;
    for (const std::string& field : fields) {
        places.push_back(static_cast<std::size_t>(&FieldNamed(kind, field) - kind.Fields.data()));
    }
    for (std::size_t i = 0; fields.empty() && i < kind.Fields.size(); ++i) places.push_back(i);
    std::vector<AskedValue> asked;
    for (const std::size_t place : places) {
        const std::string& field = kind.Fields[place].Name;
        asked.push_back({field, CellAddress{sheet, static_cast<std::size_t>(index), place, kind.Names[index], field}});
    }
    return asked;
}

// A number as a JSON number, a name as a string, as "guns get --json" writes them.
nlohmann::ordered_json JsonValue(const std::string& text) {
    if (const auto number = TryStrToInt(text)) return *number;
    return Utf8FromWindows1252(text);
}

}  // namespace

std::vector<std::pair<std::string, std::vector<OriginStep>>> OriginsAsked(const ModInstallation& game,
                                                                          const CommandArguments& arguments) {
    const bool weapon = arguments.Name == "gun" || arguments.Name == "missile";
    if (weapon && arguments.Keys.empty())
        throw Refusal("Name the " + arguments.Name + ": tovarin-cli why " + arguments.Name + " NAME [FIELD...]");
    std::vector<AskedValue> asked;
    const std::span<const std::string> fields(arguments.Keys.begin() + (weapon ? 1 : 0), arguments.Keys.end());
    if (arguments.Name == "gun") {
        asked = WeaponValuesAsked(game, GunKind(game.Game().Game), SheetKind::Guns, arguments.Keys[0], fields);
    } else if (arguments.Name == "missile") {
        asked = WeaponValuesAsked(game, MissileKind(game.Game().Game), SheetKind::Missiles, arguments.Keys[0], fields);
    } else {
        asked = ShipValuesAsked(game, arguments);
    }
    const ModInstallation::CellStates states = game.States();
    if (arguments.Keys.size() == (weapon ? 1U : 0U)) {
        std::erase_if(asked, [&states](const AskedValue& value) { return IsOriginal(states, value.Address); });
    }
    std::vector<Mod> mods = InstalledMods(game.ModsFolder());
    const std::vector<ModValues> values = CheckMods(game, mods);
    const std::vector<ModValues> on = UsableSwitchedOn(mods, values);
    std::vector<std::pair<std::string, std::vector<OriginStep>>> chains;
    for (const AskedValue& value : asked) chains.emplace_back(value.Key, ValueOrigin(states, on, value.Address));
    return chains;
}

int WhyCommand(const CommandArguments& arguments, Console& console) {
    if ((arguments.Name == "gun" || arguments.Name == "missile") && arguments.Keys.empty()) {
        console.Err << "Name the " << arguments.Name << ": tovarin-cli why " << arguments.Name << " NAME [FIELD...]\n";
        return kExitUsage;
    }
    const ModInstallation game(OpenFleet(arguments.Game));
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const auto& [key, steps] : OriginsAsked(game, arguments)) {
        if (!arguments.Json) {
            console.Out << key << '\t' << OriginText(steps, "->") << '\n';
            continue;
        }
        nlohmann::ordered_json& chain = object[Utf8FromWindows1252(key)] = nlohmann::ordered_json::array();
        for (const OriginStep& step : steps) {
            chain.push_back({{"value", JsonValue(step.Value)}, {"from", Utf8FromWindows1252(step.From)}});
        }
    }
    if (arguments.Json) console.Data << object.dump() << '\n';
    return kExitDone;
}

}  // namespace tovarin::cli
