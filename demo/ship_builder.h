#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/bytes.h"

// Ship files as the game holds them, built from their parts: a chunk tree with every length right, in which each
// value the editor handles can be set and every optional part can be left out.
//
//   FORM "SHIP"
//     PHYS (mass)  [SLID (autoslide)]  HULL (hitpoints first)  [BOOS, misplaced before the engine]
//     FORM "SYST"
//       FORM "ENGN"  POWR (flight values)  [BOOS (booster)]
//       FORM "GUNS"  POWR (gun power)  one chunk per gun mount
//       [FORM "MISS"  POWR  MSLT (info)  one 16-byte MSSL chunk per missile mount]
//       [DECY (decoy count)]
//       [FORM "FSHD" (length 78)  POWR (recharge)  SHLD (front, aft)]
//       [FORM "ARMR"  DATA (front, aft, left, right)]
//       [FORM "TLST"  one FORM "TURT" per turret, each with a BULL chunk (gun index)]
namespace tovarin::demo {

// The flight values of the engine's power chunk. The file holds Y/P/R as P, Y, R.
struct ShipEngine {
    float SpeedMin = 110;
    float SpeedStd = 420;
    float SpeedMax = 560;
    float Acceleration = 95;
    float AfterburnerSpeed = 1250;
    float AfterburnerAcceleration = 310;
    float AfterburnerFuel = 45;
    float P = 71;
    float Y = 73;
    float R = 97;
    float YprRate = 35;
};

// The booster chunk's twelve values, in the editor's index order, and the one float it never touches.
struct ShipBooster {
    std::array<float, 12> Values{350, 870, 40, 30, 90, 20, 65, 55, 120, 110, 3000, 18};
    float Unread = 9000;
};

struct ShipGunPower {
    float Energy = 240;
    float RechargeMin = 8;
    float RechargeStd = 12;
    float RechargeMax = 16;
};

// One gun mount chunk: data byte 0 the gun index, bytes 4..5 the ammunition, from byte 8 the NUL-terminated
// name. A name of even length gives odd data and a pad byte.
struct ShipGunMount {
    std::uint8_t Gun = 0;
    std::uint16_t Ammo = 0;
    std::string Name = "gun_nose";
    std::string Tag = "HARD";
};

// One 16-byte missile mount: the missile index and the count, which the game reads as a 16-bit word.
struct ShipMissileMount {
    std::uint8_t Missile = 0;
    std::uint8_t Loads = 4;
    std::uint8_t LoadsHigh = 0;
};

struct ShipMissiles {
    std::vector<ShipMissileMount> Mounts;
    // Data length of the MSLT chunk that stands before the mounts (its header is at MissBase + 56).
    std::uint16_t InfoLength = 8;
};

struct ShipShields {
    float Front = 180;
    float Aft = 170;
    float RechargeMin = 5;
    float RechargeStd = 7;
    float RechargeMax = 9;
};

struct ShipArmour {
    float Front = 130;
    float Right = 115;
    float Left = 114;
    float Aft = 120;
};

struct ShipTurrets {
    std::vector<std::uint8_t> Guns;
    // Without the list's "TLST" form type the BULL chunks are there but no turret list is.
    bool ListMarker = true;
};

// A whole ship. The defaults give a minimal ship (no optional part) with a distinct value in every field.
struct ShipPlan {
    float Mass = 12500;
    float Hitpoints = 450;
    bool Slide = false;
    std::uint8_t SlideValue = 1;
    ShipEngine Engine;
    std::optional<ShipBooster> Booster;
    // A booster chunk in front of the engine, where the game never reads one.
    bool MisplacedBooster = false;
    ShipGunPower GunPower;
    std::vector<ShipGunMount> GunMounts{ShipGunMount{}};
    std::optional<ShipMissiles> Missiles;
    std::optional<std::uint8_t> Decoys;
    std::optional<ShipShields> Shields;
    std::optional<ShipArmour> Armour;
    std::optional<ShipTurrets> Turrets;
};

// Where the parts landed, as the editor's ShipState should find them: bases are form (or chunk) offsets and 0
// for a missing part; positions of markers that are missing are -1.
struct ShipOffsets {
    std::int32_t PhysPos = 0;
    std::int32_t SlidePos = -1;
    std::int32_t Hitpoints = 0;      // absolute offset of the hitpoints float
    std::int32_t EngnContainer = 0;  // the form whose first child is the ENGN form
    std::int32_t EngnBase = 0;
    std::int32_t BoosPos = -1;
    std::int32_t GunsBase = 0;
    std::vector<std::int32_t> GunMountPos;    // each mount's data, from GunsBase
    std::vector<std::int32_t> GunMountSizes;  // each mount's chunk with its pad byte
    std::int32_t MissBase = 0;
    std::vector<std::int32_t> MissileMountPos;  // each mount's data, from MissBase
    std::int32_t DecyBase = 0;                  // one byte before the DECY chunk
    std::int32_t ShieldBase = 0;
    std::int32_t ArmrBase = 0;
    std::int32_t TurretListPos = -1;          // the "TLSTFORM" marker
    std::vector<std::int32_t> TurretTypePos;  // absolute offset of each turret's gun byte
    std::int32_t FileSize = 0;
};

struct BuiltShip {
    Bytes File;
    ShipOffsets Offsets;
};

[[nodiscard]] BuiltShip BuildShip(const ShipPlan& plan);

// Gun mount names, for ships that need many mounts: "gun_1", "gun_2", ...
[[nodiscard]] std::vector<ShipGunMount> NumberedGunMounts(int count, std::uint8_t gun = 0);

}  // namespace tovarin::demo
