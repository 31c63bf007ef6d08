#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "gamefiles/file_primitives.h"
#include "ships/ship_state.h"

// The layout of a ship file, in one place. The editor never walks the file's chunk tree: it finds fixed 8-byte
// markers (a chunk tag and the next four bytes) and reads values at fixed distances from them. Every distance
// below is counted from the base that the loader keeps in ShipState. Chunk lengths are big-endian and only
// their low 16 bits are used; floats are little-endian single precision.
namespace tovarin::ShipLayout {

// ---- Markers ---------------------------------------------------------------------------------------------------

[[nodiscard]] constexpr Marker MakeMarker(std::string_view tag, std::uint8_t b4, std::uint8_t b5, std::uint8_t b6,
                                          std::uint8_t b7) {
    return {static_cast<std::uint8_t>(tag[0]),
            static_cast<std::uint8_t>(tag[1]),
            static_cast<std::uint8_t>(tag[2]),
            static_cast<std::uint8_t>(tag[3]),
            b4,
            b5,
            b6,
            b7};
}
[[nodiscard]] constexpr Marker MakeMarker(std::string_view eightChars) {
    return MakeMarker(eightChars.substr(0, 4), static_cast<std::uint8_t>(eightChars[4]),
                      static_cast<std::uint8_t>(eightChars[5]), static_cast<std::uint8_t>(eightChars[6]),
                      static_cast<std::uint8_t>(eightChars[7]));
}

inline constexpr Marker kSlideMarker = MakeMarker("SLID", 0, 0, 0, 4);
inline constexpr Marker kBoosterMarker = MakeMarker("BOOS", 0, 0, 0, 0x69);
inline constexpr Marker kPhysicsMarker = MakeMarker("PHYS", 0, 0, 0, 4);
inline constexpr Marker kEngineMarker = MakeMarker("ENGNPOWR");
inline constexpr Marker kGunsMarker = MakeMarker("GUNSPOWR");
inline constexpr Marker kMissilesMarker = MakeMarker("MISSPOWR");
inline constexpr Marker kDecoysMarker = MakeMarker("DECY", 0, 0, 0, 4);
// The shield form's length is always 78 ('N'), so its low byte, the form type "FSHD" and the start of its
// power chunk make a marker that cannot be confused with anything else.
inline constexpr Marker kShieldsMarker = MakeMarker("NFSHDPOW");
inline constexpr Marker kArmourMarker = MakeMarker("ARMRDATA");
inline constexpr Marker kTurretListMarker = MakeMarker("TLSTFORM");
inline constexpr Marker kTurretMarker = MakeMarker("BULL", 0, 0, 0, 4);

// ---- From a marker's offset to its base ---------------------------------------------------------------------

// The engine, guns and missiles markers begin with the form's type, 8 bytes after its "FORM" tag; so does
// "ARMRDATA".
inline constexpr std::int32_t kFormMarkerToBase = 8;
// "DECY" 00 00 00 04: the base stands one byte before the chunk, so the count is base + 9.
inline constexpr std::int32_t kDecoysMarkerToBase = 1;
// "NFSHDPOW" starts at the last byte of the shield form's length.
inline constexpr std::int32_t kShieldsMarkerToBase = 7;

// A marker this close to the start of the file lies in the file's header and counts as absent (base 0).
inline constexpr std::int32_t kFormMarkerMinimum = 20;
inline constexpr std::int32_t kDecoysMarkerMinimum = 13;
inline constexpr std::int32_t kShieldsMarkerMinimum = 19;

// Searches for the parts behind a form start this far before that form's marker.
inline constexpr std::int32_t kSearchBackFromForm = 20;
inline constexpr std::int32_t kSearchBackFromShields = 19;

// ---- Lengths -----------------------------------------------------------------------------------------------------

// The low half of the top-level form's length.
inline constexpr std::int32_t kFileLengthWord = 6;
// The low half of any form's or chunk's length, from the form's or chunk's start.
inline constexpr std::int32_t kLengthWord = 6;
inline constexpr std::int32_t kChunkHeaderSize = 8;

// ---- Values ------------------------------------------------------------------------------------------------------

// A float shown in an edit box of the Ships tab: its distance from the part's base, the box's name, and the
// value's name as the tab labels it, for messages that refuse a value.
struct ValueSlot {
    std::int32_t Offset;
    std::string_view Control;
    std::string_view Title;
};

// Physics, from PhysPos.
inline constexpr ValueSlot kMass{8, "Edit29", "Mass"};
// The hitpoints chunk follows the PHYS chunk; with autoslide the SLID chunk stands between them, and the
// hitpoints lie kSlideChunkSize bytes further on.
inline constexpr ValueSlot kHitpoints{20, "Edit27", "Hitpoints"};

// Engine, from EngnBase, in the order they are read and written. The file holds Y/P/R as P, Y, R.
inline constexpr std::array<ValueSlot, 11> kEngineValues{{
    {40, "Edit1", "Speed Min"},
    {36, "Edit2", "Speed Std."},
    {32, "Edit15", "Speed Max"},
    {52, "Edit4", "Acceleration"},
    {56, "Edit3", "Aftb. Speed"},
    {60, "Edit6", "Aftb. Accell."},
    {64, "Edit26", "Aftb. Fuel"},
    {72, "Edit7", "Y of Y/P/R"},
    {68, "Edit5", "P of Y/P/R"},
    {76, "Edit8", "R of Y/P/R"},
    {80, "Edit25", "Rate of change"},
}};

// Armour, from ArmrBase.
inline constexpr std::array<ValueSlot, 4> kArmourValues{{
    {20, "Edit10", "Armor Front"},
    {32, "Edit11", "Armor Right"},
    {28, "Edit12", "Armor Left"},
    {24, "Edit13", "Armor Aft"},
}};

// Shields, from ShieldBase.
inline constexpr std::array<ValueSlot, 5> kShieldValues{{
    {52, "Edit17", "Shields Front"},
    {56, "Edit16", "Shields Aft"},
    {40, "Edit20", "Shield recharge rate min"},
    {36, "Edit21", "Shield recharge rate std"},
    {32, "Edit22", "Shield recharge rate max"},
}};

// Gun power, from GunsBase.
inline constexpr std::array<ValueSlot, 4> kGunPowerValues{{
    {28, "Edit18", "Gun Energy"},
    {40, "Edit19", "Gun recharge rate min"},
    {36, "Edit23", "Gun recharge rate std."},
    {32, "Edit24", "Gun recharge rate max"},
}};

// The decoy count, one byte, from DecyBase.
inline constexpr std::int32_t kDecoyCount = 9;

// ---- Gun mounts (from GunsBase) ----------------------------------------------------------------------------------

// The GUNS form's own header and its 24-byte power chunk take 44 bytes; the mount chunks follow.
inline constexpr std::int32_t kFirstGunMount = 44;
// A mount's data begins after its chunk header; GunMountPos holds that data offset from GunsBase.
inline constexpr std::int32_t kFirstGunMountData = kFirstGunMount + kChunkHeaderSize;
// Within a mount chunk: the last byte of its length (mount lengths stay below 256).
inline constexpr std::int32_t kGunMountLengthByte = 7;
// Within a mount's data: the gun index, the 16-bit little-endian ammunition, the NUL-terminated mount name.
inline constexpr std::int32_t kGunMountGun = 0;
inline constexpr std::int32_t kGunMountAmmo = 4;
inline constexpr std::int32_t kGunMountName = 8;
// The one gun that carries ammunition: its mount rows show the count.
inline constexpr std::uint8_t kAmmunitionGun = 11;

// ---- Missile mounts (from MissBase) ------------------------------------------------------------------------------

// The chunk that precedes the mounts: its length's low half, and where its data starts.
inline constexpr std::int32_t kMissileInfoLengthWord = 62;
inline constexpr std::int32_t kMissileInfoData = 64;
// Each mount is a 16-byte chunk at the end of the MISS form: header, then the missile index and the count.
inline constexpr std::int32_t kMissileMountSize = 16;
inline constexpr std::int32_t kMissileMountMissile = 0;
inline constexpr std::int32_t kMissileMountLoads = 4;

// ---- Turrets ----------------------------------------------------------------------------------------------------

// The turret's gun index directly follows its "BULL" marker.
inline constexpr std::int32_t kTurretGun = 8;

// ---- Booster (from BoosPos) ------------------------------------------------------------------------------------

struct BoosterSlot {
    std::int32_t Offset;
    std::int32_t Default;    // for a ship without a booster chunk, and in a newly inserted chunk
    std::string_view Title;  // as the "Edit Booster" dialog labels it
};

// BoosterValues in index order. "Deactivated" values apply while the booster is attached but not in use. The
// float at BoosPos + 52 belongs to no value and is never touched.
inline constexpr std::array<BoosterSlot, kBoosterValueCount> kBoosterValues{{
    {8, 350, "Booster Accell. Standard Drive"},
    {12, 870, "Booster Accell. Aftb./Booster"},
    {16, 40, "Booster P (activated)"},
    {20, 30, "Booster Y (activated)"},
    {24, 90, "Booster R (activated)"},
    {28, 20, "Booster YPR rate of change (activated)"},
    {32, 65, "Booster P (deactivated)"},
    {36, 55, "Booster Y (deactivated)"},
    {40, 120, "Booster R (deactivated)"},
    {44, 110, "Booster YPR rate of change (deactivated)"},
    {48, 3000, "Booster Speed (activated)"},
    {56, 18, "Booster fuel"},
}};

// ---- Chunk templates --------------------------------------------------------------------------------------------

inline constexpr std::int32_t kBoosterChunkSize = 114;
inline constexpr std::int32_t kSlideChunkSize = 12;

namespace detail {

template <std::size_t N>
constexpr void PutFloat(std::array<std::uint8_t, N>& bytes, std::size_t at, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

constexpr std::array<std::uint8_t, kBoosterChunkSize> BoosterChunk() {
    std::array<std::uint8_t, kBoosterChunkSize> bytes{};
    const Marker header = kBoosterMarker;
    for (std::size_t i = 0; i < header.size(); ++i) bytes[i] = header[i];
    constexpr std::array<float, 13> floats{350, 870, 40, 30, 90, 20, 65, 55, 120, 110, 3000, 9000, 18};
    std::size_t at = kChunkHeaderSize;
    for (float value : floats) {
        PutFloat(bytes, at, value);
        at += 4;
    }
    // The booster's model, effect and sound names, each NUL-terminated; the pad byte after them stays 0.
    using namespace std::string_view_literals;
    constexpr std::string_view names = "viretail\0booster_01_vire\0vireaftb\0engine_01_viretail\0"sv;
    static_assert(kChunkHeaderSize + 13 * 4 + names.size() + 1 == kBoosterChunkSize);
    for (char c : names) bytes[at++] = static_cast<std::uint8_t>(c);
    return bytes;
}

}  // namespace detail

// Inserted before the GUNS form when a booster is added: "BOOS", length 105, the default floats, the four asset
// names, one pad byte.
inline constexpr std::array<std::uint8_t, kBoosterChunkSize> kBoosterChunk = detail::BoosterChunk();

// Written after the PHYS chunk when autoslide is on.
inline constexpr std::array<std::uint8_t, kSlideChunkSize> kSlideChunk{'S', 'L', 'I', 'D', 0, 0, 0, 4, 1, 0, 0, 0};

// ---- Rebuilding the file (the save) --------------------------------------------------------------------------------

// The PHYS chunk is 12 bytes (header and one float); the SLID chunk, when there is one, follows it directly.
inline constexpr std::int32_t kPhysChunkSize = 12;
// The booster chunk is the ENGN form's last child, so adding or removing it changes the lengths of the ENGN form
// (its own length word) and of the form that holds it, whose length word stands 6 bytes before the ENGN form.
inline constexpr std::int32_t kEngineParentLengthWord = -6;

}  // namespace tovarin::ShipLayout
