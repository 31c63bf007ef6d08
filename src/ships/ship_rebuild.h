#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ships/ship_layout.h"

// A saved ship file, built whole in memory from the file as it stands and the values to write, so that the file
// on disk is replaced once, with a complete file that is known to load again.
namespace tovarin {

struct GunMountValues {
    std::uint8_t Gun = 0;    // index into the catalogue's guns
    std::uint16_t Ammo = 0;  // rounds; the game uses them for gun 11 only
};

struct MissileMountValues {
    std::uint8_t Missile = 0;  // index into the catalogue's missiles
    std::uint8_t Loads = 0;    // missiles carried
};

// Every value a save writes into a ship file. Floats are given as the whole numbers a player enters; arrays are
// in the order of their ShipLayout tables. A part the ship lacks is left out (armour, shields, decoys), and a
// part that is left out keeps its bytes. The mount lists hold one entry per mount of the file, in file order.
struct ShipValues {
    std::int32_t Mass = 0;
    std::int32_t Hitpoints = 0;
    std::array<std::int32_t, ShipLayout::kEngineValues.size()> Engine{};
    std::optional<std::array<std::int32_t, ShipLayout::kArmourValues.size()>> Armour;
    std::optional<std::array<std::int32_t, ShipLayout::kShieldValues.size()>> Shields;
    std::array<std::int32_t, ShipLayout::kGunPowerValues.size()> GunPower{};
    std::vector<GunMountValues> GunMounts;
    std::vector<std::uint8_t> TurretGuns;
    std::vector<MissileMountValues> MissileMounts;
    std::optional<std::int32_t> Decoys;  // 0..255, for a ship with missiles and a DECY chunk
    bool Autoslide = false;              // the SLID chunk follows the PHYS chunk
    // With a value, the ship has a booster chunk holding these values (0..2147483647 each); without, it has none.
    std::optional<std::array<std::int32_t, kBoosterValueCount>> Booster;
};

// The bytes of `file` saved with `values`: the slide chunk after the PHYS chunk exactly when autoslide is on, the
// booster chunk before the GUNS form exactly when there is a booster (inserted with its defaults, then given the
// values), the lengths of the forms around them adjusted, and every value at its place; every other byte kept.
//
// Refuses, naming the problem, a value that could never be shown again or does not fit its field, values that do
// not fit the file (other mounts or parts than it holds), a slide or booster chunk that is not where it can be
// taken out, a length that would leave 16 bits, and a result that would not load again with every value where it
// was written (which chunks that overlap can cause). `file` itself is never changed.
[[nodiscard]] std::vector<std::uint8_t> RebuildShipFile(std::span<const std::uint8_t> file, const ShipValues& values);

// The bytes of `file` with only the values that differ from what the file shows written, for a change told value
// by value: a value equal to the one shown keeps its stored bytes (a float that is not a whole number, the byte
// after a missile mount's count), and the SLID chunk stays as it is unless autoslide is switched. The chunks are
// added and dropped, and values refused, as RebuildShipFile does; every byte no changed value owns stays, moved
// with the chunks around it.
[[nodiscard]] std::vector<std::uint8_t> ChangeShipFile(std::span<const std::uint8_t> file, const ShipValues& values);

}  // namespace tovarin
