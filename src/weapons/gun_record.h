#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "weapons/weapon_fields.h"

// A gun's record in the game's gun table Game\bullet.iff, at the position the catalogue's GunData section gives
// for the gun's index. Every edited field is a float; the four bytes at base + 28 belong to the game and are
// never touched, nor is any byte outside the fields below.
namespace tovarin {

inline constexpr const char* kGunTableFile = "Game\\bullet.iff";
inline constexpr const char* kGunDataSection = "GunData";

// In the order in which they are read and written; the game stores the refire delay in seconds.
inline constexpr std::array<FloatField, 5> kGunFields = {{
    {"Speed", 20, Scale::One},
    {"Range", 24, Scale::One},
    {"Energy", 32, Scale::One},
    {"Damage", 36, Scale::One},
    {"Refire delay (ms)", 40, Scale::Milli},
}};

// The record's bytes from its base: up to the end of the refire delay.
inline constexpr std::int32_t kGunRecordSize = 44;

// A gun's values as the editor shows them, in the order of kGunFields. Read: nullopt for a float with no integer
// to show. Written: nullopt leaves the field as it is.
struct GunValues {
    std::array<std::optional<std::int32_t>, kGunFields.size()> Fields;
};

// The record at `base` of the gun table's bytes; "Read beyond end of file" unless the table holds all of it.
[[nodiscard]] GunValues ReadGunRecord(std::span<const std::uint8_t> table, std::int32_t base);

// Writes the values into the record at `base`, changing no other byte. A record the table does not hold whole,
// or a value that could never be shown again, is refused before any byte changes.
void WriteGunRecord(std::vector<std::uint8_t>& table, std::int32_t base, const GunValues& values);

// The editor's save: the records (base, values) written into the gun table, which is replaced once; every record is
// checked before the file changes, and a table no byte of which changes is not written. True when written.
bool SaveGunRecords(const std::string& tablePath, std::span<const std::pair<std::int32_t, GunValues>> records);

}  // namespace tovarin
