#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/form1.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "ships/mount_rows.h"
#include "ships/read_ship_values.h"
#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"
#include "ui/platform.h"

namespace tovarin {

namespace Layout = ShipLayout;

namespace {

using FileBytes = std::span<const std::uint8_t>;

// The loaded ship's positions, as the marker searches found them.
void KeepChunks(ShipState& ship, const ShipChunks& chunks) {
    ship.PhysPos = chunks.PhysPos;
    ship.EngnBase = chunks.EngnBase;
    ship.GunsBase = chunks.GunsBase;
    ship.MissBase = chunks.MissBase;
    ship.DecyBase = chunks.DecyBase;
    ship.ShieldBase = chunks.ShieldBase;
    ship.ArmrBase = chunks.ArmrBase;
    ship.BoosPos = chunks.BoosPos;
    ship.TurretListPos = chunks.TurretListPos;
    ship.HasSlide = chunks.HasSlide;
    ship.HasBooster = chunks.HasBooster;
}

// The finders stop at 16 mounts, which is what the tables hold.
template <std::size_t N>
void KeepMounts(const std::vector<std::uint16_t>& found, std::array<std::uint16_t, N>& positions, std::uint8_t& count) {
    count = ToByte(CheckRange(static_cast<std::int64_t>(found.size()), 0, N));
    std::copy(found.begin(), found.end(), positions.begin());
}

// The name of a gun or missile by its index, as the catalogue lists them.
const std::string& NameAt(const TItemList& names, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= names.Items().size()) throw EStringListError();
    return names.Items()[static_cast<std::size_t>(index)];
}

TEdit& BoxNamed(const TForm& form, std::string_view name) {
    auto* box = dynamic_cast<TEdit*>(form.FindComponent(name));
    if (box == nullptr) throw std::logic_error("no edit box " + std::string(name));
    return *box;
}

void ShowValue(const TForm& form, const Layout::ValueSlot& slot, FileBytes file, std::int32_t base) {
    BoxNamed(form, slot.Control).SetText(IntToStr(ReadShownFloat(file, AddPos(base, slot.Offset))));
}

template <std::size_t N>
void ShowValues(const TForm& form, const std::array<Layout::ValueSlot, N>& slots, FileBytes file, std::int32_t base) {
    for (const Layout::ValueSlot& slot : slots) ShowValue(form, slot, file, base);
}

void ShowShields(TForm1& form, FileBytes file) {
    const bool present = form.Ship.ShieldBase != 0;
    for (TControl* control : std::initializer_list<TControl*>{&form.Edit17, &form.Edit16, &form.Edit20, &form.Edit21,
                                                              &form.Edit22, &form.Label15, &form.Label16}) {
        control->SetVisible(present);
    }
    if (present) ShowValues(form, Layout::kShieldValues, file, form.Ship.ShieldBase);
}

void ShowGunMounts(TForm1& form, FileBytes file) {
    ShipState& ship = form.Ship;
    form.ListBox1.Clear();
    for (std::size_t i = 0; i < ship.GunMountCount; ++i) {
        const GunMountValues mount = ReadGunMount(file, AddPos(ship.GunsBase, ship.GunMountPos[i]));
        form.GunMountTypes[i] = mount.Gun;
        form.GunMountAmmo[i] = mount.Ammo;
        form.ListBox1.Items().push_back(
            GunMountRow(NameAt(form.ComboBox2, form.GunMountTypes[i]), form.GunMountTypes[i], form.GunMountAmmo[i]));
    }
}

// Turrets are listed only for a ship with a turret list; each "BULL" chunk behind the guns is one turret.
void ShowTurrets(TForm1& form, FileBytes file) {
    ShipState& ship = form.Ship;
    ship.TurretCount = 0;
    if (ship.TurretListPos <= 0) return;
    for (std::int32_t gunByte : FindTurrets(file, ship.GunsBase)) {
        const std::size_t k = CheckIndex(ship.TurretCount, kMaxTurrets);
        ship.TurretTypePos[k] = gunByte;
        ship.TurretGunTypes[k] = ReadByteIn(file, gunByte);
        form.ListBox1.Items().push_back(TurretRow(NameAt(form.ComboBox2, ship.TurretGunTypes[k])));
        ship.TurretCount = ToByte(ship.TurretCount + 1);
    }
}

// A ship without a MISS form shows neither missiles nor decoys; the lists keep the last ship's entries. A
// ship with missiles but no DECY chunk has no decoy count to show, so its "Decoys" group stays hidden.
void ShowMissiles(TForm1& form, FileBytes file) {
    ShipState& ship = form.Ship;
    const bool missiles = ship.MissBase != 0;
    const bool decoys = missiles && ship.DecyBase != 0;
    form.GroupBox3.SetVisible(missiles);
    form.GroupBox5.SetVisible(decoys);
    if (!missiles) return;
    form.ListBox2.Clear();
    for (std::size_t i = 0; i < ship.MissileMountCount; ++i) {
        const MissileMountValues mount = ReadMissileMount(file, AddPos(ship.MissBase, ship.MissileMountPos[i]));
        form.MissileMountTypes[i] = mount.Missile;
        ship.MissileMountLoads[i] = mount.Loads;
        form.ListBox2.Items().push_back(
            MissileMountRow(NameAt(form.ComboBox3, form.MissileMountTypes[i]), ship.MissileMountLoads[i]));
    }
    if (decoys) form.Edit14.SetText(IntToStr(ReadByteIn(file, AddPos(ship.DecyBase, Layout::kDecoyCount))));
}

void ShowBooster(TForm1& form, FileBytes file) {
    ShipState& ship = form.Ship;
    form.CheckBox2.SetChecked(ship.HasBooster);  // its click handler follows the state
    form.Button11.SetEnabled(ship.HasBooster);
    if (!ship.HasBooster) {
        for (std::size_t i = 0; i < Layout::kBoosterValues.size(); ++i)
            ship.BoosterValues[i] = Layout::kBoosterValues[i].Default;
        return;
    }
    ship.BoosterValues = ReadBoosterValues(file, ship.BoosPos);
}

}  // namespace

void TForm1::ComboBox1Change() {
    const std::string shown = ComboBox1.Text();
    Ship.ShipKey = SwitchFile.ReadString("swships", shown, "");
    if (!shown.empty()) LoadShip(Ship.ShipKey);
}

void TForm1::LoadShip(const std::string& key) {
    Ship.ShipFile = Catalogue.ReadString("Ships", key, "");
    LoadShipFile();
}

void TForm1::LoadShipFile() {
    const EditorLoad load(*this, Editor::Ship);
    const std::string path = ShipPath();
    if (!FileExists(path)) {
        GetPlatform().ShowMessage("Couldn't find file " + path + "\n\r" +
                                  "Please consult readme.txt on how to install Tovarin");
        GetPlatform().Halt(0);
    }
    // One read: every value shown comes from the same state of the file.
    const std::vector<std::uint8_t> file = ReadWholeFile(path);
    KeepChunks(Ship, FindShipChunks(file));

    ShowValue(*this, Layout::kMass, file, Ship.PhysPos);
    CheckBox1.SetChecked(Ship.HasSlide);

    KeepMounts(FindGunMounts(file, Ship.GunsBase), Ship.GunMountPos, Ship.GunMountCount);
    if (Ship.MissBase != 0) {
        KeepMounts(FindMissileMounts(file, Ship.MissBase), Ship.MissileMountPos, Ship.MissileMountCount);
    } else {
        Ship.MissileMountCount = 0;  // the missile tables keep the last ship's values, but this ship has none
    }

    const std::int32_t slideLength = Ship.HasSlide ? Layout::kSlideChunkSize : 0;
    ShowValue(*this, Layout::kHitpoints, file, AddPos(Ship.PhysPos, slideLength));
    ShowValues(*this, Layout::kEngineValues, file, Ship.EngnBase);
    if (Ship.ArmrBase != 0) ShowValues(*this, Layout::kArmourValues, file, Ship.ArmrBase);
    ShowShields(*this, file);
    ShowGunMounts(*this, file);
    ShowValues(*this, Layout::kGunPowerValues, file, Ship.GunsBase);
    ShowTurrets(*this, file);
    ShowMissiles(*this, file);
    ShowBooster(*this, file);
}

}  // namespace tovarin
