#include "fleet_edits/value_writes.h"

#include "gamefiles/whole_files.h"

namespace tovarin {

void SetShipValues(const Fleet& fleet, const LoadedShip& ship, const ValueChanges& changes) {
    ShipValues values = ship.Values;
    for (const auto& [key, text] : changes) SetShipValue(fleet, ship, values, ShipKeyNamed(ship, key), text);
    SaveShip(fleet, ship, values);
}

template <class Values>
void SetWeaponValues(const Installation& game, const WeaponKind<Values>& kind, const std::string& weapon,
                     const ValueChanges& changes) {
    const int index = WeaponIndex(kind.Names, weapon, kind.Weapon);
    const std::int32_t base = RecordBaseOf(game, kind, index);
    const Values read = kind.Read(ReadWholeFileReadOnly(kind.TablePath), base);
    Values values = read;
    for (const auto& [field, text] : changes) TakeText(FieldNamed(kind, field), values, text);
    OnlyChanged(values, read);
    const std::pair<std::int32_t, Values> record{base, values};
    kind.Save(kind.TablePath, std::span(&record, 1));
}

void WriteCell(const Fleet& fleet, const CellAddress& cell, const std::string& text) {
    const ValueChanges change{{cell.KeyName, text}};
    switch (cell.Kind) {
        case SheetKind::Ships:
            return SetShipValues(fleet, LoadNamedShip(fleet, cell.ItemName), change);
        case SheetKind::Guns:
            return SetWeaponValues(fleet.Game, GunKind(fleet.Game), cell.ItemName, change);
        case SheetKind::Missiles:
            return SetWeaponValues(fleet.Game, MissileKind(fleet.Game), cell.ItemName, change);
    }
}

template void SetWeaponValues(const Installation&, const WeaponKind<GunValues>&, const std::string&,
                              const ValueChanges&);
template void SetWeaponValues(const Installation&, const WeaponKind<MissileValues>&, const std::string&,
                              const ValueChanges&);

}  // namespace tovarin
