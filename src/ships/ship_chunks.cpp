#include "ships/ship_chunks.h"

#include "gamefiles/file_primitives.h"
#include "gamefiles/narrowing.h"
#include "ships/ship_layout.h"

namespace tovarin {

namespace Layout = ShipLayout;

namespace {

// The low half of a chunk length: two bytes, high byte first.
std::int32_t LengthWordAt(std::span<const std::uint8_t> file, std::int32_t position) {
    const auto bytes = ReadTwoBytesIn(file, position);
    return MakeWord(bytes[1], bytes[0]);
}

// Where a part starts, from the offset of its marker: 0 (absent) when the marker was not found or lies in the
// file's header.
std::int32_t BaseOf(std::int32_t markerPos, std::int32_t markerToBase, std::int32_t minimum) {
    return markerPos - minimum > 0 ? markerPos - markerToBase : 0;
}

}  // namespace

ShipChunks FindShipChunks(std::span<const std::uint8_t> file) {
    ShipChunks chunks;
    chunks.HasSlide = FindMarkerIn(file, Layout::kSlideMarker, 0) > 0;
    const bool boosterMarker = FindMarkerIn(file, Layout::kBoosterMarker, 0) > 0;
    chunks.PhysPos = FindMarkerIn(file, Layout::kPhysicsMarker, 0);

    const std::int32_t engine = FindMarkerIn(file, Layout::kEngineMarker, chunks.PhysPos);
    const std::int32_t guns = FindMarkerIn(file, Layout::kGunsMarker, AddPos(engine, -Layout::kSearchBackFromForm));
    const std::int32_t behindGuns = AddPos(guns, -Layout::kSearchBackFromForm);
    const std::int32_t missiles = FindMarkerIn(file, Layout::kMissilesMarker, behindGuns);
    const std::int32_t decoys = FindMarkerIn(file, Layout::kDecoysMarker, behindGuns);
    const std::int32_t shields = FindMarkerIn(file, Layout::kShieldsMarker, behindGuns);
    // The armour lies behind the shields; a ship without shields has it behind the guns like every other part.
    const std::int32_t armourFrom = shields > 0 ? AddPos(shields, -Layout::kSearchBackFromShields) : behindGuns;
    const std::int32_t armour = FindMarkerIn(file, Layout::kArmourMarker, armourFrom);
    chunks.BoosPos = FindMarkerIn(file, Layout::kBoosterMarker, AddPos(engine, -Layout::kSearchBackFromForm));
    chunks.TurretListPos = FindMarkerIn(file, Layout::kTurretListMarker, behindGuns);

    chunks.EngnBase = BaseOf(engine, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    chunks.GunsBase = BaseOf(guns, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    chunks.MissBase = BaseOf(missiles, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    chunks.ArmrBase = BaseOf(armour, Layout::kFormMarkerToBase, Layout::kFormMarkerMinimum);
    chunks.DecyBase = BaseOf(decoys, Layout::kDecoysMarkerToBase, Layout::kDecoysMarkerMinimum);
    chunks.ShieldBase = BaseOf(shields, Layout::kShieldsMarkerToBase, Layout::kShieldsMarkerMinimum);
    // A booster chunk belongs to the engine. A "BOOS" marker found only before it is no booster: nothing may
    // ever be written at a place derived from a booster position that was not found.
    chunks.HasBooster = boosterMarker && chunks.BoosPos > 0;
    return chunks;
}

std::vector<std::uint16_t> FindGunMounts(std::span<const std::uint8_t> file, std::int32_t gunsBase) {
    // The form's length counts from GunsBase + 8, so the mounts end 8 bytes after this limit: a chunk that
    // starts there has no data, and so no gun, and is no mount.
    const std::int32_t limit = LengthWordAt(file, AddPos(gunsBase, Layout::kLengthWord)) - Layout::kFirstGunMount;
    std::vector<std::uint16_t> mounts;
    std::int32_t mount = 0;  // from the first mount chunk
    while (mount < limit) {
        const std::int32_t chunk = Layout::kFirstGunMount + mount;
        const std::uint8_t length = ReadByteIn(file, AddPos(gunsBase, chunk + Layout::kGunMountLengthByte));
        std::int32_t size = length + Layout::kChunkHeaderSize;
        if (size % 2 != 0) ++size;  // the pad byte after odd data
        (void)CheckIndex(static_cast<std::int64_t>(mounts.size()), kMaxGunMounts);
        mounts.push_back(ToWord(chunk + Layout::kChunkHeaderSize));
        mount += size;
    }
    return mounts;
}

std::vector<std::uint16_t> FindMissileMounts(std::span<const std::uint8_t> file, std::int32_t missBase) {
    const std::int32_t formSize = LengthWordAt(file, AddPos(missBase, Layout::kLengthWord)) + Layout::kChunkHeaderSize;
    const std::int32_t firstMount =
        LengthWordAt(file, AddPos(missBase, Layout::kMissileInfoLengthWord)) + Layout::kMissileInfoData;
    // The mounts fill the end of the form; whatever is left over at their front belongs to the chunk before.
    const std::int32_t count = CheckRange((formSize - firstMount) / Layout::kMissileMountSize, 0, kMaxMissileMounts);
    const std::int32_t lastData = formSize - Layout::kChunkHeaderSize;
    std::vector<std::uint16_t> mounts;
    for (std::int32_t i = 0; i < count; ++i) {
        mounts.push_back(ToWord(lastData - Layout::kMissileMountSize * (count - 1 - i)));
    }
    return mounts;
}

std::vector<std::int32_t> FindTurrets(std::span<const std::uint8_t> file, std::int32_t gunsBase) {
    std::vector<std::int32_t> turrets;
    for (std::int32_t turret = FindMarkerIn(file, Layout::kTurretMarker, AddPos(gunsBase, 1)); turret > 0;
         turret = FindMarkerIn(file, Layout::kTurretMarker, AddPos(turret, 1))) {
        turrets.push_back(AddPos(turret, Layout::kTurretGun));
    }
    return turrets;
}

ShipFileLayout LocateShipLayout(std::span<const std::uint8_t> file) {
    ShipFileLayout layout;
    layout.Chunks = FindShipChunks(file);
    layout.GunMountPos = FindGunMounts(file, layout.Chunks.GunsBase);
    if (layout.Chunks.MissBase != 0) layout.MissileMountPos = FindMissileMounts(file, layout.Chunks.MissBase);
    if (layout.Chunks.TurretListPos > 0) {
        layout.TurretTypePos = FindTurrets(file, layout.Chunks.GunsBase);
        (void)CheckRange(static_cast<std::int64_t>(layout.TurretTypePos.size()), 0, kMaxTurrets);
    }
    return layout;
}

}  // namespace tovarin
