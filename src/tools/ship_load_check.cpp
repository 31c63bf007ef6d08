#include "tools/ship_load_check.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/ship_layout.h"
#include "tools/ship_bytes.h"

namespace tovarin {

namespace Layout = ShipLayout;

namespace {

// Where the loader finds each part; a base of 0 is a part the ship lacks.
struct Parts {
    bool Slide = false;
    bool Booster = false;
    std::int32_t Phys = 0, Engn = 0, Guns = 0, Miss = 0, Decy = 0, Shield = 0, Armr = 0, Boos = 0, TurretList = 0;
};

std::int32_t BaseOf(std::int32_t markerPos, std::int32_t markerToBase, std::int32_t minimum) {
    return markerPos - minimum > 0 ? markerPos - markerToBase : 0;
}

Parts LocateParts(const ShipBytes& file) {
    Parts at;
    at.Slide = file.Find(Layout::kSlideMarker, 0) > 0;
    const bool boosterMarker = file.Find(Layout::kBoosterMarker, 0) > 0;
    at.Phys = file.Find(Layout::kPhysicsMarker, 0);
    const std::int32_t engine = file.Find(Layout::kEngineMarker, at.Phys);
    const std::int32_t guns = file.Find(Layout::kGunsMarker, AddPos(engine, -Layout::kSearchBackFromForm));
    const std::int32_t behindGuns = AddPos(guns, -Layout::kSearchBackFromForm);
    const std::int32_t missiles = file.Find(Layout::kMissilesMarker, behindGuns);
    const std::int32_t decoys = file.Find(Layout::kDecoysMarker, behindGuns);
    const std::int32_t shields = file.Find(Layout::kShieldsMarker, behindGuns);
    const std::int32_t armourFrom = shields > 0 ? AddPos(shields, -Layout::kSearchBackFromShields) : behindGuns;
    const std::int32_t armour = file.Find(Layout::kArmourMarker, armourFrom);
    at.Boos = file.Find(Layout::kBoosterMarker, AddPos(engine, -Layout::kSearchBackFromForm));
    at.TurretList = file.Find(Layout::kTurretListMarker, behindGuns);
    at.Engn = BaseOf(engine, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    at.Guns = BaseOf(guns, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    at.Miss = BaseOf(missiles, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    at.Armr = BaseOf(armour, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    at.Decy = BaseOf(decoys, Layout::kDecoysMarkerToBase, Layout::kDecoysMarkerMinimum);
    at.Shield = BaseOf(shields, Layout::kShieldsMarkerToBase, Layout::kShieldsMarkerMinimum);
    at.Booster = boosterMarker && at.Boos > 0;
    return at;
}

// The data offsets of the gun mounts from the GUNS form, walked as the loader walks them.
std::vector<std::int32_t> GunMounts(const ShipBytes& file, std::int32_t gunsBase) {
    const std::int32_t limit = file.Word(AddPos(gunsBase, Layout::kLengthWord), true) - Layout::kFirstGunMount;
    std::vector<std::int32_t> mounts;
    for (std::int32_t mount = 0; mount < limit;) {
        const std::int32_t chunk = Layout::kFirstGunMount + mount;
        std::int32_t size = file.Byte(AddPos(gunsBase, chunk + Layout::kGunMountLengthByte)) + Layout::kChunkHeaderSize;
        if (size % 2 != 0) ++size;
        (void)CheckIndex(static_cast<std::int64_t>(mounts.size()), kMaxGunMounts);
        mounts.push_back(ToWord(chunk + Layout::kChunkHeaderSize));
        mount += size;
    }
    return mounts;
}

// The data offsets of the missile mounts from the MISS form: they fill the form's end.
std::vector<std::int32_t> MissileMounts(const ShipBytes& file, std::int32_t missBase) {
    const std::int32_t formSize = file.Word(AddPos(missBase, Layout::kLengthWord), true) + Layout::kChunkHeaderSize;
    const std::int32_t firstMount =
        file.Word(AddPos(missBase, Layout::kMissileInfoLengthWord), true) + Layout::kMissileInfoData;
    const std::int32_t count = CheckRange((formSize - firstMount) / Layout::kMissileMountSize, 0, kMaxMissileMounts);
    std::vector<std::int32_t> mounts;
    for (std::int32_t i = 0; i < count; ++i) {
        mounts.push_back(ToWord(formSize - Layout::kChunkHeaderSize - Layout::kMissileMountSize * (count - 1 - i)));
    }
    return mounts;
}

template <std::size_t N>
void ShowValues(const ShipBytes& file, const std::array<Layout::ValueSlot, N>& slots, std::int32_t base) {
    for (const Layout::ValueSlot& slot : slots) (void)file.ShownFloat(AddPos(base, slot.Offset));
}

// The loader shows each type by its name in the gun or missile list; a type the list does not hold stops it.
void CheckListed(std::uint8_t type, std::size_t listed) {
    if (type >= listed) throw EStringListError();
}

// Every read of a load, in the loader's order, so that the first failure is the one the load would show.
std::size_t Load(const ShipBytes& file, std::size_t gunTypes, std::size_t missileTypes) {
    const Parts at = LocateParts(file);
    (void)file.ShownFloat(AddPos(at.Phys, Layout::kMass.Offset));
    const std::vector<std::int32_t> guns = GunMounts(file, at.Guns);
    const std::vector<std::int32_t> missiles =
        at.Miss != 0 ? MissileMounts(file, at.Miss) : std::vector<std::int32_t>{};
    const std::int32_t slide = at.Slide ? Layout::kSlideChunkSize : 0;
    (void)file.ShownFloat(AddPos(at.Phys, slide + Layout::kHitpoints.Offset));
    ShowValues(file, Layout::kEngineValues, at.Engn);
    if (at.Armr != 0) ShowValues(file, Layout::kArmourValues, at.Armr);
    if (at.Shield != 0) ShowValues(file, Layout::kShieldValues, at.Shield);
    for (std::int32_t mount : guns) {
        const std::int32_t data = AddPos(at.Guns, mount);
        const std::uint8_t gun = file.Byte(AddPos(data, Layout::kGunMountGun));
        (void)file.Word(AddPos(data, Layout::kGunMountAmmo), false);
        CheckListed(gun, gunTypes);
    }
    ShowValues(file, Layout::kGunPowerValues, at.Guns);
    if (at.TurretList > 0) {
        std::size_t turrets = 0;
        for (std::int32_t turret = file.Find(Layout::kTurretMarker, AddPos(at.Guns, 1)); turret > 0;
             turret = file.Find(Layout::kTurretMarker, AddPos(turret, 1))) {
            (void)CheckIndex(static_cast<std::int64_t>(turrets++), kMaxTurrets);
            CheckListed(file.Byte(AddPos(turret, Layout::kTurretGun)), gunTypes);
        }
    }
    for (std::int32_t mount : missiles) {
        const std::int32_t data = AddPos(at.Miss, mount);
        const std::uint8_t missile = file.Byte(AddPos(data, Layout::kMissileMountMissile));
        (void)file.Byte(AddPos(data, Layout::kMissileMountLoads));
        CheckListed(missile, missileTypes);
    }
    if (at.Miss != 0 && at.Decy != 0) (void)file.Byte(AddPos(at.Decy, Layout::kDecoyCount));
    if (at.Booster) {
        for (const Layout::BoosterSlot& slot : Layout::kBoosterValues) {
            (void)CheckRange(file.ShownFloat(AddPos(at.Boos, slot.Offset)), 0,
                             std::numeric_limits<std::int32_t>::max());
        }
    }
    return guns.size();
}

}  // namespace

ShipLoadCheck CheckShipLoads(std::span<const std::uint8_t> file, std::size_t gunTypes, std::size_t missileTypes) {
    try {
        return {"", Load(ShipBytes(file), gunTypes, missileTypes)};
    } catch (const Exception& error) {
        return {error.Message(), 0};
    }
}

}  // namespace tovarin
