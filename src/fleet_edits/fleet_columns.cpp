#include "fleet_edits/fleet_columns.h"

#include "sheets/refusal.h"
#include "sheets/weapon_sheet.h"

namespace tovarin {

namespace {

// The missile sheet's columns: the plain floats, the split delay, the number of sub-missiles, then their type.
constexpr std::size_t kSubMissileTypeColumn = kMissileFields.size() + 2;

}  // namespace

std::vector<std::string> ColumnNames(const Fleet& fleet, SheetKind kind) {
    std::vector<std::string> names;
    if (kind == SheetKind::Ships) {
        for (const ProfileKey& key : ProfileKeys(kMaxGunMounts, kMaxMissileMounts)) names.push_back(key.Key);
    } else if (kind == SheetKind::Guns) {
        for (const auto& field : GunKind(fleet.Game).Fields) names.push_back(field.Name);
    } else {
        for (const auto& field : MissileKind(fleet.Game).Fields) names.push_back(field.Name);
    }
    return names;
}

const std::vector<std::string>& ItemNames(const Fleet& fleet, SheetKind kind) {
    if (kind == SheetKind::Ships) return fleet.Ships;
    return kind == SheetKind::Guns ? fleet.Guns : fleet.Missiles;
}

CellAddress CellOf(const Fleet& fleet, SheetKind kind, std::size_t item, std::size_t column) {
    const std::vector<std::string>& items = ItemNames(fleet, kind);
    const std::vector<std::string> columns = ColumnNames(fleet, kind);
    if (item >= items.size() || column >= columns.size()) throw Refusal("No such cell of the fleet");
    return {kind, item, column, items[item], columns[column]};
}

bool HoldsWeaponName(SheetKind kind, std::size_t column) {
    if (kind == SheetKind::Guns) return false;
    if (kind == SheetKind::Missiles) return column == kSubMissileTypeColumn;
    const std::vector<ProfileKey> keys = ProfileKeys(kMaxGunMounts, kMaxMissileMounts);
    return column < keys.size() && (keys[column].Part == ProfilePart::Gun || keys[column].Part == ProfilePart::Missile);
}

}  // namespace tovarin
