#include "ships/ship_rebuild.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <string_view>

#include "gamefiles/errors.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/read_ship_values.h"
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

// The places the loader finds, from which the values lie at fixed distances. Hull is where the hitpoints chunk
// begins: the PHYS chunk's place, or 12 bytes further on behind a SLID chunk.
enum class Place { Phys, Hull, Engine, Armour, Shields, Guns, GunMount, Turret, MissileMount, Decoys, Booster };

// One value as the file stores it: its bytes (a float's bits, a byte, or a 16-bit count low byte first) and
// where they go, named by place rather than by position, so that a value keeps its name when chunks before it
// are added or dropped.
struct FileValue {
    Place From = Place::Phys;
    std::size_t Index = 0;  // which mount or turret
    std::int32_t Offset = 0;
    std::uint32_t Bits = 0;
    std::int32_t Width = 0;  // 1, 2 or 4 bytes
    auto operator<=>(const FileValue&) const = default;
};

using FileValues = std::vector<FileValue>;

void AddFloat(FileValues& out, Place from, std::int32_t offset, std::string_view title, std::int32_t value) {
    out.push_back({from, 0, offset, FloatBits(StorableFloat(value, title)), 4});
}

template <std::size_t N>
void AddFloats(FileValues& out, Place from, const std::array<Layout::ValueSlot, N>& slots,
               const std::array<std::int32_t, N>& values) {
    for (std::size_t i = 0; i < N; ++i) AddFloat(out, from, slots[i].Offset, slots[i].Title, values[i]);
}

void AddMounts(FileValues& out, const ShipValues& values) {
    for (std::size_t i = 0; i < values.GunMounts.size(); ++i) {
        out.push_back({Place::GunMount, i, Layout::kGunMountGun, values.GunMounts[i].Gun, 1});
        out.push_back({Place::GunMount, i, Layout::kGunMountAmmo, values.GunMounts[i].Ammo, 2});
    }
    for (std::size_t k = 0; k < values.TurretGuns.size(); ++k)
        out.push_back({Place::Turret, k, 0, values.TurretGuns[k], 1});
    // The count is kept in one byte but stored as a 16-bit word, so the byte after it is written as 0.
    for (std::size_t i = 0; i < values.MissileMounts.size(); ++i) {
        out.push_back({Place::MissileMount, i, Layout::kMissileMountMissile, values.MissileMounts[i].Missile, 1});
        out.push_back({Place::MissileMount, i, Layout::kMissileMountLoads, values.MissileMounts[i].Loads, 2});
    }
}

// Converted in the order the Ships tab lists them, so that the first value that cannot be stored is reported.
FileValues Convert(const ShipValues& values) {
    FileValues converted;
    AddFloat(converted, Place::Phys, Layout::kMass.Offset, Layout::kMass.Title, values.Mass);
    AddFloat(converted, Place::Hull, Layout::kHitpoints.Offset, Layout::kHitpoints.Title, values.Hitpoints);
    AddFloats(converted, Place::Engine, Layout::kEngineValues, values.Engine);
    if (values.Armour) AddFloats(converted, Place::Armour, Layout::kArmourValues, *values.Armour);
    if (values.Shields) AddFloats(converted, Place::Shields, Layout::kShieldValues, *values.Shields);
    AddFloats(converted, Place::Guns, Layout::kGunPowerValues, values.GunPower);
    if (values.Decoys) converted.push_back({Place::Decoys, 0, Layout::kDecoyCount, ToByte(*values.Decoys), 1});
    if (values.Booster) {
        for (std::size_t i = 0; i < Layout::kBoosterValues.size(); ++i) {
            const Layout::BoosterSlot& slot = Layout::kBoosterValues[i];
            // A load refuses a negative booster value, so none may be stored.
            const std::int32_t value = CheckRange((*values.Booster)[i], 0, std::numeric_limits<std::int32_t>::max());
            AddFloat(converted, Place::Booster, slot.Offset, slot.Title, value);
        }
    }
    AddMounts(converted, values);
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

// Where a place lies in the file as `layout` finds it. The mount and turret exist: CheckValuesFit saw to it.
std::int32_t PlacePosition(const ShipFileLayout& layout, Place from, std::size_t index) {
    const ShipChunks& chunks = layout.Chunks;
    switch (from) {
        case Place::Phys:
            return chunks.PhysPos;
        case Place::Hull:
            return AddPos(chunks.PhysPos, chunks.HasSlide ? Layout::kSlideChunkSize : 0);
        case Place::Engine:
            return chunks.EngnBase;
        case Place::Armour:
            return chunks.ArmrBase;
        case Place::Shields:
            return chunks.ShieldBase;
        case Place::Guns:
            return chunks.GunsBase;
        case Place::GunMount:
            return AddPos(chunks.GunsBase, layout.GunMountPos[index]);
        case Place::Turret:
            return layout.TurretTypePos[index];
        case Place::MissileMount:
            return AddPos(chunks.MissBase, layout.MissileMountPos[index]);
        case Place::Decoys:
            return chunks.DecyBase;
        case Place::Booster:
            return chunks.BoosPos;
    }
    return 0;
}

// Puts values into the file, each inside it and none over another: a value that lands outside the file or on
// another's bytes could not be read back as it was saved. A value that is kept still owns its bytes.
class ValueWriter {
public:
    explicit ValueWriter(Bytes& file) : file_(file), owned_(file.size(), false) {}

    void Put(std::int32_t position, const FileValue& value) {
        const std::size_t at = Own(position, value.Width);
        for (std::size_t i = 0; i < static_cast<std::size_t>(value.Width); ++i) {
            file_[at + i] = static_cast<std::uint8_t>(value.Bits >> (8 * i));
        }
    }
    void Keep(std::int32_t position, const FileValue& value) { (void)Own(position, value.Width); }

private:
    std::size_t Own(std::int32_t position, std::int32_t width) {
        if (position < 0) throw EInOutError(kNegativeSeek);
        const auto at = static_cast<std::size_t>(position);
        if (at + static_cast<std::size_t>(width) > file_.size()) throw EInOutError(kReadBeyondEnd);
        for (std::size_t i = at; i < at + static_cast<std::size_t>(width); ++i) {
            if (owned_[i]) throw Exception("two of its values would share the same bytes");
            owned_[i] = true;
        }
        return at;
    }

    Bytes& file_;
    std::vector<bool> owned_;
};

// Writes every value but those in `kept`, which keep the bytes the file holds for them.
void WriteValues(Bytes& file, const ShipFileLayout& layout, const FileValues& values, const std::set<FileValue>& kept) {
    ValueWriter out(file);
    for (const FileValue& value : values) {
        const std::int32_t position = AddPos(PlacePosition(layout, value.From, value.Index), value.Offset);
        if (kept.contains(value)) {
            out.Keep(position, value);
        } else {
            out.Put(position, value);
        }
    }
}

// Which values a save writes: every one, as the Ships tab's save does, or only those that differ from what the
// file shows.
enum class Written { EveryValue, ChangedValues };

Bytes Rebuild(std::span<const std::uint8_t> file, const ShipValues& values, Written written) {
    const FileValues converted = Convert(values);
    const ShipFileLayout loaded = LocateShipLayout(file);
    CheckValuesFit(loaded, values);
    std::set<FileValue> kept;
    if (written == Written::ChangedValues) {
        // A value equal to what the file shows is stored as the file shows it: the stored bytes stay.
        const FileValues shown = Convert(ReadShipValues(file));
        kept.insert(shown.begin(), shown.end());
    }
    // The Ships tab's save puts a fresh SLID chunk in place of any there is; a save of changes only touches it when
    // autoslide is switched.
    const bool slideRewritten = written == Written::EveryValue || values.Autoslide != loaded.Chunks.HasSlide;
    if (loaded.Chunks.HasSlide && slideRewritten) CheckSlideChunk(file, loaded.Chunks);
    if (loaded.Chunks.HasBooster && !values.Booster) CheckBoosterChunk(file, loaded.Chunks);

    Bytes rebuilt(file.begin(), file.end());
    ShipFileLayout layout = loaded;
    SetBoosterChunk(rebuilt, layout, values.Booster.has_value());
    if (slideRewritten) SetSlideChunk(rebuilt, layout, values.Autoslide);
    // The loader must find every part where the values go, before they are written and after: chunks that
    // overlap can make a value land on a marker or a length the loader goes by.
    try {
        if (LocateShipLayout(rebuilt) != layout) throw Exception("its parts would not be found where they belong");
        WriteValues(rebuilt, layout, converted, kept);
        if (LocateShipLayout(rebuilt) != layout) throw Exception("its values would overwrite where its parts begin");
    } catch (const Exception& error) {
        throw Exception("The ship cannot be saved: the saved file would not load again (" + error.Message() + ")" +
                        kNotChanged);
    }
    return rebuilt;
}

}  // namespace

std::vector<std::uint8_t> RebuildShipFile(std::span<const std::uint8_t> file, const ShipValues& values) {
    return Rebuild(file, values, Written::EveryValue);
}

std::vector<std::uint8_t> ChangeShipFile(std::span<const std::uint8_t> file, const ShipValues& values) {
    return Rebuild(file, values, Written::ChangedValues);
}

}  // namespace tovarin
