#include "fleet_edits/bulk_change.h"

#include <optional>

#include "fleet_edits/bulk_arithmetic.h"
#include "fleet_edits/fleet_columns.h"
#include "fleet_edits/planned_files.h"
#include "gamefiles/errors.h"
#include "gamefiles/numbers.h"
#include "sheets/refusal.h"
#include "sheets/weapon_sheet.h"

namespace tovarin {

namespace {

// The text the change gives a value that shows `shown`, and how it came about when it was rounded.
struct Target {
    std::string Text;
    std::string Note;
};

// One value's part of a bulk change, with what every value shares.
struct Row {
    const BulkChange& Change;
    const std::optional<Decimal>& Amount;
    CellAddress Cell;
};

Target TargetOf(const Row& row, const std::string& shown) {
    const BulkChange& change = row.Change;
    if (change.Operation == BulkOperation::SetTo) return {change.Amount, ""};
    const std::string named = row.Cell.ItemName + ", " + row.Cell.KeyName;
    if (HoldsWeaponName(change.Kind, change.Column)) throw Refusal(named + ": holds a name, not a number");
    const std::optional<std::int32_t> value = TryStrToInt(shown);
    if (!value) throw Refusal(named + ": holds no whole number to change");
    const WholeResult result =
        change.Operation == BulkOperation::Add ? AddDecimal(*value, *row.Amount) : ScaleByPercent(*value, *row.Amount);
    return {result.Text, result.Exact.empty() ? "" : result.Exact + " rounded"};
}

void PlanShipRow(const Fleet& fleet, const Row& row, const ProfileKey& key, PlannedFiles& files, EditPlan& plan) {
    const std::string& name = row.Cell.ItemName;
    const ShipFile file = FindShipFile(fleet, name);
    std::vector<std::uint8_t>& bytes = files.Of(file.Path);
    const LoadedShip ship{name, file.Key, file.Path, bytes, CheckedShipValues(fleet, bytes, name)};
    const std::string before = ValueText(fleet, ship.Values, key, true);
    if (before.empty()) throw Refusal(name + " has no key " + key.Key);
    const Target target = TargetOf(row, before);
    ShipValues values = ship.Values;
    SetShipValue(fleet, ship, values, key, target.Text);
    std::vector<std::uint8_t> saved = SavedShipFile(fleet, ship, values);
    if (saved == bytes) return;
    const std::string after = ValueText(fleet, CheckedShipValues(fleet, saved, name), key, true);
    plan.Values.push_back({row.Cell, before, after, target.Note});
    bytes = std::move(saved);
}

void WriteRecord(std::vector<std::uint8_t>& table, std::int32_t base, const GunValues& values) {
    WriteGunRecord(table, base, values);
}

void WriteRecord(std::vector<std::uint8_t>& table, std::int32_t base, const MissileValues& values) {
    WriteMissileRecord(table, base, values);
}

template <class Values>
void PlanWeaponRow(const Fleet& fleet, const WeaponKind<Values>& kind, const Row& row, PlannedFiles& files,
                   EditPlan& plan) {
    std::vector<std::uint8_t>& table = files.Of(kind.TablePath);
    const std::int32_t base = RecordBaseOf(fleet.Game, kind, WeaponIndex(kind.Names, row.Cell.ItemName, kind.Weapon));
    const NamedField<Values>& field = kind.Fields.at(row.Cell.Key);
    try {
        const Values read = kind.Read(table, base);
        const std::string before = field.Show(read);
        const Target target = TargetOf(row, before);
        Values values = read;
        if (!TakeText(field, values, target.Text)) return;
        OnlyChanged(values, read);
        std::vector<std::uint8_t> written = table;
        WriteRecord(written, base, values);
        if (written == table) return;
        plan.Values.push_back({row.Cell, before, field.Show(kind.Read(written, base)), target.Note});
        table = std::move(written);
    } catch (const std::exception& error) {  // the box's refusal, or a record the table does not hold whole
        throw Refusal(row.Cell.ItemName + ", " + error.what());
    }
}

// The plan's name in messages and in the undo history: "change of speedmax of 3 ships".
std::string PlanName(const BulkChange& change, const std::string& column, std::size_t count) {
    const char* kind = change.Kind == SheetKind::Ships ? "ship" : change.Kind == SheetKind::Guns ? "gun" : "missile";
    return "change of " + column + " of " + std::to_string(count) + " " + kind + (count == 1 ? "" : "s");
}

}  // namespace

std::string OperationName(BulkOperation operation) {
    switch (operation) {
        case BulkOperation::SetTo:
            return "Set to";
        case BulkOperation::Add:
            return "Add";
        case BulkOperation::ScaleByPercent:
            return "Scale by %";
    }
    return "";
}

EditPlan PlanBulkChange(const Fleet& fleet, const BulkChange& change) {
    std::optional<Decimal> amount;
    if (change.Operation != BulkOperation::SetTo) {
        amount = ParseDecimal(change.Amount);
        if (!amount) {
            throw Refusal("'" + Abbreviated(change.Amount) + "' is no number to " +
                          (change.Operation == BulkOperation::Add ? "add" : "scale by"));
        }
    }
    const std::vector<ProfileKey> shipKeys = ProfileKeys(kMaxGunMounts, kMaxMissileMounts);
    const WeaponKind<GunValues> guns = GunKind(fleet.Game);
    const WeaponKind<MissileValues> missiles = MissileKind(fleet.Game);
    PlannedFiles files(fleet.Game.GameFolder);
    EditPlan plan;
    for (const std::size_t item : change.Items) {
        const Row row{change, amount, CellOf(fleet, change.Kind, item, change.Column)};
        try {
            if (change.Kind == SheetKind::Ships) {
                PlanShipRow(fleet, row, shipKeys[change.Column], files, plan);
            } else if (change.Kind == SheetKind::Guns) {
                PlanWeaponRow(fleet, guns, row, files, plan);
            } else {
                PlanWeaponRow(fleet, missiles, row, files, plan);
            }
        } catch (const Refusal& refusal) {
            plan.Refused.push_back({row.Cell, refusal.what()});
        }
    }
    files.AddTo(plan);
    plan.Name = PlanName(change, ColumnNames(fleet, change.Kind).at(change.Column), plan.Values.size());
    return plan;
}

}  // namespace tovarin
