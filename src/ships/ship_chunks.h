#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Where the parts of a ship file lie, found in the file's bytes by the loader's own rules: fixed 8-byte markers
// searched from fixed distances, and the mount chunks counted from the forms' lengths. The loader uses these to
// read a ship, and the save uses them to check that the file it is about to write loads again, so both always
// agree on what a loadable ship file is.
namespace tovarin {

// The chunk positions of ShipState (see there). A base of 0 means the ship lacks that part; a marker position
// that was not found is -1.
struct ShipChunks {
    std::int32_t PhysPos = 0;
    std::int32_t EngnBase = 0;
    std::int32_t GunsBase = 0;
    std::int32_t MissBase = 0;
    std::int32_t DecyBase = 0;
    std::int32_t ShieldBase = 0;
    std::int32_t ArmrBase = 0;
    std::int32_t BoosPos = 0;
    std::int32_t TurretListPos = 0;
    bool HasSlide = false;
    bool HasBooster = false;
    bool operator==(const ShipChunks&) const = default;
};

// Everything a load locates: the chunks, each gun mount's data (from GunsBase), each missile mount's data (from
// MissBase) and each turret's gun byte (absolute), in file order.
struct ShipFileLayout {
    ShipChunks Chunks;
    std::vector<std::uint16_t> GunMountPos;
    std::vector<std::uint16_t> MissileMountPos;
    std::vector<std::int32_t> TurretTypePos;
    bool operator==(const ShipFileLayout&) const = default;
};

// The marker searches. A missing physics, engine, guns or shields marker makes a later search start before the
// file and fails with "I/O error 131", as it stops a load.
[[nodiscard]] ShipChunks FindShipChunks(std::span<const std::uint8_t> file);

// The gun mount chunks that follow the GUNS form's power chunk, up to the form's length. More than 16 mounts is
// "Range check error"; a form that ends outside the file is "Read beyond end of file".
[[nodiscard]] std::vector<std::uint16_t> FindGunMounts(std::span<const std::uint8_t> file, std::int32_t gunsBase);

// The 16-byte missile mount chunks at the end of the MISS form. More than 16 mounts (or a negative count) is
// "Range check error".
[[nodiscard]] std::vector<std::uint16_t> FindMissileMounts(std::span<const std::uint8_t> file, std::int32_t missBase);

// Every turret's gun byte, one per "BULL" chunk behind the GUNS form's start, however many there are.
[[nodiscard]] std::vector<std::int32_t> FindTurrets(std::span<const std::uint8_t> file, std::int32_t gunsBase);

// All of the above as a load finds them (missile mounts only with a MISS form, turrets only with a turret list);
// fails as the load would, also with "Range check error" for more than 16 turrets.
[[nodiscard]] ShipFileLayout LocateShipLayout(std::span<const std::uint8_t> file);

}  // namespace tovarin
