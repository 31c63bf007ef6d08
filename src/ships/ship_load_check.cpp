#include "ships/ship_load_check.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/ship_bytes.h"
#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"

namespace tovarin {

namespace Layout = ShipLayout;

namespace {

template <std::size_t N>
void ShowValues(const ShipBytes& file, const std::array<Layout::ValueSlot, N>& slots, std::int32_t base) {
    for (const Layout::ValueSlot& slot : slots) (void)file.ShownFloat(AddPos(base, slot.Offset));
}

// The loader shows each type by its name in the gun or missile list; a type the list does not hold stops it.
void CheckListed(std::uint8_t type, std::size_t listed) {
    if (type >= listed) throw EStringListError();
}

// Every read of a load, after the loader's own search for the parts and mounts, in the loader's order.
std::size_t Load(std::span<const std::uint8_t> bytes, std::size_t gunTypes, std::size_t missileTypes) {
    const ShipBytes file(bytes);
    const ShipFileLayout layout = LocateShipLayout(bytes);
    const ShipChunks& at = layout.Chunks;
    (void)file.ShownFloat(AddPos(at.PhysPos, Layout::kMass.Offset));
    const std::int32_t slide = at.HasSlide ? Layout::kSlideChunkSize : 0;
    (void)file.ShownFloat(AddPos(at.PhysPos, slide + Layout::kHitpoints.Offset));
    ShowValues(file, Layout::kEngineValues, at.EngnBase);
    if (at.ArmrBase != 0) ShowValues(file, Layout::kArmourValues, at.ArmrBase);
    if (at.ShieldBase != 0) ShowValues(file, Layout::kShieldValues, at.ShieldBase);
    for (std::uint16_t mount : layout.GunMountPos) {
        const std::int32_t data = AddPos(at.GunsBase, mount);
        const std::uint8_t gun = file.Byte(AddPos(data, Layout::kGunMountGun));
        (void)file.Word(AddPos(data, Layout::kGunMountAmmo), false);
        CheckListed(gun, gunTypes);
    }
    ShowValues(file, Layout::kGunPowerValues, at.GunsBase);
    for (std::int32_t gunByte : layout.TurretTypePos) CheckListed(file.Byte(gunByte), gunTypes);
    for (std::uint16_t mount : layout.MissileMountPos) {
        const std::int32_t data = AddPos(at.MissBase, mount);
        const std::uint8_t missile = file.Byte(AddPos(data, Layout::kMissileMountMissile));
        (void)file.Byte(AddPos(data, Layout::kMissileMountLoads));
        CheckListed(missile, missileTypes);
    }
    if (at.MissBase != 0 && at.DecyBase != 0) (void)file.Byte(AddPos(at.DecyBase, Layout::kDecoyCount));
    if (at.HasBooster) {
        for (const Layout::BoosterSlot& slot : Layout::kBoosterValues) {
            (void)CheckRange(file.ShownFloat(AddPos(at.BoosPos, slot.Offset)), 0,
                             std::numeric_limits<std::int32_t>::max());
        }
    }
    return layout.GunMountPos.size();
}

}  // namespace

ShipLoadCheck CheckShipLoads(std::span<const std::uint8_t> file, std::size_t gunTypes, std::size_t missileTypes) {
    try {
        return {"", Load(file, gunTypes, missileTypes)};
    } catch (const Exception& error) {
        return {error.Message(), 0};
    }
}

}  // namespace tovarin
