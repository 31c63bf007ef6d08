#include "ships/read_ship_values.h"

#include <limits>

#include "gamefiles/file_primitives.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"

namespace tovarin {

namespace Layout = ShipLayout;

namespace {

using FileBytes = std::span<const std::uint8_t>;

template <std::size_t N>
std::array<std::int32_t, N> Floats(FileBytes file, const std::array<Layout::ValueSlot, N>& slots, std::int32_t base) {
    std::array<std::int32_t, N> values{};
    for (std::size_t i = 0; i < N; ++i) values[i] = ReadShownFloat(file, AddPos(base, slots[i].Offset));
    return values;
}

void ReadMounts(FileBytes file, const ShipFileLayout& layout, ShipValues& values) {
    const ShipChunks& chunks = layout.Chunks;
    for (std::uint16_t position : layout.GunMountPos) {
        values.GunMounts.push_back(ReadGunMount(file, AddPos(chunks.GunsBase, position)));
    }
    for (std::int32_t gunByte : layout.TurretTypePos) values.TurretGuns.push_back(ReadByteIn(file, gunByte));
    if (chunks.MissBase == 0) return;
    for (std::uint16_t position : layout.MissileMountPos) {
        values.MissileMounts.push_back(ReadMissileMount(file, AddPos(chunks.MissBase, position)));
    }
    if (chunks.DecyBase != 0) values.Decoys = ReadByteIn(file, AddPos(chunks.DecyBase, Layout::kDecoyCount));
}

}  // namespace

std::int32_t ReadShownFloat(FileBytes file, std::int32_t position) { return DisplayValue(ReadFloatIn(file, position)); }

GunMountValues ReadGunMount(FileBytes file, std::int32_t data) {
    const auto ammo = ReadTwoBytesIn(file, AddPos(data, Layout::kGunMountAmmo));
    return {ReadByteIn(file, AddPos(data, Layout::kGunMountGun)), MakeWord(ammo[0], ammo[1])};
}

MissileMountValues ReadMissileMount(FileBytes file, std::int32_t data) {
    return {ReadByteIn(file, AddPos(data, Layout::kMissileMountMissile)),
            ReadByteIn(file, AddPos(data, Layout::kMissileMountLoads))};
}

std::array<std::int32_t, kBoosterValueCount> ReadBoosterValues(FileBytes file, std::int32_t boosPos) {
    std::array<std::int32_t, kBoosterValueCount> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = CheckRange(ReadShownFloat(file, AddPos(boosPos, Layout::kBoosterValues[i].Offset)), 0,
                               std::numeric_limits<std::int32_t>::max());
    }
    return values;
}

ShipValues ReadShipValues(FileBytes file) {
    const ShipFileLayout layout = LocateShipLayout(file);
    const ShipChunks& chunks = layout.Chunks;
    ShipValues values;
    values.Mass = ReadShownFloat(file, AddPos(chunks.PhysPos, Layout::kMass.Offset));
    const std::int32_t slideLength = chunks.HasSlide ? Layout::kSlideChunkSize : 0;
    values.Hitpoints = ReadShownFloat(file, AddPos(AddPos(chunks.PhysPos, slideLength), Layout::kHitpoints.Offset));
    values.Engine = Floats(file, Layout::kEngineValues, chunks.EngnBase);
    if (chunks.ArmrBase != 0) values.Armour = Floats(file, Layout::kArmourValues, chunks.ArmrBase);
    if (chunks.ShieldBase != 0) values.Shields = Floats(file, Layout::kShieldValues, chunks.ShieldBase);
    values.GunPower = Floats(file, Layout::kGunPowerValues, chunks.GunsBase);
    ReadMounts(file, layout, values);
    values.Autoslide = chunks.HasSlide;
    if (chunks.HasBooster) values.Booster = ReadBoosterValues(file, chunks.BoosPos);
    return values;
}

}  // namespace tovarin
