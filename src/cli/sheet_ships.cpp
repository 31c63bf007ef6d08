#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/game_session.h"
#include "cli/sheet_export.h"
#include "cli/sheet_import.h"
#include "gamefiles/csv.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "sheets/fleet.h"
#include "sheets/originals.h"

// "export ships" and "import ships": the fleet as a sheet, one row per ship, a column per profile key with room for
// every mount a ship can have. An import is checked whole before any ship file changes, and written whole or not
// at all.
namespace tovarin::cli {

namespace {

// Sixteen gun and sixteen missile mounts: as many as a ship file's tables hold.
std::vector<ProfileKey> SheetKeys() { return ProfileKeys(kMaxGunMounts, kMaxMissileMounts); }

// A ship whose file the import changes: as it was and as it will be.
struct PlannedSave {
    LoadedShip Ship;
    ShipValues Values;
};

// The header's keys by column; the first column names the ship.
std::vector<ProfileKey> HeaderKeys(const std::string& sheet, const CsvRow& header) {
    const std::vector<ProfileKey> known = SheetKeys();
    std::vector<ProfileKey> keys{{}};
    for (std::size_t column = 1; column < header.Fields.size(); ++column) {
        const std::string& name = header.Fields[column];
        const auto key = std::find_if(known.begin(), known.end(), [&](const ProfileKey& k) { return k.Key == name; });
        if (key == known.end()) {
            throw Refusal(CellWhere(sheet, header.Line, column + 1) + "unknown key " + Abbreviated(name));
        }
        keys.push_back(*key);
    }
    return keys;
}

// A row's changes on top of the ship's values; every cell checked as the window checks its box.
PlannedSave PlanRow(const Fleet& fleet, const std::string& sheet, const std::vector<ProfileKey>& keys,
                    const CsvRow& row) {
    PlannedSave plan;
    try {
        plan.Ship = LoadNamedShip(fleet, row.Fields[0]);
    } catch (const Refusal& refusal) {
        throw Refusal(CellWhere(sheet, row.Line, 1) + refusal.what());
    }
    plan.Values = plan.Ship.Values;
    if (row.Fields.size() > keys.size()) throw Refusal(CellWhere(sheet, row.Line, keys.size() + 1) + "no key above");
    for (std::size_t column = 1; column < row.Fields.size(); ++column) {
        if (row.Fields[column].empty()) continue;
        try {
            SetShipValue(fleet, plan.Ship, plan.Values, keys[column], row.Fields[column]);
        } catch (const Refusal& refusal) {
            throw Refusal(CellWhere(sheet, row.Line, column + 1) + refusal.what());
        }
    }
    return plan;
}

// Writes the new files in sheet order, as one change: when one fails, the files already written get their old bytes
// back, so the import is applied whole or not at all.
void WriteAll(const Fleet& fleet, const std::string& sheet, const std::vector<PlannedSave>& plans,
              const std::vector<std::vector<std::uint8_t>>& files) {
    FileChangeSet changes(fleet.Game.GameFolder, "the import of " + sheet);
    for (std::size_t i = 0; i < plans.size(); ++i) changes.Replace(plans[i].Ship.Path, files[i]);
    try {
        (void)changes.Commit();
    } catch (const Exception& error) {
        throw Refusal(error.Message() + ".");
    }
}

// Every ship's row, its values as `valuesOf` gives them, weapons by their catalogue names.
Sheet ShipSheet(const Fleet& fleet, const std::function<ShipValues(const std::string&)>& valuesOf) {
    const std::vector<ProfileKey> keys = SheetKeys();
    Sheet rows(1, {"ship"});
    for (const ProfileKey& key : keys) rows[0].push_back(key.Key);
    for (const std::string& name : fleet.Ships) {
        const ShipValues values = valuesOf(name);
        std::vector<std::string>& row = rows.emplace_back(1, name);
        for (const ProfileKey& key : keys) row.push_back(ValueText(fleet, values, key, true));
    }
    return rows;
}

}  // namespace

int ExportShipSheet(const CommandArguments& arguments, Console& console) {
    const Fleet fleet = OpenFleet(arguments.Game);
    Sheet now = ShipSheet(fleet, [&fleet](const std::string& name) { return LoadNamedShip(fleet, name).Values; });
    WriteSheet(console, arguments.File, ExportedSheet(arguments, console, std::move(now), [&fleet] {
                   const OriginalsBackup backup = BackupOf(fleet.Game.GameFolder, fleet.Game.Catalogue);
                   return ShipSheet(fleet,
                                    [&](const std::string& name) { return OriginalShipValues(fleet, backup, name); });
               }));
    return kExitDone;
}

int ImportShipSheet(const CommandArguments& arguments, Console& console) {
    const Fleet fleet = OpenFleet(arguments.Game);
    SheetRows rows(arguments, console, "ship");
    const std::string sheet = SheetNamed(arguments);
    const std::vector<ProfileKey> keys = HeaderKeys(sheet, rows.Header());
    std::vector<PlannedSave> plans;
    std::vector<std::vector<std::uint8_t>> files;
    for (CsvRow row; rows.Next(row);) {
        PlannedSave plan = PlanRow(fleet, sheet, keys, row);
        std::vector<std::uint8_t> saved;
        try {
            saved = SavedShipFile(fleet, plan.Ship, plan.Values);
        } catch (const Refusal& refusal) {
            throw Refusal(CellWhere(sheet, row.Line, 1) + refusal.what());
        }
        if (saved == plan.Ship.File) continue;  // a row equal to the ship writes nothing
        plans.push_back(std::move(plan));
        files.push_back(std::move(saved));
    }
    WriteAll(fleet, arguments.File, plans, files);
    ReportChanged(console, plans.size(), "ship");
    return kExitDone;
}

}  // namespace tovarin::cli
