#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "ships/mount_rows.h"
#include "ships/read_ship_values.h"
#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"
#include "ships/ship_rebuild.h"
#include "ui/platform.h"
#include "window/form1.h"

// The "Ships" tab: choosing a ship and loading its file into the boxes, the weapon on each mount, and saving.
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

// A ship without armour shows no armour boxes, as one without shields shows no shield boxes; the names of the
// rows stay where the part the ship has uses them.
void ShowArmour(TForm1& form, FileBytes file) {
    const bool armour = form.Ship.ArmrBase != 0;
    const bool shields = form.Ship.ShieldBase != 0;
    for (TControl* control : std::initializer_list<TControl*>{&form.Edit10, &form.Edit11, &form.Edit12, &form.Edit13,
                                                              &form.Label14, &form.Label18, &form.Label19}) {
        control->SetVisible(armour);
    }
    form.Label17.SetVisible(armour || shields);
    form.Label20.SetVisible(armour || shields);
    if (armour) ShowValues(form, Layout::kArmourValues, file, form.Ship.ArmrBase);
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

// Finds the ship's parts in its file and shows their values; a part the ship lacks is hidden.
void ShowShip(TForm1& form, FileBytes file) {
    ShipState& ship = form.Ship;
    KeepChunks(ship, FindShipChunks(file));

    ShowValue(form, Layout::kMass, file, ship.PhysPos);
    form.CheckBox1.SetChecked(ship.HasSlide);

    KeepMounts(FindGunMounts(file, ship.GunsBase), ship.GunMountPos, ship.GunMountCount);
    if (ship.MissBase != 0) {
        KeepMounts(FindMissileMounts(file, ship.MissBase), ship.MissileMountPos, ship.MissileMountCount);
    } else {
        ship.MissileMountCount = 0;  // the missile tables keep the last ship's values, but this ship has none
    }

    const std::int32_t slideLength = ship.HasSlide ? Layout::kSlideChunkSize : 0;
    ShowValue(form, Layout::kHitpoints, file, AddPos(ship.PhysPos, slideLength));
    ShowValues(form, Layout::kEngineValues, file, ship.EngnBase);
    ShowArmour(form, file);
    ShowShields(form, file);
    ShowGunMounts(form, file);
    ShowValues(form, Layout::kGunPowerValues, file, ship.GunsBase);
    ShowTurrets(form, file);
    ShowMissiles(form, file);
    ShowBooster(form, file);
}

// ---- Saving ---------------------------------------------------------------------------------------------------------

std::int32_t BoxValue(const TForm1& form, const Layout::ValueSlot& slot) {
    return form.CheckedValue(BoxNamed(form, slot.Control));
}

template <std::size_t N>
std::array<std::int32_t, N> BoxValues(const TForm1& form, const std::array<Layout::ValueSlot, N>& slots) {
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
        if (ship.DecyBase != 0) values.Decoys = form.CheckedValue(form.Edit14);
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

// ---- Mounts ---------------------------------------------------------------------------------------------------------

// The clicked entry of a mount list; a click that leaves none selected is refused.
std::size_t ClickedEntry(const TListBox& list) {
    const int index = list.ItemIndex();
    if (index < 0) throw ERangeError();
    return static_cast<std::size_t>(index);
}

// The weapon chosen in a drop-down list, as the type id the ship file stores; none chosen is refused.
std::uint8_t ChosenType(const TComboBox& list) { return ToByte(list.ItemIndex()); }

const std::string& ChosenName(const TComboBox& list) {
    return list.Items()[static_cast<std::size_t>(list.ItemIndex())];
}

// After a change the entry is shown selected again, with the list ready for the keyboard.
void Reselect(TListBox& list, std::size_t index) {
    list.SetItemIndex(static_cast<int>(index));
    list.SetFocus();
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
    // The weapon pickers show the mount chosen in a list; this ship's lists have none chosen yet.
    for (TComboBox* picker : {&ComboBox2, &ComboBox3}) picker->SetItemIndex(-1);
    for (TEdit* amount : {&Edit28, &Edit9}) amount->SetText("0");
    // One read: every value shown comes from the same state of the file.
    ShipBytesAsRead.clear();
    std::vector<std::uint8_t> bytes = OnBytesOf(path, [&] { return ReadWholeFile(path); });
    OnBytesOf(path, [&] { ShowShip(*this, bytes); });
    ShipBytesAsRead = std::move(bytes);
}

// Saving the tab: the boxes, the mount tables and the booster become one new ship file, built and checked
// in memory, which then replaces the ship file in one step. A value that is refused, or a file that would not
// load again, stops the save with nothing on disk changed.
void TForm1::Button2Click() {
    const ChangeRecording step = RecordStep("save of " + ComboBox1.Text());
    const ShipValues values = CollectValues(*this);
    CheckListedWeapons(*this, values);
    const std::string file = "Ships\\" + Ship.ShipFile;
    const std::string path = ShipPath();
    // The check and the write are one step against every other writer of the game folder. A file that another
    // program changed since the load keeps that change: the save would write every box over it.
    const GameFolderLock lock(GameFolder);
    const std::vector<std::uint8_t> now = OnBytesOf(path, [&] { return ReadWholeFile(path); });
    RefuseIfChanged(Editor::Ship, file, now != ShipBytesAsRead);
    const std::vector<std::uint8_t> saved = OnBytesOf(path, [&] { return RebuildShipFile(now, values); });
    // A save that changes no byte writes nothing, so no original is kept for it. A file that was replaced but whose
    // folder did not reach the disk holds the save: the tab shows it, then the warning.
    const auto notFlushed = SavedUnlessFailed([&] {
        if (saved != now) ReplaceWholeFile(path, saved);
    });
    ShowStatus(ComboBox1.Text() + " saved: " + file);
    // The file holds the save now: a reload that fails must not read as a failed save.
    try {
        LoadShipFile();
    } catch (const Exception& error) {
        throw ESavedButNotReadBack(file, error);
    }
    if (notFlushed) throw *notFlushed;
}

// Choosing the weapon on each gun mount, turret and missile mount of the loaded ship. Only the state in memory
// changes; the Ships tab's save writes it to the ship file.
void TForm1::ListBox1Click() {
    const std::size_t entry = ClickedEntry(ListBox1);
    if (entry < Ship.GunMountCount) {
        const std::size_t i = CheckIndex(static_cast<std::int64_t>(entry), kMaxGunMounts);
        ComboBox2.SetItemIndex(GunMountTypes[i]);
        Edit28.SetText(IntToStr(GunMountAmmo[i]));
        return;
    }
    // A turret has no ammunition of its own: the box keeps what it showed.
    const std::size_t k = CheckIndex(static_cast<std::int64_t>(entry - Ship.GunMountCount), kMaxTurrets);
    ComboBox2.SetItemIndex(Ship.TurretGunTypes[k]);
}

// The gun type is stored before the ammunition is read, so a bad ammunition box leaves the mount with its new
// gun and its old ammunition, and the list entry as it was.
void TForm1::Button3Click() {
    const int selected = ListBox1.ItemIndex();
    if (selected < 0) return;
    const auto entry = static_cast<std::size_t>(selected);
    const std::uint8_t gun = ChosenType(ComboBox2);

    if (entry >= Ship.GunMountCount) {
        const std::size_t k = CheckIndex(static_cast<std::int64_t>(entry - Ship.GunMountCount), kMaxTurrets);
        Ship.TurretGunTypes[k] = gun;
        ListBox1.SetItem(selected, TurretRow(ChosenName(ComboBox2)));  // leaves no entry selected
        return;
    }
    const std::size_t i = CheckIndex(selected, kMaxGunMounts);
    GunMountTypes[i] = gun;
    GunMountAmmo[i] = ToWord(CheckedValue(Edit28));
    ListBox1.SetItem(selected, GunMountRow(ChosenName(ComboBox2), gun, GunMountAmmo[i]));
    Reselect(ListBox1, entry);
}

void TForm1::ListBox2Click() {
    const std::size_t i = CheckIndex(static_cast<std::int64_t>(ClickedEntry(ListBox2)), kMaxMissileMounts);
    Edit9.SetText(IntToStr(Ship.MissileMountLoads[i]));
    ComboBox3.SetItemIndex(MissileMountTypes[i]);
}

// As for a gun: the missile type is stored before the number of missiles is read.
void TForm1::Button4Click() {
    const int selected = ListBox2.ItemIndex();
    if (selected < 0) return;
    const std::uint8_t missile = ChosenType(ComboBox3);
    const std::size_t i = CheckIndex(selected, kMaxMissileMounts);
    MissileMountTypes[i] = missile;
    Ship.MissileMountLoads[i] = ToByte(CheckedValue(Edit9));
    ListBox2.SetItem(selected, MissileMountRow(ChosenName(ComboBox3), Ship.MissileMountLoads[i]));
    Reselect(ListBox2, i);
}

}  // namespace tovarin
