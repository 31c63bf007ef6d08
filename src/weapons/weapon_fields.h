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

// What the gun and missile records share: a record's float fields, located through the catalogue's record
// position of the weapon and edited in the game's table file. A save changes the record in
// the table's bytes and replaces the table once.
namespace tovarin {

// A float of a weapon record: where it lies from the record's base and how a box or a sheet scales it. The caption
// names the field in the program's messages.
struct FloatField {
    std::string_view Caption;
    std::int32_t Offset;
    Scale Scaling;
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

}  // namespace tovarin
