#include "mods/fleet_table.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "gamefiles/numbers.h"
#include "mods/load_order.h"
#include "ships/ship_layout.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"

namespace tovarin {

namespace {

template <std::size_t N>
std::string Title(const std::array<ShipLayout::ValueSlot, N>& slots, std::size_t index) {
    return index < N ? std::string(slots[index].Title) : std::string();
}

// The key as the Ships tab labels its box: "Speed Max", "Gun 3", "Ammunition 3".
std::string ShipLabel(const ProfileKey& key) {
    const std::string mount = IntToStr(static_cast<std::int32_t>(key.Index + 1));
    switch (key.Part) {
        case ProfilePart::Engine:
            return Title(ShipLayout::kEngineValues, key.Index);
        case ProfilePart::Autoslide:
            return "Autoslide";
        case ProfilePart::Booster:
            return "Booster";
        case ProfilePart::Hitpoints:
            return std::string(ShipLayout::kHitpoints.Title);
        case ProfilePart::Armour:
            return Title(ShipLayout::kArmourValues, key.Index);
        case ProfilePart::Shields:
            return Title(ShipLayout::kShieldValues, key.Index);
        case ProfilePart::GunPower:
            return Title(ShipLayout::kGunPowerValues, key.Index);
        case ProfilePart::Gun:
            return "Gun " + mount;
        case ProfilePart::GunAmmo:
            return "Ammunition " + mount;
        case ProfilePart::Missile:
            return "Missile " + mount;
        case ProfilePart::MissileAmmo:
            return "Missiles " + mount;
        case ProfilePart::Decoys:
            return "Decoys";
        case ProfilePart::Mass:
            return std::string(ShipLayout::kMass.Title);
    }
    return key.Key;
}

// A weapon field as its tab labels it: the caption the field's name was made from, else the name begun in capitals.
std::string WeaponLabel(const std::string& field) {
    std::vector<std::string_view> captions;
    for (const FloatField& known : kGunFields) captions.push_back(known.Caption);
    for (const FloatField& known : kMissileFields) captions.push_back(known.Caption);
    captions.push_back(kSplitDelayField.Caption);
    for (const MissileFlag& flag : kMissileFlags) captions.push_back(flag.Caption);
    for (const std::string_view caption : captions) {
        const auto sameLetter = [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
        };
        if (std::equal(caption.begin(), caption.end(), field.begin(), field.end(), sameLetter)) {
            return std::string(caption);
        }
    }
    std::string label = field;
    if (!label.empty()) label[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(label[0])));
    return label;
}

// The value of each row and key, "" where the cells hold none.
void FillRows(std::vector<std::vector<std::string>>& rows, const Cells& cells, SheetKind kind, std::size_t leading) {
    for (auto cell = cells.lower_bound(CellAddress{kind, 0, 0, {}, {}});
         cell != cells.end() && cell->first.Kind == kind; ++cell) {
        const CellAddress& address = cell->first;
        if (address.Item < rows.size() && leading + address.Key < rows[address.Item].size()) {
            rows[address.Item][leading + address.Key] = cell->second;
        }
    }
}

// A column of whole numbers sorts as numbers; one with any other text (a weapon's name) as text.
bool AllNumbers(const std::vector<std::vector<std::string>>& rows, std::size_t column) {
    return std::all_of(rows.begin(), rows.end(), [column](const std::vector<std::string>& row) {
        return row[column].empty() || TryStrToInt(row[column]).has_value();
    });
}

}  // namespace

FleetTable::FleetTable(const ModInstallation& game, SheetKind kind) : kind_(kind) {
    const Fleet& fleet = game.Game();
    std::vector<std::string> names;
    if (kind == SheetKind::Ships) {
        names = fleet.Ships;
        columns_ = {{"ship", "Ship", false}, {"file", "File", false}};
        for (const ProfileKey& key : ProfileKeys(kMaxGunMounts, kMaxMissileMounts)) {
            columns_.push_back({key.Key, ShipLabel(key), false});
        }
    } else {
        const auto addFields = [this, &names](const auto& weapons) {
            names = weapons.Names;
            columns_ = {{weapons.Weapon, weapons.Weapon == "gun" ? "Gun" : "Missile", false}};
            for (const auto& field : weapons.Fields) columns_.push_back({field.Name, WeaponLabel(field.Name), false});
        };
        if (kind == SheetKind::Guns) {
            addFields(GunKind(fleet.Game));
        } else {
            addFields(MissileKind(fleet.Game));
        }
    }
    leading_ = kind == SheetKind::Ships ? 2 : 1;
    now_.assign(names.size(), std::vector<std::string>(columns_.size()));
    for (std::size_t row = 0; row < names.size(); ++row) {
        now_[row][0] = names[row];
        if (kind == SheetKind::Ships) now_[row][1] = FindShipFile(fleet, names[row]).Name;
    }
    original_ = now_;
    states_ = game.States();
    FillRows(now_, states_.Now, kind, leading_);
    FillRows(original_, states_.Original, kind, leading_);
    for (std::size_t column = leading_; column < columns_.size(); ++column)
        columns_[column].Numeric = AllNumbers(now_, column);
    std::vector<Mod> mods = InstalledMods(game.ModsFolder());
    switchedOn_ = UsableSwitchedOn(mods, CheckMods(game, mods));
}

bool FleetTable::RowChanged(std::size_t row) const {
    for (std::size_t column = leading_; column < columns_.size(); ++column) {
        if (Changed(row, column)) return true;
    }
    return false;
}

CellAddress FleetTable::Address(std::size_t row, std::size_t column) const {
    return CellAddress{kind_, row, column - leading_, Name(row), columns_[column].Key};
}

std::vector<OriginStep> FleetTable::Origin(std::size_t row, std::size_t column) const {
    if (column < leading_ || row >= now_.size() || column >= columns_.size()) return {};
    return ValueOrigin(states_, switchedOn_, Address(row, column));
}

}  // namespace tovarin
