#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "weapons/weapon_fields.h"

// A missile's record in the game's missile table Game\missile.iff, at the position the catalogue's MissData
// section gives for the missile's index. Only the fields below are edited; the bytes between them (base + 40,
// 60..71, 74..75, 84..91, 93..95) belong to the game and are never touched.
namespace tovarin {

inline constexpr const char* kMissileTableFile = "Game\\missile.iff";
inline constexpr const char* kMissDataSection = "MissData";

// The eleven plain values, in the order in which they are read and written. Times are stored in seconds, the
// spoof probability as a fraction. The left "Y/P:" box shows Y (base + 36), the right one P (base + 32).
inline constexpr std::array<FloatField, 11> kMissileFields = {{
    {"Lock Time (ms)", 48, Scale::Milli},
    {"Speed", 20, Scale::One},
    {"Duration (ms)", 24, Scale::Milli},
    {"Range", 28, Scale::One},
    {"Y", 36, Scale::One},
    {"P", 32, Scale::One},
    {"Acceleration", 44, Scale::One},
    {"Damage", 52, Scale::One},
    {"Spin rate", 56, Scale::One},
    {"Refire delay (ms)", 76, Scale::Milli},
    {"Spoof probability", 80, Scale::Centi},
}};

// Splitting up: after how long, into how many sub-missiles (0: the missile does not split), of which missile
// type (an index into the catalogue's Missiles, as the missile lists show them).
inline constexpr FloatField kSplitDelayField = {"Split up after (ms)", 96, Scale::Milli};
inline constexpr std::int32_t kSplitCountOffset = 100;
inline constexpr std::int32_t kSubMissileTypeOffset = 92;

// The flag word: two bytes, low byte first. Bits 12 to 15 have no box; a save writes them as 0.
inline constexpr std::int32_t kFlagWordOffset = 72;

struct MissileFlag {
    std::uint16_t Bit;
    std::string_view Caption;
};

inline constexpr std::array<MissileFlag, 12> kMissileFlags = {{
    {0x800, "damages components"},
    {0x400, "damages turrets"},
    {0x200, "cannot lock on childobjects"},
    {0x100, "target must stay in view cone"},
    {0x080, "attack enemies only"},
    {0x040, "lock on childobjects only"},
    {0x020, "only lock on Corvane"},
    {0x010, "rear firing"},
    {0x008, "use lock range"},
    {0x004, "acquire new target"},
    {0x002, "rear aspect"},
    {0x001, "requires target"},
}};

// The record's bytes from its base: up to the number of sub-missiles.
inline constexpr std::int32_t kMissileRecordSize = kSplitCountOffset + 1;

// A missile's values as the editor shows them. Read: every value, nullopt for a float with no integer to show.
// Written: a float or sub-missile type of nullopt leaves its bytes as they are (a type that names no listed
// missile is kept so); the flag word is written whole.
struct MissileValues {
    std::array<std::optional<std::int32_t>, kMissileFields.size()> Fields;  // in the order of kMissileFields
    std::uint8_t SplitCount = 0;
    std::optional<std::int32_t> SplitDelay;  // ms
    std::optional<std::uint8_t> SubMissileType;
    std::uint16_t Flags = 0;
};

// The record at `base` of the missile table's bytes; "Read beyond end of file" unless the table holds all of it.
[[nodiscard]] MissileValues ReadMissileRecord(std::span<const std::uint8_t> table, std::int32_t base);

// Writes the values into the record at `base`, changing no byte outside its fields. A record the table does not
// hold whole, or a value that could never be shown again, is refused before any byte changes.
void WriteMissileRecord(std::vector<std::uint8_t>& table, std::int32_t base, const MissileValues& values);

// The editor's save: the records (base, values) written into the missile table, which is replaced once; every
// record is checked before the file changes, and a table no byte of which changes is not written. True when
// written.
bool SaveMissileRecords(const std::string& tablePath, std::span<const std::pair<std::int32_t, MissileValues>> records);

}  // namespace tovarin
