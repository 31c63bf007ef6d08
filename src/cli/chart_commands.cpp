#include "cli/chart_commands.h"

#include <algorithm>

#include "charts/chart_svg.h"
#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/game_session.h"
#include "cli/why_command.h"
#include "profiles/profile_keys.h"
#include "sheets/originals.h"

// "chart ships|guns|missiles|why": the fleet's and the weapons' values, and one value's chain, as an SVG picture or
// a table of the same values.
namespace tovarin::cli {

namespace {

int Written(const CommandArguments& arguments, Console& console, const Chart& chart) {
    const std::string text = arguments.Table ? ChartTable(chart) : ChartSvg(chart);
    WriteGivenFile(console, arguments.File.empty() ? std::string(kStandardStream) : arguments.File, text);
    return kExitDone;
}

// The key's place among the ship keys, as the cells number it; refused for a key no ship has.
std::size_t ShipKeyIndex(const std::vector<ProfileKey>& known, const std::string& key) {
    const auto found = std::find_if(known.begin(), known.end(), [&key](const ProfileKey& k) { return k.Key == key; });
    if (found == known.end()) throw Refusal("Unknown ship key: " + key);
    return static_cast<std::size_t>(found - known.begin());
}

// The two charted keys of every ship, now and as Tovarin first found it. Only these two are read: the cells of
// every key with the mods laid over them, as the mods' commands read them, took most of a large fleet's chart.
ModInstallation::CellStates ShipKeyCells(const Fleet& fleet, const std::vector<std::string>& keys) {
    const std::vector<ProfileKey> known = ProfileKeys(kMaxGunMounts, kMaxMissileMounts);
    std::vector<std::size_t> places;
    for (const std::string& key : keys) places.push_back(ShipKeyIndex(known, key));
    const OriginalsBackup backup = BackupOf(fleet.Game.GameFolder, fleet.Game.Catalogue);
    ModInstallation::CellStates states;
    for (std::size_t item = 0; item < fleet.Ships.size(); ++item) {
        const std::string& name = fleet.Ships[item];
        const ShipValues now = LoadNamedShip(fleet, name).Values;
        const ShipValues original = OriginalShipValues(fleet, backup, name);
        for (const std::size_t place : places) {
            const CellAddress address{SheetKind::Ships, item, place, name, known[place].Key};
            // A key the ship lacks (a mount it does not have) has no text and no cell, as in every sheet.
            std::string text = ValueText(fleet, now, known[place], true);
            if (!text.empty()) states.Now.emplace(address, std::move(text));
            text = ValueText(fleet, original, known[place], true);
            if (!text.empty()) states.Original.emplace(address, std::move(text));
        }
    }
    return states;
}

template <class Values>
int WeaponChart(const CommandArguments& arguments, Console& console, WeaponKind<Values> (*kindOf)(const Installation&),
                SheetKind sheet) {
    const ModInstallation game(OpenFleet(arguments.Game));
    const std::string& field = arguments.Keys.front();
    if (sheet != SheetKind::Guns || field != kDamagePerSecond) (void)FieldNamed(kindOf(game.Game().Game), field);
    const ModInstallation::CellStates states = game.States();
    return Written(arguments, console, WeaponBars(states.Now, states.Original, sheet, field));
}

}  // namespace

int ChartShips(const CommandArguments& arguments, Console& console) {
    if (arguments.Keys.size() == 1) throw Refusal("Name two keys, X and Y, or none for speedmax and hp");
    const std::string x = arguments.Keys.empty() ? "speedmax" : arguments.Keys[0];
    const std::string y = arguments.Keys.empty() ? "hp" : arguments.Keys[1];
    const ModInstallation::CellStates states = ShipKeyCells(OpenFleet(arguments.Game), {x, y});
    return Written(arguments, console, ShipScatter(states.Now, states.Original, x, y));
}

int ChartGuns(const CommandArguments& arguments, Console& console) {
    return WeaponChart(arguments, console, GunKind, SheetKind::Guns);
}

int ChartMissiles(const CommandArguments& arguments, Console& console) {
    return WeaponChart(arguments, console, MissileKind, SheetKind::Missiles);
}

int ChartWhy(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
    const std::vector<std::pair<std::string, std::vector<OriginStep>>> chains = OriginsAsked(game, arguments);
    if (chains.empty())
        throw Refusal("Name the field to chart: tovarin-cli chart why " + arguments.Name + " NAME FIELD");
    return Written(arguments, console, ChainSteps(chains.front().first, chains.front().second));
}

}  // namespace tovarin::cli
