#include "fleet_edits/reset_plan.h"

#include <functional>
#include <map>
#include <optional>
#include <set>

#include "fleet_edits/planned_files.h"
#include "fleet_edits/value_places.h"
#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/whole_files.h"
#include "installation/installation.h"
#include "sheets/originals.h"
#include "sheets/refusal.h"
#include "sheets/weapon_sheet.h"
#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"
#include "ships/ship_load_check.h"

namespace tovarin {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The kept original's bytes; a file that cannot be read fails the plan whole (fleet_edits/edit_plan.h).
Bytes OriginalFileBytes(const OriginalsBackup& backup, const std::string& file) {
    const std::optional<std::string> original = backup.OriginalOf(file);
    if (!original) throw Refusal(file + " was created by Tovarin and has no original");
    return ReadWholeFileReadOnly(*original);
}

void CopyChunk(Bytes& to, std::int32_t at, std::span<const std::uint8_t> from, std::int32_t fromAt, std::int32_t size) {
    CopyValueBytes(to, {at, size, 0}, from, {fromAt, size, 0});
}

// What one ship's or weapon's reset comes to, kept apart until it is known whole.
struct ItemReset {
    std::vector<PlannedValue> Values;
    std::vector<RefusedValue> Refused;
};

// The value's line when its bytes changed: a value whose text stays says that only its bytes went back.
void AddIfChanged(ItemReset& reset, const CellAddress& cell, bool same, const std::string& before,
                  const std::string& after) {
    if (same) return;
    reset.Values.push_back({cell, before, after, before == after ? "its original bytes" : ""});
}

// A switch put back adds its chunk as a save adds it, with the values a fresh one has: the original's own chunk is
// copied over it, so that its bytes are the original's too (a SLID chunk's value, the booster's values).
void PutBackSwitchedChunks(Bytes& reset, const ShipFileLayout& switched, const ShipValues& before,
                           std::span<const std::uint8_t> original, const ShipValues& originalValues) {
    const ShipChunks& now = switched.Chunks;
    const ShipChunks from = FindShipChunks(original);
    if (originalValues.Autoslide && !before.Autoslide && now.HasSlide && from.HasSlide) {
        CopyChunk(reset, AddPos(now.PhysPos, ShipLayout::kPhysChunkSize), original,
                  AddPos(from.PhysPos, ShipLayout::kPhysChunkSize), ShipLayout::kSlideChunkSize);
    }
    if (originalValues.Booster && !before.Booster && now.HasBooster && from.HasBooster) {
        CopyChunk(reset, now.BoosPos, original, from.BoosPos, ShipLayout::kBoosterChunkSize);
    }
}

// A ship's files, read before its values are worked out: what cannot be read fails the plan whole.
struct ShipFiles {
    ShipFile File;
    Bytes& Now;
    std::string OriginalFile;
    Bytes Original;
};

// The switches first, as a save switches them (adding or dropping their chunks), then every other value's bytes
// copied from the original into the file as it stands then.
ItemReset ResetShip(const Fleet& fleet, ShipFiles& files, const std::vector<CellAddress>& cells) {
    const std::vector<ProfileKey> keys = ProfileKeys(kMaxGunMounts, kMaxMissileMounts);
    const std::string& name = cells.front().ItemName;
    Bytes& bytes = files.Now;
    const Bytes& original = files.Original;
    const LoadedShip ship{name, files.File.Key, files.File.Path, bytes, CheckedShipValues(fleet, bytes, name)};
    const ShipValues originalValues =
        CheckedShipValues(fleet, original, "The original of " + files.OriginalFile + " would not load");

    ShipValues values = ship.Values;
    for (const CellAddress& cell : cells) {
        const ProfileKey& key = keys[cell.Key];
        if (!IsSwitch(key)) continue;
        (void)SetProfileValue(values, key, *ProfileValue(originalValues, key));
        if (key.Part == ProfilePart::Booster && originalValues.Booster) values.Booster = originalValues.Booster;
    }
    Bytes reset = SavedShipFile(fleet, ship, values);
    const ShipFileLayout switched = LocateShipLayout(reset);
    PutBackSwitchedChunks(reset, switched, ship.Values, original, originalValues);

    ItemReset outcome;
    std::map<std::size_t, std::pair<ValuePlace, ValuePlace>> copied;  // by key: its place before and after
    for (const CellAddress& cell : cells) {
        const ProfileKey& key = keys[cell.Key];
        if (IsSwitch(key)) continue;
        const std::optional<ValuePlace> now = ShipValuePlace(reset, key);
        const std::optional<ValuePlace> from = ShipValuePlace(original, key);
        if (!now) {
            outcome.Refused.push_back({cell, name + " has no key " + key.Key});
        } else if (!from) {
            outcome.Refused.push_back({cell, name + ", " + key.Key + ": its original has no such value"});
        } else {
            CopyValueBytes(reset, *now, original, *from);
            copied.emplace(cell.Key, std::pair(ShipValuePlace(bytes, key).value(), *now));
        }
    }
    const ShipLoadCheck check = CheckShipLoads(reset, fleet.Guns.size(), fleet.Missiles.size());
    if (!check.Problem.empty()) throw Refusal(name + " would not load again: " + check.Problem + ".");
    if (LocateShipLayout(reset) != switched) throw Refusal(name + " would not load again: its parts would move.");

    const ShipValues after = CheckedShipValues(fleet, reset, name);
    for (const CellAddress& cell : cells) {
        const ProfileKey& key = keys[cell.Key];
        const std::string before = ValueText(fleet, ship.Values, key, true);
        const std::string now = ValueText(fleet, after, key, true);
        if (IsSwitch(key)) {
            AddIfChanged(outcome, cell, before == now, before, now);
        } else if (const auto place = copied.find(cell.Key); place != copied.end()) {
            AddIfChanged(outcome, cell, SameValueBytes(bytes, place->second.first, reset, place->second.second), before,
                         now);
        }
    }
    bytes = std::move(reset);
    return outcome;
}

// A weapon's record lies at the same place in the table and in its original.
template <class Values>
ItemReset ResetWeapon(const Fleet& fleet, const WeaponKind<Values>& kind,
                      ValuePlace (*placeOf)(std::int32_t, std::size_t), Bytes& table, const Bytes& original,
                      const std::vector<CellAddress>& cells) {
    const std::int32_t base =
        RecordBaseOf(fleet.Game, kind, WeaponIndex(kind.Names, cells.front().ItemName, kind.Weapon));
    const Values read = kind.Read(table, base);
    Bytes reset = table;
    for (const CellAddress& cell : cells)
        CopyValueBytes(reset, placeOf(base, cell.Key), original, placeOf(base, cell.Key));
    const Values after = kind.Read(reset, base);
    ItemReset outcome;
    for (const CellAddress& cell : cells) {
        const ValuePlace place = placeOf(base, cell.Key);
        const NamedField<Values>& field = kind.Fields.at(cell.Key);
        AddIfChanged(outcome, cell, SameValueBytes(table, place, reset, place), field.Show(read), field.Show(after));
    }
    table = std::move(reset);
    return outcome;
}

// The reset of one ship or weapon, or every one of its values refused with why it cannot be: its file or original
// holds what a load refuses, or a value lies where the file does not reach.
ItemReset Refusing(const std::vector<CellAddress>& cells, const std::function<ItemReset()>& reset) {
    try {
        return reset();
    } catch (const std::exception& error) {
        const bool named = dynamic_cast<const Refusal*>(&error) != nullptr;
        ItemReset refused;
        for (const CellAddress& cell : cells) {
            refused.Refused.push_back({cell, named ? error.what() : cell.ItemName + ": " + error.what()});
        }
        return refused;
    }
}

// The original bytes of a weapon table, read once for all its weapons.
class OriginalTables {
public:
    explicit OriginalTables(const OriginalsBackup& backup) : backup_(backup) {}
    const Bytes& Of(const std::string& file) {
        auto found = tables_.find(file);
        if (found == tables_.end()) found = tables_.emplace(file, OriginalFileBytes(backup_, file)).first;
        return found->second;
    }

private:
    const OriginalsBackup& backup_;
    std::map<std::string, Bytes> tables_;
};

}  // namespace

EditPlan PlanReset(const Fleet& fleet, const std::vector<CellAddress>& cells) {
    const OriginalsBackup backup = BackupOf(fleet.Game.GameFolder, fleet.Game.Catalogue);
    const WeaponKind<GunValues> guns = GunKind(fleet.Game);
    const WeaponKind<MissileValues> missiles = MissileKind(fleet.Game);
    OriginalTables originals(backup);
    PlannedFiles files(fleet.Game.GameFolder);
    EditPlan plan;
    // Each ship's or weapon's values together, in the order of the sheets.
    std::map<std::pair<SheetKind, std::size_t>, std::vector<CellAddress>> items;
    for (const CellAddress& cell : std::set<CellAddress>(cells.begin(), cells.end())) {
        items[{cell.Kind, cell.Item}].push_back(cell);
    }
    for (const auto& entry : items) {
        const SheetKind kind = entry.first.first;
        const std::vector<CellAddress>& itemCells = entry.second;
        const std::string& name = itemCells.front().ItemName;
        ItemReset reset;
        if (kind == SheetKind::Ships) {
            const ShipFile file = FindShipFile(fleet, name);
            const std::string originalFile = OriginalShipFile(fleet, backup, name);
            ShipFiles shipFiles{file, files.Of(file.Path), originalFile, OriginalFileBytes(backup, originalFile)};
            reset = Refusing(itemCells, [&] { return ResetShip(fleet, shipFiles, itemCells); });
        } else if (kind == SheetKind::Guns) {
            Bytes& table = files.Of(guns.TablePath);
            const Bytes& original = originals.Of(guns.TableFile);
            reset = Refusing(itemCells,
                             [&] { return ResetWeapon(fleet, guns, GunValuePlace, table, original, itemCells); });
        } else {
            Bytes& table = files.Of(missiles.TablePath);
            const Bytes& original = originals.Of(missiles.TableFile);
            reset = Refusing(
                itemCells, [&] { return ResetWeapon(fleet, missiles, MissileValuePlace, table, original, itemCells); });
        }
        plan.Values.insert(plan.Values.end(), reset.Values.begin(), reset.Values.end());
        plan.Refused.insert(plan.Refused.end(), reset.Refused.begin(), reset.Refused.end());
    }
    files.AddTo(plan);
    const std::size_t count = plan.Values.size();
    plan.Name = "reset of " + std::to_string(count) + (count == 1 ? " value" : " values");
    return plan;
}

}  // namespace tovarin
