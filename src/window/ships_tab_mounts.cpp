#include <cstddef>
#include <string>

#include "window/form1.h"
#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/mount_rows.h"

// Choosing the weapon on each gun mount, turret and missile mount of the loaded ship. Only the state in memory
// changes; the Ships tab's save writes it to the ship file.
namespace tovarin {

namespace {

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
    GunMountAmmo[i] = ToWord(StrToInt(Edit28.Text()));
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
    Ship.MissileMountLoads[i] = ToByte(StrToInt(Edit9.Text()));
    ListBox2.SetItem(selected, MissileMountRow(ChosenName(ComboBox3), Ship.MissileMountLoads[i]));
    Reselect(ListBox2, i);
}

}  // namespace tovarin
