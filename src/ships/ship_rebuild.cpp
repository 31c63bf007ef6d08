#include "ships/ship_rebuild.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>

#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/ship_chunks.h"

namespace tovarin {

namespace Layout = ShipLayout;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kNotChanged = ". The ship file was not changed";
// The smallest float magnitude that no longer rounds to a 32-bit integer when the ship is loaded again.
constexpr float kFirstUnshowable = 2147483648.0F;
// What the file layer reports for a position before the start of a file, and for a read past its end.
constexpr int kNegativeSeek = 131;
constexpr int kReadBeyondEnd = 100;

// ---- Converting and checking the values ------------------------------------------------------------------------

// Every stored float must come back as an integer when the ship is loaded again. An integer beyond
// +-2147483583 becomes a float of 2^31 or more, which no load could show: the ship would be locked.
float StorableFloat(std::int32_t value, std::string_view title) {
    const float stored = StoredValue(value);
    if (std::fabs(stored) < kFirstUnshowable) return stored;
    const std::string bound = value > 0 ? "less than 2147483584" : "greater than -2147483584";
    throw Exception("Out of range: " + std::string(title) + ". Please try a value " + bound);
}

// A float ready for the file, with its distance from its part's base.
struct FloatValue {
    std::int32_t Offset = 0;
    float Value = 0;
};

FloatValue Storable(const Layout::ValueSlot& slot, std::int32_t value) {
    return {slot.Offset, StorableFloat(value, slot.Title)};
}

template <std::size_t N>
std::vector<FloatValue> Storable(const std::array<Layout::ValueSlot, N>& slots,
                                 const std::array<std::int32_t, N>& values) {
    std::vector<FloatValue> floats;
    for (std::size_t i = 0; i < N; ++i) floats.push_back(Storable(slots[i], values[i]));
    return floats;
}

// The values as the file stores them. Parts that are left out stay empty.
struct FileValues {
    FloatValue Mass;
    FloatValue Hitpoints;
    std::vector<FloatValue> Engine;
    std::vector<FloatValue> Armour;
    std::vector<FloatValue> Shields;
    std::vector<FloatValue> GunPower;
    std::optional<std::uint8_t> Decoys;
    std::vector<FloatValue> Booster;
};

// Converted in the order the Ships tab lists them, so that the first value that cannot be stored is reported.
FileValues Convert(const ShipValues& values) {
    FileValues converted;
    converted.Mass = Storable(Layout::kMass, values.Mass);
    converted.Hitpoints = Storable(Layout::kHitpoints, values.Hitpoints);
    converted.Engine = Storable(Layout::kEngineValues, values.Engine);
    if (values.Armour) converted.Armour = Storable(Layout::kArmourValues, *values.Armour);
    if (values.Shields) converted.Shields = Storable(Layout::kShieldValues, *values.Shields);
    converted.GunPower = Storable(Layout::kGunPowerValues, values.GunPower);
    if (values.Decoys) converted.Decoys = ToByte(*values.Decoys);
    if (values.Booster) {
        for (std::size_t i = 0; i < Layout::kBoosterValues.size(); ++i) {
            const Layout::BoosterSlot& slot = Layout::kBoosterValues[i];
            // A load refuses a negative booster value, so none may be stored.
            const std::int32_t value = CheckRange((*values.Booster)[i], 0, std::numeric_limits<std::int32_t>::max());
            converted.Booster.push_back({slot.Offset, StorableFloat(value, slot.Title)});
        }
    }
    return converted;
}

// The values name mounts and parts by their place in the file, so they must be the file's.
void CheckValuesFit(const ShipFileLayout& layout, const ShipValues& values) {
    const ShipChunks& chunks = layout.Chunks;
    const bool fits = values.GunMounts.size() == layout.GunMountPos.size() &&
                      values.TurretGuns.size() == layout.TurretTypePos.size() &&
                      values.MissileMounts.size() == layout.MissileMountPos.size() &&
                      (!values.Armour || chunks.ArmrBase != 0) && (!values.Shields || chunks.ShieldBase != 0) &&
                      (!values.Decoys || (chunks.MissBase != 0 && chunks.DecyBase != 0));
    if (fits) return;
    throw Exception("The ship file no longer holds the mounts and parts that were loaded. Choose the ship again" +
                    std::string(kNotChanged));
}

// ---- Adding and dropping chunks ---------------------------------------------------------------------------------

bool MarkerAt(std::span<const std::uint8_t> file, std::int32_t position, const Marker& marker) {
    return position >= 0 && static_cast<std::size_t>(position) + marker.size() <= file.size() &&
           std::equal(marker.begin(), marker.end(), file.begin() + position);
}

// A saved ship drops the 12 bytes after its PHYS chunk when it has a SLID chunk; they must be that chunk, or the
// hitpoints behind would be cut.
void CheckSlideChunk(std::span<const std::uint8_t> file, const ShipChunks& chunks) {
    if (MarkerAt(file, AddPos(chunks.PhysPos, Layout::kPhysChunkSize), Layout::kSlideMarker)) return;
    throw Exception("Autoslide cannot be saved: the SLID chunk of this ship does not follow its PHYS chunk" +
                    std::string(kNotChanged));
}

// Removing the booster drops the 114 bytes before the GUNS form; they must be the booster chunk.
void CheckBoosterChunk(std::span<const std::uint8_t> file, const ShipChunks& chunks) {
    if (MarkerAt(file, AddPos(chunks.GunsBase, -Layout::kBoosterChunkSize), Layout::kBoosterMarker)) return;
    throw Exception(
        "The booster cannot be removed: the BOOS chunk of this ship does not stand right before its "
        "guns" +
        std::string(kNotChanged));
}

// Changes the low half of a chunk length (two bytes, high byte first); a result outside 16 bits is "Range check
// error".
void AdjustLengthWord(Bytes& file, std::int32_t position, std::int32_t delta) {
    if (position < 0) throw EInOutError(kNegativeSeek);
    const auto at = static_cast<std::size_t>(position);
    if (at + 2 > file.size()) throw EInOutError(kReadBeyondEnd);
    const std::uint16_t value = ToWord(file[at] * 256 + file[at + 1] + std::int64_t{delta});
    file[at] = static_cast<std::uint8_t>(value >> 8);
    file[at + 1] = static_cast<std::uint8_t>(value);
}

// Moves every position at or behind `from` by delta, as the bytes there move when a chunk before them is added
// or dropped. Mount positions count from their form and stay.
void Shift(ShipFileLayout& layout, std::int32_t from, std::int32_t delta) {
    ShipChunks& chunks = layout.Chunks;
    for (std::int32_t* position :
         {&chunks.PhysPos, &chunks.EngnBase, &chunks.GunsBase, &chunks.MissBase, &chunks.DecyBase, &chunks.ShieldBase,
          &chunks.ArmrBase, &chunks.BoosPos, &chunks.TurretListPos}) {
        if (*position > 0 && *position >= from) *position = AddPos(*position, delta);
    }
    for (std::int32_t& turret : layout.TurretTypePos) {
        if (turret >= from) turret = AddPos(turret, delta);
    }
}

void Insert(Bytes& file, std::int32_t at, std::span<const std::uint8_t> chunk) {
    if (at < 0 || static_cast<std::size_t>(at) > file.size()) throw EInOutError(kReadBeyondEnd);
    file.insert(file.begin() + at, chunk.begin(), chunk.end());
}

void Erase(Bytes& file, std::int32_t at, std::int32_t count) {
    if (at < 0 || static_cast<std::size_t>(at) + static_cast<std::size_t>(count) > file.size()) {
        throw EInOutError(kReadBeyondEnd);
    }
    file.erase(file.begin() + at, file.begin() + at + count);
}

// The booster chunk is the ENGN form's last child, right before the GUNS form: its size counts in the file's
// length, in the length of the form holding the ENGN form and in the ENGN form's own. `layout` follows the
// bytes.
void SetBoosterChunk(Bytes& file, ShipFileLayout& layout, bool wanted) {
    ShipChunks& chunks = layout.Chunks;
    if (wanted == chunks.HasBooster) return;
    const std::int32_t delta = wanted ? Layout::kBoosterChunkSize : -Layout::kBoosterChunkSize;
    for (std::int32_t word : {Layout::kFileLengthWord, AddPos(chunks.EngnBase, Layout::kEngineParentLengthWord),
                              AddPos(chunks.EngnBase, Layout::kLengthWord)}) {
        AdjustLengthWord(file, word, delta);
    }
    const std::int32_t guns = chunks.GunsBase;
    if (wanted) {
        Insert(file, guns, Layout::kBoosterChunk);
        Shift(layout, guns, delta);
        chunks.BoosPos = guns;
    } else {
        Erase(file, AddPos(guns, delta), Layout::kBoosterChunkSize);
        Shift(layout, guns, delta);
        chunks.BoosPos = -1;
    }
    chunks.HasBooster = wanted;
}

// Drops any SLID chunk after the PHYS chunk and, with autoslide, puts a fresh one (value 1) in its place; the
// file's length follows. `layout` follows the bytes.
void SetSlideChunk(Bytes& file, ShipFileLayout& layout, bool wanted) {
    ShipChunks& chunks = layout.Chunks;
    const std::int32_t at = AddPos(chunks.PhysPos, Layout::kPhysChunkSize);
    const std::int32_t before = chunks.HasSlide ? Layout::kSlideChunkSize : 0;
    const std::int32_t after = wanted ? Layout::kSlideChunkSize : 0;
    AdjustLengthWord(file, Layout::kFileLengthWord, after - before);
    Erase(file, at, before);
    if (wanted) Insert(file, at, Layout::kSlideChunk);
    Shift(layout, AddPos(at, before), after - before);
    chunks.HasSlide = wanted;
}

// ---- Writing the values -------------------------------------------------------------------------------------------

// Puts values into the file, each inside it and none over another: a value that lands outside the file or on
// another's bytes could not be read back as it was saved.
class ValueWriter {
public:
    explicit ValueWriter(Bytes& file) : file_(file), written_(file.size(), false) {}

    void Float(std::int32_t position, float value) {
        const std::uint32_t bits = FloatBits(value);
        Put(position, {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                       static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)});
    }
    void Floats(std::int32_t base, const std::vector<FloatValue>& values) {
        for (const FloatValue& value : values) Float(AddPos(base, value.Offset), value.Value);
    }
    void Byte(std::int32_t position, std::uint8_t value) { Put(position, {value}); }
    // A 16-bit count, low byte first.
    void Word(std::int32_t position, std::uint16_t value) {
        Put(position, {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)});
    }

private:
    void Put(std::int32_t position, std::initializer_list<std::uint8_t> bytes) {
        if (position < 0) throw EInOutError(kNegativeSeek);
        auto at = static_cast<std::size_t>(position);
        if (at + bytes.size() > file_.size()) throw EInOutError(kReadBeyondEnd);
        for (std::uint8_t byte : bytes) {
            if (written_[at]) throw Exception("two of its values would share the same bytes");
            written_[at] = true;
            file_[at++] = byte;
        }
    }

    Bytes& file_;
    std::vector<bool> written_;
};

void WriteValues(Bytes& file, const ShipFileLayout& layout, const FileValues& converted, const ShipValues& values) {
    const ShipChunks& chunks = layout.Chunks;
    ValueWriter out(file);
    out.Float(AddPos(chunks.PhysPos, converted.Mass.Offset), converted.Mass.Value);
    // The hitpoints chunk follows the SLID chunk when there is one.
    const std::int32_t slide = chunks.HasSlide ? Layout::kSlideChunkSize : 0;
    out.Float(AddPos(chunks.PhysPos, converted.Hitpoints.Offset + slide), converted.Hitpoints.Value);
    out.Floats(chunks.EngnBase, converted.Engine);
    out.Floats(chunks.ArmrBase, converted.Armour);
    out.Floats(chunks.ShieldBase, converted.Shields);
    for (std::size_t i = 0; i < layout.GunMountPos.size(); ++i) {
        const std::int32_t data = AddPos(chunks.GunsBase, layout.GunMountPos[i]);
        out.Byte(AddPos(data, Layout::kGunMountGun), values.GunMounts[i].Gun);
        out.Word(AddPos(data, Layout::kGunMountAmmo), values.GunMounts[i].Ammo);
    }
    for (std::size_t k = 0; k < layout.TurretTypePos.size(); ++k)
        out.Byte(layout.TurretTypePos[k], values.TurretGuns[k]);
    out.Floats(chunks.GunsBase, converted.GunPower);
    // The count is kept in one byte but stored as a 16-bit word, so the byte after it is written as 0.
    for (std::size_t i = 0; i < layout.MissileMountPos.size(); ++i) {
        const std::int32_t data = AddPos(chunks.MissBase, layout.MissileMountPos[i]);
        out.Byte(AddPos(data, Layout::kMissileMountMissile), values.MissileMounts[i].Missile);
        out.Word(AddPos(data, Layout::kMissileMountLoads), values.MissileMounts[i].Loads);
    }
    if (converted.Decoys) out.Byte(AddPos(chunks.DecyBase, Layout::kDecoyCount), *converted.Decoys);
    out.Floats(chunks.BoosPos, converted.Booster);
}

}  // namespace

std::vector<std::uint8_t> RebuildShipFile(std::span<const std::uint8_t> file, const ShipValues& values) {
    const FileValues converted = Convert(values);
    const ShipFileLayout loaded = LocateShipLayout(file);
    CheckValuesFit(loaded, values);
    if (loaded.Chunks.HasSlide) CheckSlideChunk(file, loaded.Chunks);
    if (loaded.Chunks.HasBooster && !values.Booster) CheckBoosterChunk(file, loaded.Chunks);

    Bytes rebuilt(file.begin(), file.end());
    ShipFileLayout layout = loaded;
    SetBoosterChunk(rebuilt, layout, values.Booster.has_value());
    SetSlideChunk(rebuilt, layout, values.Autoslide);
    // The loader must find every part where the values go, before they are written and after: chunks that
    // overlap can make a value land on a marker or a length the loader goes by.
    try {
        if (LocateShipLayout(rebuilt) != layout) throw Exception("its parts would not be found where they belong");
        WriteValues(rebuilt, layout, converted, values);
        if (LocateShipLayout(rebuilt) != layout) throw Exception("its values would overwrite where its parts begin");
    } catch (const Exception& error) {
        throw Exception("The ship cannot be saved: the saved file would not load again (" + error.Message() + ")" +
                        kNotChanged);
    }
    return rebuilt;
}

}  // namespace tovarin
