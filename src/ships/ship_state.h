#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tovarin {

inline constexpr int kMaxGunMounts = 16;
inline constexpr int kMaxMissileMounts = 16;
inline constexpr int kMaxTurrets = 16;
inline constexpr int kBoosterValueCount = 12;

// Where the loaded ship's values lie in its file, as found at the last load. Offsets are signed 32-bit file
// offsets; a base of 0 means the ship lacks that part.
struct ShipState {
    std::string ShipFile;  // file name under Ships\, from the catalogue
    std::string ShipKey;   // catalogue key of the ship whose file is edited
    std::int32_t PhysPos = 0;
    std::int32_t EngnBase = 0;
    std::int32_t GunsBase = 0;
    std::uint8_t GunMountCount = 0;
    std::array<std::uint16_t, kMaxGunMounts> GunMountPos{};  // from GunsBase
    std::int32_t MissBase = 0;
    std::uint8_t MissileMountCount = 0;
    std::array<std::uint16_t, kMaxMissileMounts> MissileMountPos{};  // from MissBase
    std::array<std::uint8_t, kMaxMissileMounts> MissileMountLoads{};
    std::int32_t DecyBase = 0;
    std::int32_t ShieldBase = 0;
    std::int32_t ArmrBase = 0;
    bool HasSlide = false;
    bool HasBooster = false;
    std::array<std::int32_t, kBoosterValueCount> BoosterValues{};
    std::int32_t BoosPos = 0;
    std::int32_t TurretListPos = 0;
    std::uint8_t TurretCount = 0;
    std::array<std::uint8_t, kMaxTurrets> TurretGunTypes{};
    std::array<std::int32_t, kMaxTurrets> TurretTypePos{};  // absolute offset of each turret's gun byte
};

}  // namespace tovarin
