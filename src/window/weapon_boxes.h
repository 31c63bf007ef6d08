#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"
#include "window/form1.h"

// The boxes of the Guns and Missiles tabs that show a weapon record's fields, and what both tabs do with them.
namespace tovarin {

using FieldBox = TEdit TForm1::*;

// The box of each gun field, in the order of kGunFields.
inline constexpr std::array<FieldBox, kGunFields.size()> kGunBoxes{
    &TForm1::Edit30,  // speed
    &TForm1::Edit31,  // range
    &TForm1::Edit32,  // energy
    &TForm1::Edit33,  // damage
    &TForm1::Edit34,  // refire delay (ms)
};

// The box of each plain missile field, in the order of kMissileFields. The left "Y/P:" box shows Y, the right one P.
inline constexpr std::array<FieldBox, kMissileFields.size()> kMissileBoxes{
    &TForm1::Edit42,  // lock time (ms)
    &TForm1::Edit37,  // speed
    &TForm1::Edit38,  // duration (ms)
    &TForm1::Edit39,  // range
    &TForm1::Edit36,  // Y
    &TForm1::Edit35,  // P
    &TForm1::Edit40,  // acceleration
    &TForm1::Edit41,  // damage
    &TForm1::Edit46,  // spin rate
    &TForm1::Edit43,  // refire delay (ms)
    &TForm1::Edit47,  // spoof probability (%)
};

inline constexpr FieldBox kSplitDelayBox = &TForm1::Edit48;

// The check box of each missile flag, in the order of kMissileFlags.
inline constexpr std::array<TCheckBox TForm1::*, kMissileFlags.size()> kMissileFlagBoxes{
    &TForm1::Flag1, &TForm1::Flag2, &TForm1::Flag3, &TForm1::Flag4,  &TForm1::Flag5,  &TForm1::Flag6,
    &TForm1::Flag7, &TForm1::Flag8, &TForm1::Flag9, &TForm1::Flag10, &TForm1::Flag11, &TForm1::Flag12,
};

// Puts each value into its field's box ("" for a value that has no integer to show) and returns the captions of
// the fields left empty.
std::vector<std::string_view> ShowFloatFields(TForm1& form, std::span<const FloatField> fields,
                                              std::span<const FieldBox> boxes,
                                              std::span<const std::optional<std::int32_t>> values);

// The boxes' values, in field order; the first box whose field cannot hold its text stops it, naming the box.
void CollectFloatFields(const TForm1& form, std::span<const FieldBox> boxes,
                        std::span<std::optional<std::int32_t>> values);

// The position of the record of the weapon with this index of the list in its table file, from the catalogue
// section (GunData, MissData) under the index. When the key is missing, holds no number or names no position
// inside a file (0 or less: the record would overlay the file's header), the player is told that the weapon
// cannot be edited and the result is nullopt.
[[nodiscard]] std::optional<std::int32_t> FindRecordBase(TForm1& form, const TComboBox& list, int index,
                                                         const std::string& section);

// The record base of the weapon selected in `list`, for a save of its `recordSize` bytes; nullopt when the save is
// refused with a message: no weapon selected, or none whose record position is known, or one whose record was
// not loaded whole (`loaded` is the index of the weapon the boxes show, -1 for none), since the boxes would then
// hold another weapon's values. `weapon` names the kind in the messages ("gun").
[[nodiscard]] std::optional<std::int32_t> RecordBaseToSave(TForm1& form, const TComboBox& list,
                                                           const std::string& section, int loaded,
                                                           std::int32_t recordSize, const std::string& weapon);

// The `size` bytes of the record at `base` in a weapon table, as many of them as the table holds.
[[nodiscard]] std::vector<std::uint8_t> RecordBytes(std::span<const std::uint8_t> table, std::int32_t base,
                                                    std::int32_t size);

// The same from the table file `file` ("Game\\bullet.iff") as it is now.
[[nodiscard]] std::vector<std::uint8_t> RecordBytesNow(const TForm1& form, const std::string& file, std::int32_t base,
                                                       std::int32_t size);

// The message naming the fields that a load left empty, shown once after the load.
[[nodiscard]] std::string UnshownFieldsMessage(const std::string& weapon,
                                               const std::vector<std::string_view>& captions);

// The item's text, or "" when the index names no item.
[[nodiscard]] std::string ItemName(const TComboBox& list, int index);

}  // namespace tovarin
