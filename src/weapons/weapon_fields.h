#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/ini_file.h"
#include "gamefiles/numbers.h"
#include "ui/controls.h"

// What the gun and missile editors share: a record's float fields, each shown in one box, located through the
// catalogue's record position of the weapon and edited in the game's table file. A save changes the record in
// the table's bytes and replaces the table once.
namespace tovarin {

class TForm1;

// A float of a weapon record: where it lies from the record's base, how the box scales it, and which box
// shows it. The caption names the field in the program's messages.
struct FloatField {
    std::string_view Caption;
    std::int32_t Offset;
    Scale Scaling;
    TEdit TForm1::*Box;
};

// ---- Records in a table's bytes ------------------------------------------------------------------------------

// Fails with "Read beyond end of file" unless the table holds the `size` bytes of the record at `base`; a record
// whose end lies beyond any file position is "Integer overflow".
void CheckRecordInside(std::span<const std::uint8_t> table, std::int32_t base, std::int32_t size);

// The field's stored value as its box shows it, or nullopt when the float has no integer to show (too large,
// infinite, not a number).
[[nodiscard]] std::optional<std::int32_t> ReadFloatField(std::span<const std::uint8_t> table, std::int32_t base,
                                                         const FloatField& field);

// Stores a value as its box shows it. One that could never be shown again (every later load would fail on it) is
// refused, naming the field; the table is then left as it was.
void WriteFloatField(std::vector<std::uint8_t>& table, std::int32_t base, const FloatField& field, std::int32_t value);

// Reads the table file, lets `write` change records in its bytes, and replaces the file once when any byte
// changed; a refused record leaves the file as it was. True when the file was replaced.
bool ReplaceTableRecords(const std::string& tablePath, const std::function<void(std::vector<std::uint8_t>&)>& write);

// ---- The catalogue's record positions --------------------------------------------------------------------------

// The record position the catalogue section (GunData, MissData) gives under the weapon's index, or nullopt when the
// key is missing, holds no number or names no position inside a file (0 or less: the record would overlay the
// file's header).
[[nodiscard]] std::optional<std::int32_t> CatalogueRecordBase(const TIniFile& catalogue, const std::string& section,
                                                              int index);

// What the player is told about a weapon without a record position.
[[nodiscard]] std::string NoRecordPositionMessage(const std::string& weapon, const std::string& section, int index);

// ---- The editors' boxes ----------------------------------------------------------------------------------------

// Puts each value into its field's box ("" for a value that has no integer to show) and returns the captions of
// the fields left empty.
std::vector<std::string_view> ShowFloatFields(TForm1& form, std::span<const FloatField> fields,
                                              std::span<const std::optional<std::int32_t>> values);

// The boxes' values, in field order; the first box that holds no integer stops it with
// "'%s' is not a valid integer value".
void CollectFloatFields(const TForm1& form, std::span<const FloatField> fields,
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

// The message naming the fields that a load left empty, shown once after the load.
[[nodiscard]] std::string UnshownFieldsMessage(const std::string& weapon,
                                               const std::vector<std::string_view>& captions);

// The item's text, or "" when the index names no item.
[[nodiscard]] std::string ItemName(const TComboBox& list, int index);

}  // namespace tovarin
