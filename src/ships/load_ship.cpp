#include <array>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include "app/form1.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/mount_rows.h"
#include "ships/ship_layout.h"
#include "ui/platform.h"

namespace tovarin {

namespace Layout = ShipLayout;

namespace {

// Floats are read through a primitive that steps back this far before reading.
constexpr std::int32_t kFloatBack = 2;

// The float stored at the position, as the boxes show it.
std::int32_t ReadShownFloat(const std::string& path, std::int32_t position) {
    float stored = 0;
    return ReadFloatAt(path, AddPos(position, kFloatBack), stored, kFloatBack);
}

// The low half of a chunk length: two bytes, high byte first.
std::int32_t ReadLengthWord(const std::string& path, std::int32_t position) {
    std::array<std::uint8_t, 2> bytes{};
    ReadBytesAt(path, position, bytes, 2);
    return MakeWord(bytes[1], bytes[0]);
}

// A 16-bit count stored low byte first.
std::uint16_t ReadLittleEndianWord(const std::string& path, std::int32_t position) {
    std::array<std::uint8_t, 2> bytes{};
    ReadBytesAt(path, position, bytes, 2);
    return MakeWord(bytes[0], bytes[1]);
}

// Where a part starts, from the offset of its marker: 0 (absent) when the marker was not found or lies in the
// file's header.
std::int32_t BaseOf(std::int32_t markerPos, std::int32_t markerToBase, std::int32_t minimum) {
    return markerPos - minimum > 0 ? markerPos - markerToBase : 0;
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

void ShowValue(const TForm& form, const Layout::ValueSlot& slot, const std::string& path, std::int32_t base) {
    BoxNamed(form, slot.Control).SetText(IntToStr(ReadShownFloat(path, AddPos(base, slot.Offset))));
}

template <std::size_t N>
void ShowValues(const TForm& form, const std::array<Layout::ValueSlot, N>& slots, const std::string& path,
                std::int32_t base) {
    for (const Layout::ValueSlot& slot : slots) ShowValue(form, slot, path, base);
}

void ShowShields(TForm1& form, const std::string& path) {
    const bool present = form.Ship.ShieldBase != 0;
    for (TControl* control : std::initializer_list<TControl*>{&form.Edit17, &form.Edit16, &form.Edit20, &form.Edit21,
                                                              &form.Edit22, &form.Label15, &form.Label16}) {
        control->SetVisible(present);
    }
    if (present) ShowValues(form, Layout::kShieldValues, path, form.Ship.ShieldBase);
}

void ShowGunMounts(TForm1& form, const std::string& path) {
    ShipState& ship = form.Ship;
    form.ListBox1.Clear();
    for (std::size_t i = 0; i < ship.GunMountCount; ++i) {
        const std::int32_t data = AddPos(ship.GunsBase, ship.GunMountPos[i]);
        form.GunMountTypes[i] = ReadByteAt(path, AddPos(data, Layout::kGunMountGun));
        form.GunMountAmmo[i] = ReadLittleEndianWord(path, AddPos(data, Layout::kGunMountAmmo));
        form.ListBox1.Items().push_back(
            GunMountRow(NameAt(form.ComboBox2, form.GunMountTypes[i]), form.GunMountTypes[i], form.GunMountAmmo[i]));
    }
}

// Turrets are listed only for a ship with a turret list; each "BULL" chunk behind the guns is one turret.
void ShowTurrets(TForm1& form, const std::string& path) {
    ShipState& ship = form.Ship;
    ship.TurretCount = 0;
    if (ship.TurretListPos <= 0) return;
    std::int32_t turret = FindMarker(path, Layout::kTurretMarker, AddPos(ship.GunsBase, 1));
    while (turret > 0) {
        const std::size_t k = CheckIndex(ship.TurretCount, kMaxTurrets);
        ship.TurretTypePos[k] = AddPos(turret, Layout::kTurretGun);
        ship.TurretGunTypes[k] = ReadByteAt(path, ship.TurretTypePos[k]);
        form.ListBox1.Items().push_back(TurretRow(NameAt(form.ComboBox2, ship.TurretGunTypes[k])));
        ship.TurretCount = ToByte(ship.TurretCount + 1);
        turret = FindMarker(path, Layout::kTurretMarker, AddPos(turret, 1));
    }
}

// A ship without a MISS form shows neither missiles nor decoys; the lists keep the last ship's entries. A
// ship with missiles but no DECY chunk has no decoy count to show, so its "Decoys" group stays hidden.
void ShowMissiles(TForm1& form, const std::string& path) {
    ShipState& ship = form.Ship;
    const bool missiles = ship.MissBase != 0;
    const bool decoys = missiles && ship.DecyBase != 0;
    form.GroupBox3.SetVisible(missiles);
    form.GroupBox5.SetVisible(decoys);
    if (!missiles) return;
    form.ListBox2.Clear();
    for (std::size_t i = 0; i < ship.MissileMountCount; ++i) {
        const std::int32_t data = AddPos(ship.MissBase, ship.MissileMountPos[i]);
        form.MissileMountTypes[i] = ReadByteAt(path, AddPos(data, Layout::kMissileMountMissile));
        ship.MissileMountLoads[i] = ReadByteAt(path, AddPos(data, Layout::kMissileMountLoads));
        form.ListBox2.Items().push_back(
            MissileMountRow(NameAt(form.ComboBox3, form.MissileMountTypes[i]), ship.MissileMountLoads[i]));
    }
    if (decoys) form.Edit14.SetText(IntToStr(ReadByteAt(path, AddPos(ship.DecyBase, Layout::kDecoyCount))));
}

void ShowBooster(TForm1& form, const std::string& path) {
    ShipState& ship = form.Ship;
    form.CheckBox2.SetChecked(ship.HasBooster);  // its click handler follows the state
    form.Button11.SetEnabled(ship.HasBooster);
    form.BoosterAtLoad = ship.HasBooster;
    for (std::size_t i = 0; i < Layout::kBoosterValues.size(); ++i) {
        const Layout::BoosterSlot& slot = Layout::kBoosterValues[i];
        ship.BoosterValues[i] = ship.HasBooster ? CheckRange(ReadShownFloat(path, AddPos(ship.BoosPos, slot.Offset)), 0,
                                                             std::numeric_limits<std::int32_t>::max())
                                                : slot.Default;
    }
}

}  // namespace

void TForm1::ComboBox1Change() {
    const std::string shown = ComboBox1.Text();
    Ship.ShipKey = SwitchFile.ReadString("swships", shown, "");
    if (!shown.empty()) LoadShip(Ship.ShipKey);
}

void TForm1::LoadShip(const std::string& key) {
    const EditorLoad load(*this, Editor::Ship);
    Ship.ShipFile = Catalogue.ReadString("Ships", key, "");
    const std::string path = ShipPath();
    if (!FileExists(path)) {
        GetPlatform().ShowMessage("Couldn't find file " + path + "\n\r" +
                                  "Please consult readme.txt on how to install Tovarin");
        GetPlatform().Halt(0);
    }
    LocateShipChunks(path);

    ShowValue(*this, Layout::kMass, path, Ship.PhysPos);
    CheckBox1.SetChecked(Ship.HasSlide);
    SlideAtLoad = Ship.HasSlide;

    ScanGunMounts();
    if (Ship.MissBase != 0) {
        ScanMissileMounts();
    } else {
        Ship.MissileMountCount = 0;  // the missile tables keep the last ship's values, but this ship has none
    }

    const std::int32_t slideLength = Ship.HasSlide ? Layout::kSlideChunkSize : 0;
    ShowValue(*this, Layout::kHitpoints, path, AddPos(Ship.PhysPos, slideLength));
    ShowValues(*this, Layout::kEngineValues, path, Ship.EngnBase);
    if (Ship.ArmrBase != 0) ShowValues(*this, Layout::kArmourValues, path, Ship.ArmrBase);
    ShowShields(*this, path);
    ShowGunMounts(*this, path);
    ShowValues(*this, Layout::kGunPowerValues, path, Ship.GunsBase);
    ShowTurrets(*this, path);
    ShowMissiles(*this, path);
    ShowBooster(*this, path);
}

void TForm1::LocateShipChunks(const std::string& path) {
    Ship.HasSlide = FindMarker(path, Layout::kSlideMarker, 0) > 0;
    const bool boosterMarker = FindMarker(path, Layout::kBoosterMarker, 0) > 0;
    Ship.PhysPos = FindMarker(path, Layout::kPhysicsMarker, 0);

    const std::int32_t engine = FindMarker(path, Layout::kEngineMarker, Ship.PhysPos);
    const std::int32_t guns = FindMarker(path, Layout::kGunsMarker, AddPos(engine, -Layout::kSearchBackFromForm));
    const std::int32_t behindGuns = AddPos(guns, -Layout::kSearchBackFromForm);
    const std::int32_t missiles = FindMarker(path, Layout::kMissilesMarker, behindGuns);
    const std::int32_t decoys = FindMarker(path, Layout::kDecoysMarker, behindGuns);
    const std::int32_t shields = FindMarker(path, Layout::kShieldsMarker, behindGuns);
    // The armour lies behind the shields; a ship without shields has it behind the guns like every other part.
    const std::int32_t armourFrom = shields > 0 ? AddPos(shields, -Layout::kSearchBackFromShields) : behindGuns;
    const std::int32_t armour = FindMarker(path, Layout::kArmourMarker, armourFrom);
    Ship.BoosPos = FindMarker(path, Layout::kBoosterMarker, AddPos(engine, -Layout::kSearchBackFromForm));
    Ship.TurretListPos = FindMarker(path, Layout::kTurretListMarker, behindGuns);

    Ship.EngnBase = BaseOf(engine, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    Ship.GunsBase = BaseOf(guns, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    Ship.MissBase = BaseOf(missiles, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    Ship.ArmrBase = BaseOf(armour, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    Ship.DecyBase = BaseOf(decoys, Layout::kDecoysMarkerToBase, Layout::kDecoysMarkerMinimum);
    Ship.ShieldBase = BaseOf(shields, Layout::kShieldsMarkerToBase, Layout::kShieldsMarkerMinimum);
    // A booster chunk belongs to the engine. A "BOOS" marker found only before it is no booster: nothing may
    // ever be written at a place derived from a booster position that was not found.
    Ship.HasBooster = boosterMarker && Ship.BoosPos > 0;
}

void TForm1::ScanGunMounts() {
    const std::string path = ShipPath();
    // The form's length counts from GunsBase + 8, so the mounts end 8 bytes after this limit: a chunk that
    // starts there has no data, and so no gun, and is no mount.
    const std::int32_t limit =
        ReadLengthWord(path, AddPos(Ship.GunsBase, Layout::kLengthWord)) - Layout::kFirstGunMount;
    Ship.GunMountCount = 0;
    std::int32_t mount = 0;  // from the first mount chunk
    while (mount < limit) {
        const std::int32_t chunk = Layout::kFirstGunMount + mount;
        const std::uint8_t length = ReadByteAt(path, AddPos(Ship.GunsBase, chunk + Layout::kGunMountLengthByte));
        std::int32_t size = length + Layout::kChunkHeaderSize;
        if (size % 2 != 0) ++size;  // the pad byte after odd data
        const std::size_t slot = CheckIndex(Ship.GunMountCount, kMaxGunMounts);
        Ship.GunMountPos[slot] = ToWord(chunk + Layout::kChunkHeaderSize);
        Ship.GunMountCount = ToByte(Ship.GunMountCount + 1);
        mount += size;
    }
}

void TForm1::ScanMissileMounts() {
    const std::string path = ShipPath();
    const std::int32_t formSize =
        ReadLengthWord(path, AddPos(Ship.MissBase, Layout::kLengthWord)) + Layout::kChunkHeaderSize;
    const std::int32_t firstMount =
        ReadLengthWord(path, AddPos(Ship.MissBase, Layout::kMissileInfoLengthWord)) + Layout::kMissileInfoData;
    // The mounts fill the end of the form; whatever is left over at their front belongs to the chunk before.
    const std::int32_t count = (formSize - firstMount) / Layout::kMissileMountSize;
    Ship.MissileMountCount = ToByte(CheckRange(count, 0, kMaxMissileMounts));
    const std::int32_t lastData = formSize - Layout::kChunkHeaderSize;
    for (std::int32_t i = count - 1; i >= 0; --i) {
        Ship.MissileMountPos[CheckIndex(i, kMaxMissileMounts)] =
            ToWord(lastData - Layout::kMissileMountSize * (count - 1 - i));
    }
}

}  // namespace tovarin
