#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "window/form1.h"
#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "ships/ship_layout.h"
#include "ships/ship_rebuild.h"

// Saving the Ships tab: the boxes, the mount tables and the booster become one new ship file, built and checked
// in memory, which then replaces the ship file in one step. A value that is refused, or a file that would not
// load again, stops the save with nothing on disk changed.
namespace tovarin {

namespace Layout = ShipLayout;

namespace {

const TEdit& BoxNamed(const TForm& form, std::string_view name) {
    const auto* box = dynamic_cast<const TEdit*>(form.FindComponent(name));
    if (box == nullptr) throw std::logic_error("no edit box " + std::string(name));
    return *box;
}

std::int32_t BoxValue(const TForm& form, const Layout::ValueSlot& slot) {
    return StrToInt(BoxNamed(form, slot.Control).Text());
}

template <std::size_t N>
std::array<std::int32_t, N> BoxValues(const TForm& form, const std::array<Layout::ValueSlot, N>& slots) {
    std::array<std::int32_t, N> values{};
    for (std::size_t i = 0; i < N; ++i) values[i] = BoxValue(form, slots[i]);
    return values;
}

// What the tab and the loaded ship hold, in the order the tab lists them, so that the first box without an
// integer is the one reported. Parts the loaded ship lacks are left out.
ShipValues CollectValues(const TForm1& form) {
    const ShipState& ship = form.Ship;
    ShipValues values;
    values.Mass = BoxValue(form, Layout::kMass);
    values.Hitpoints = BoxValue(form, Layout::kHitpoints);
    values.Engine = BoxValues(form, Layout::kEngineValues);
    if (ship.ArmrBase != 0) values.Armour = BoxValues(form, Layout::kArmourValues);
    if (ship.ShieldBase != 0) values.Shields = BoxValues(form, Layout::kShieldValues);
    values.GunPower = BoxValues(form, Layout::kGunPowerValues);
    for (std::size_t i = 0; i < ship.GunMountCount; ++i) {
        const std::size_t mount = CheckIndex(static_cast<std::int64_t>(i), kMaxGunMounts);
        values.GunMounts.push_back({form.GunMountTypes[mount], form.GunMountAmmo[mount]});
    }
    for (std::size_t k = 0; k < ship.TurretCount; ++k) {
        values.TurretGuns.push_back(ship.TurretGunTypes[CheckIndex(static_cast<std::int64_t>(k), kMaxTurrets)]);
    }
    if (ship.MissBase != 0) {
        for (std::size_t i = 0; i < ship.MissileMountCount; ++i) {
            const std::size_t mount = CheckIndex(static_cast<std::int64_t>(i), kMaxMissileMounts);
            values.MissileMounts.push_back({form.MissileMountTypes[mount], ship.MissileMountLoads[mount]});
        }
        // A ship with missiles but no DECY chunk has no decoy count: nothing may be written for it.
        if (ship.DecyBase != 0) values.Decoys = StrToInt(form.Edit14.Text());
    }
    values.Autoslide = form.CheckBox1.Checked();
    if (ship.HasBooster) values.Booster = ship.BoosterValues;
    return values;
}

// Every mount must hold a weapon the catalogue lists: a ship saved with any other type would stop its next load
// ("List index out of bounds"), so such a save is refused before the file changes.
void CheckListedWeapons(const TForm1& form, const ShipValues& values) {
    const auto refuse = [](const std::string& mount, int type) {
        throw Exception("The ship cannot be saved: " + mount + " holds weapon type " + std::to_string(type) +
                        ", which the catalogue does not list. The ship file was not changed");
    };
    const std::size_t guns = form.ComboBox2.Items().size();
    for (std::size_t i = 0; i < values.GunMounts.size(); ++i) {
        if (values.GunMounts[i].Gun >= guns) refuse("gun mount " + std::to_string(i + 1), values.GunMounts[i].Gun);
    }
    for (std::size_t i = 0; i < values.TurretGuns.size(); ++i) {
        if (values.TurretGuns[i] >= guns) refuse("turret " + std::to_string(i + 1), values.TurretGuns[i]);
    }
    const std::size_t missiles = form.ComboBox3.Items().size();
    for (std::size_t i = 0; i < values.MissileMounts.size(); ++i) {
        if (values.MissileMounts[i].Missile >= missiles) {
            refuse("missile mount " + std::to_string(i + 1), values.MissileMounts[i].Missile);
        }
    }
}

}  // namespace

void TForm1::Button2Click() {
    const ShipValues values = CollectValues(*this);
    CheckListedWeapons(*this, values);
    const std::string file = "Ships\\" + Ship.ShipFile;
    const std::string path = ShipPath();
    ReplaceWholeFile(path, RebuildShipFile(ReadWholeFile(path), values));
    // The file holds the save now: a reload that fails must not read as a failed save.
    try {
        LoadShipFile();
    } catch (const Exception& error) {
        throw ESavedButNotReadBack(file, error);
    }
}

}  // namespace tovarin
