#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "demo/game_folder.h"

// The game's gun and missile tables as the editors see them: records at positions the catalogue names, in a
// file whose other bytes the editors must never touch.
namespace tovarin::demo {

// One gun record's fields, as stored (times in seconds).
struct GunRecord {
    float Speed = 0;          // base + 20
    float Range = 0;          // base + 24
    float Untouched = 0;      // base + 28, never edited
    float Energy = 0;         // base + 32
    float Damage = 0;         // base + 36
    float RefireSeconds = 0;  // base + 40
};

// One missile record's fields, as stored (times in seconds, the spoof probability as a fraction).
struct MissileRecord {
    float Speed = 0;                  // base + 20
    float DurationSeconds = 0;        // base + 24
    float Range = 0;                  // base + 28
    float P = 0;                      // base + 32
    float Y = 0;                      // base + 36
    float Acceleration = 0;           // base + 44
    float LockSeconds = 0;            // base + 48
    float Damage = 0;                 // base + 52
    float SpinRate = 0;               // base + 56
    std::uint16_t Flags = 0;          // base + 72, little-endian
    float RefireSeconds = 0;          // base + 76
    float SpoofFraction = 0;          // base + 80
    std::uint8_t SubMissileType = 0;  // base + 92
    float SplitSeconds = 0;           // base + 96
    std::uint8_t SplitCount = 0;      // base + 100
};

inline constexpr int kGunRecordSize = 44;
inline constexpr int kMissileRecordSize = 101;

// A table file of `fileSize` bytes: a recognisable filler pattern everywhere, each record written at its base.
[[nodiscard]] Bytes GunTable(const std::vector<std::pair<std::int32_t, GunRecord>>& records, std::size_t fileSize);
[[nodiscard]] Bytes MissileTable(const std::vector<std::pair<std::int32_t, MissileRecord>>& records,
                                 std::size_t fileSize);

}  // namespace tovarin::demo
