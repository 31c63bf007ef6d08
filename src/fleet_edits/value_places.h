#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "profiles/profile_keys.h"

// Where one value of a ship file or a weapon record lies, byte for byte, so that putting a value back to its
// original copies exactly its own bytes from the kept original and no other. A switch (autoslide, booster) is a
// chunk the ship has or lacks, not bytes of a value: it has no place here.
namespace tovarin {

struct ValuePlace {
    std::int32_t Position = 0;
    std::int32_t Width = 0;  // 1, 2 or 4 bytes
    std::uint16_t Bits = 0;  // a flag of a flag word: only these bits are the value's; 0: every bit
    bool operator==(const ValuePlace&) const = default;
};

// The place of the key's value in the ship file as a load finds it; none when the ship lacks the part or mount,
// and for a switch. Fails as a load would on a file it cannot read.
[[nodiscard]] std::optional<ValuePlace> ShipValuePlace(std::span<const std::uint8_t> file, const ProfileKey& key);

// The place of a gun field (in the order of the gun sheet's columns) from its record's base.
[[nodiscard]] ValuePlace GunValuePlace(std::int32_t base, std::size_t field);
// The place of a missile field (in the order of the missile sheet's columns) from its record's base.
[[nodiscard]] ValuePlace MissileValuePlace(std::int32_t base, std::size_t field);

// `to` with the value's bytes at `toPlace` taken from `from` at `fromPlace` (two places of the same value).
// Throws "Read beyond end of file" for a place either file does not hold.
void CopyValueBytes(std::vector<std::uint8_t>& to, const ValuePlace& toPlace, std::span<const std::uint8_t> from,
                    const ValuePlace& fromPlace);

// True when the value's bytes at the two places are the same (only its own bits of a flag word count). Throws as
// CopyValueBytes does.
[[nodiscard]] bool SameValueBytes(std::span<const std::uint8_t> one, const ValuePlace& onePlace,
                                  std::span<const std::uint8_t> other, const ValuePlace& otherPlace);

}  // namespace tovarin
