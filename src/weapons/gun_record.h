#pragma once

#include <array>
#include <cstdint>

#include "app/form1.h"
#include "weapons/weapon_fields.h"

// A gun's record in the game's gun table Game\bullet.iff, at the position the catalogue's GunData section gives
// for the gun's index. Every edited field is a float; the four bytes at base + 28 belong to the game and are
// never touched, nor is any byte outside the fields below.
namespace tovarin {

inline constexpr const char* kGunTableFile = "Game\\bullet.iff";
inline constexpr const char* kGunDataSection = "GunData";

// In the order in which they are read and written; the game stores the refire delay in seconds.
inline constexpr std::array<FloatField, 5> kGunFields = {{
    {"Speed", 20, Scale::One, &TForm1::Edit30},
    {"Range", 24, Scale::One, &TForm1::Edit31},
    {"Energy", 32, Scale::One, &TForm1::Edit32},
    {"Damage", 36, Scale::One, &TForm1::Edit33},
    {"Refire delay (ms)", 40, Scale::Milli, &TForm1::Edit34},
}};

}  // namespace tovarin
