#include "fleet_edits/value_places.h"

#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"

namespace tovarin {

namespace Layout = ShipLayout;

namespace {

constexpr int kReadBeyondEnd = 100;  // what the file layer reports for a read past a file's end

ValuePlace Float(std::int32_t base, std::int32_t offset) { return {AddPos(base, offset), 4, 0}; }

// A part the ship lacks has a base of 0.
std::optional<ValuePlace> InPart(std::int32_t base, std::int32_t offset) {
    if (base == 0) return std::nullopt;
    return Float(base, offset);
}

void CheckInside(std::span<const std::uint8_t> file, const ValuePlace& place) {
    if (place.Position < 0 ||
        static_cast<std::size_t>(place.Position) + static_cast<std::size_t>(place.Width) > file.size()) {
        throw EInOutError(kReadBeyondEnd);
    }
}

// The bits of the value's byte `i`: all of them, or a flag's bits of a flag word, which is little-endian.
std::uint8_t MaskOf(const ValuePlace& place, std::int32_t i) {
    return static_cast<std::uint8_t>(place.Bits == 0 ? 0xFF : place.Bits >> (8 * i));
}

}  // namespace

std::optional<ValuePlace> ShipValuePlace(std::span<const std::uint8_t> file, const ProfileKey& key) {
    const ShipFileLayout layout = LocateShipLayout(file);
    const ShipChunks& chunks = layout.Chunks;
    const std::size_t i = key.Index;
    switch (key.Part) {
        case ProfilePart::Mass:
            return Float(chunks.PhysPos, Layout::kMass.Offset);
        case ProfilePart::Hitpoints:  // behind the SLID chunk when the ship has one
            return Float(AddPos(chunks.PhysPos, chunks.HasSlide ? Layout::kSlideChunkSize : 0),
                         Layout::kHitpoints.Offset);
        case ProfilePart::Engine:
            return Float(chunks.EngnBase, Layout::kEngineValues[i].Offset);
        case ProfilePart::Armour:
            return InPart(chunks.ArmrBase, Layout::kArmourValues[i].Offset);
        case ProfilePart::Shields:
            return InPart(chunks.ShieldBase, Layout::kShieldValues[i].Offset);
        case ProfilePart::GunPower:
            return Float(chunks.GunsBase, Layout::kGunPowerValues[i].Offset);
        case ProfilePart::Gun:
        case ProfilePart::GunAmmo: {
            if (i >= layout.GunMountPos.size()) return std::nullopt;
            const std::int32_t data = AddPos(chunks.GunsBase, layout.GunMountPos[i]);
            if (key.Part == ProfilePart::Gun) return ValuePlace{AddPos(data, Layout::kGunMountGun), 1, 0};
            return ValuePlace{AddPos(data, Layout::kGunMountAmmo), 2, 0};
        }
        case ProfilePart::Missile:
        case ProfilePart::MissileAmmo: {
            if (chunks.MissBase == 0 || i >= layout.MissileMountPos.size()) return std::nullopt;
            const std::int32_t data = AddPos(chunks.MissBase, layout.MissileMountPos[i]);
            if (key.Part == ProfilePart::Missile) return ValuePlace{AddPos(data, Layout::kMissileMountMissile), 1, 0};
            // The load is kept in one byte of a 16-bit word: both bytes are the value's.
            return ValuePlace{AddPos(data, Layout::kMissileMountLoads), 2, 0};
        }
        case ProfilePart::Decoys:
            if (chunks.MissBase == 0 || chunks.DecyBase == 0) return std::nullopt;
            return ValuePlace{AddPos(chunks.DecyBase, Layout::kDecoyCount), 1, 0};
        case ProfilePart::Autoslide:
        case ProfilePart::Booster:
            return std::nullopt;
    }
    return std::nullopt;
}

ValuePlace GunValuePlace(std::int32_t base, std::size_t field) { return Float(base, kGunFields.at(field).Offset); }

// The missile sheet's columns: the plain floats, the split delay, the count, the sub-missile type, then one column
// per flag of the flag word.
ValuePlace MissileValuePlace(std::int32_t base, std::size_t field) {
    if (field < kMissileFields.size()) return Float(base, kMissileFields[field].Offset);
    field -= kMissileFields.size();
    if (field == 0) return Float(base, kSplitDelayField.Offset);
    if (field == 1) return {AddPos(base, kSplitCountOffset), 1, 0};
    if (field == 2) return {AddPos(base, kSubMissileTypeOffset), 1, 0};
    return {AddPos(base, kFlagWordOffset), 2, kMissileFlags.at(field - 3).Bit};
}

void CopyValueBytes(std::vector<std::uint8_t>& to, const ValuePlace& toPlace, std::span<const std::uint8_t> from,
                    const ValuePlace& fromPlace) {
    CheckInside(to, toPlace);
    CheckInside(from, fromPlace);
    for (std::int32_t i = 0; i < toPlace.Width; ++i) {
        const std::uint8_t mask = MaskOf(toPlace, i);
        std::uint8_t& byte = to[static_cast<std::size_t>(toPlace.Position + i)];
        const std::uint8_t original = from[static_cast<std::size_t>(fromPlace.Position + i)];
        byte = static_cast<std::uint8_t>((byte & ~mask) | (original & mask));
    }
}

bool SameValueBytes(std::span<const std::uint8_t> one, const ValuePlace& onePlace, std::span<const std::uint8_t> other,
                    const ValuePlace& otherPlace) {
    CheckInside(one, onePlace);
    CheckInside(other, otherPlace);
    for (std::int32_t i = 0; i < onePlace.Width; ++i) {
        const std::uint8_t mask = MaskOf(onePlace, i);
        const std::uint8_t a = one[static_cast<std::size_t>(onePlace.Position + i)];
        const std::uint8_t b = other[static_cast<std::size_t>(otherPlace.Position + i)];
        if ((a & mask) != (b & mask)) return false;
    }
    return true;
}

}  // namespace tovarin
