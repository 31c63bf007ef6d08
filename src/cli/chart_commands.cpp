#include "cli/chart_commands.h"

#include <algorithm>

#include "charts/chart_svg.h"
#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/game_session.h"
#include "cli/why_command.h"
#include "profiles/profile_keys.h"

// "chart ships|guns|missiles|why": the fleet's and the weapons' values, and one value's chain, as an SVG picture or
// a table of the same values.
namespace tovarin::cli {

namespace {

int Written(const CommandArguments& arguments, Console& console, const Chart& chart) {
    const std::string text = arguments.Table ? ChartTable(chart) : ChartSvg(chart);
    WriteGivenFile(console, arguments.File.empty() ? std::string(kStandardStream) : arguments.File, text);
    return kExitDone;
}

void RefuseUnknownShipKey(const std::string& key) {
    const std::vector<ProfileKey> known = ProfileKeys(kMaxGunMounts, kMaxMissileMounts);
    if (std::none_of(known.begin(), known.end(), [&key](const ProfileKey& k) { return k.Key == key; })) {
        throw Refusal("Unknown ship key: " + key);
    }
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
    RefuseUnknownShipKey(x);
    RefuseUnknownShipKey(y);
    const ModInstallation game(OpenFleet(arguments.Game));
    const ModInstallation::CellStates states = game.States();
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
