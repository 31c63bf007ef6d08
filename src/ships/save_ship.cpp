#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/ship_layout.h"

// Saving the Ships tab. Every value is converted and checked, and every chunk that the save will drop is
// checked, before any file changes: a bad box stops the save with its message and nothing on disk moves. The
// file is then rebuilt in the temporary ship file and copied over the ship file whole.
namespace tovarin {

namespace Layout = ShipLayout;

namespace {

// Floats are written through a primitive that steps back this far before writing.
constexpr std::int32_t kFloatBack = 2;
// Ship files are below 64 KB, so one block usually carries the rest of a file.
constexpr std::int32_t kCopyBlock = 64 * 1024;
// The smallest float magnitude that no longer rounds to a 32-bit integer when the ship is loaded again.
constexpr float kFirstUnshowable = 2147483648.0F;

// ---- Names the player reads ------------------------------------------------------------------------------------

struct BoxTitle {
    std::string_view Control;
    std::string_view Title;
};

// What the Ships tab shows beside each box, so that a refused value names the box the player typed it in.
constexpr std::array<BoxTitle, 26> kBoxTitles{{
    {"Edit29", "Mass"},
    {"Edit27", "Hitpoints"},
    {"Edit1", "Speed Min"},
    {"Edit2", "Speed Std."},
    {"Edit15", "Speed Max"},
    {"Edit4", "Acceleration"},
    {"Edit3", "Aftb. Speed"},
    {"Edit6", "Aftb. Accell."},
    {"Edit26", "Aftb. Fuel"},
    {"Edit7", "Y of Y/P/R"},
    {"Edit5", "P of Y/P/R"},
    {"Edit8", "R of Y/P/R"},
    {"Edit25", "Rate of change"},
    {"Edit10", "Armor Front"},
    {"Edit11", "Armor Right"},
    {"Edit12", "Armor Left"},
    {"Edit13", "Armor Aft"},
    {"Edit17", "Shields Front"},
    {"Edit16", "Shields Aft"},
    {"Edit20", "Shield recharge rate min"},
    {"Edit21", "Shield recharge rate std"},
    {"Edit22", "Shield recharge rate max"},
    {"Edit18", "Gun Energy"},
    {"Edit19", "Gun recharge rate min"},
    {"Edit23", "Gun recharge rate std."},
    {"Edit24", "Gun recharge rate max"},
}};

// The booster values by index, as the "Edit Booster" dialog labels them.
constexpr std::array<std::string_view, kBoosterValueCount> kBoosterTitles{
    "Booster Accell. Standard Drive", "Booster Accell. Aftb./Booster",
    "Booster P (activated)",          "Booster Y (activated)",
    "Booster R (activated)",          "Booster YPR rate of change (activated)",
    "Booster P (deactivated)",        "Booster Y (deactivated)",
    "Booster R (deactivated)",        "Booster YPR rate of change (deactivated)",
    "Booster Speed (activated)",      "Booster fuel",
};

std::string_view TitleOf(std::string_view control) {
    for (const BoxTitle& box : kBoxTitles) {
        if (box.Control == control) return box.Title;
    }
    return control;
}

const TEdit& BoxNamed(const TForm& form, std::string_view name) {
    const auto* box = dynamic_cast<const TEdit*>(form.FindComponent(name));
    if (box == nullptr) throw std::logic_error("no edit box " + std::string(name));
    return *box;
}

// ---- Converting and checking the values ------------------------------------------------------------------------

// Every stored float must come back as an integer when the ship is loaded again. An integer beyond
// +-2147483583 becomes a float of 2^31 or more, which no load could show: the ship would be locked.
float StorableFloat(std::int32_t value, std::string_view title) {
    const float stored = StoredValue(value);
    if (std::fabs(stored) < kFirstUnshowable) return stored;
    const std::string bound = value > 0 ? "less than 2147483584" : "greater than -2147483584";
    throw Exception("Out of range: " + std::string(title) + ". Please try a value " + bound);
}

// A converted value with its distance from its part's base.
struct FloatValue {
    std::int32_t Offset;
    float Value;
};

FloatValue BoxValue(const TForm& form, const Layout::ValueSlot& slot) {
    const std::int32_t entered = StrToInt(BoxNamed(form, slot.Control).Text());
    return {slot.Offset, StorableFloat(entered, TitleOf(slot.Control))};
}

template <std::size_t N>
std::vector<FloatValue> BoxValues(const TForm& form, const std::array<Layout::ValueSlot, N>& slots) {
    std::vector<FloatValue> values;
    for (const Layout::ValueSlot& slot : slots) values.push_back(BoxValue(form, slot));
    return values;
}

// Everything the save writes that the player typed, converted and checked. Parts the ship lacks stay empty.
struct SaveValues {
    FloatValue Mass{};
    FloatValue Hitpoints{};
    std::vector<FloatValue> Engine;
    std::vector<FloatValue> Armour;
    std::vector<FloatValue> Shields;
    std::vector<FloatValue> GunPower;
    std::optional<std::uint8_t> Decoys;
    std::vector<FloatValue> Booster;
};

// Converted in the order the values are written, so the first bad box is the one reported.
SaveValues CollectValues(const TForm1& form) {
    const ShipState& ship = form.Ship;
    SaveValues values;
    values.Mass = BoxValue(form, Layout::kMass);
    values.Hitpoints = BoxValue(form, Layout::kHitpoints);
    values.Engine = BoxValues(form, Layout::kEngineValues);
    if (ship.ArmrBase != 0) values.Armour = BoxValues(form, Layout::kArmourValues);
    if (ship.ShieldBase != 0) values.Shields = BoxValues(form, Layout::kShieldValues);
    values.GunPower = BoxValues(form, Layout::kGunPowerValues);
    // A ship with missiles but no DECY chunk has no decoy count: nothing may be written for it.
    if (ship.MissBase != 0 && ship.DecyBase != 0) values.Decoys = ToByte(StrToInt(form.Edit14.Text()));
    if (ship.HasBooster) {
        for (std::size_t i = 0; i < Layout::kBoosterValues.size(); ++i) {
            values.Booster.push_back(
                {Layout::kBoosterValues[i].Offset, StorableFloat(ship.BoosterValues[i], kBoosterTitles[i])});
        }
    }
    return values;
}

// ---- Checking the file before it changes ---------------------------------------------------------------------

// How many bytes the slide chunk adds (+12) or takes away (-12).
std::int32_t SlideShift(const TForm1& form) {
    const std::int32_t now = form.CheckBox1.Checked() ? Layout::kSlideChunkSize : 0;
    const std::int32_t before = form.SlideAtLoad ? Layout::kSlideChunkSize : 0;
    return now - before;
}

// How many bytes the booster chunk adds (+114) or takes away (-114).
std::int32_t BoosterShift(const TForm1& form) {
    if (form.Ship.HasBooster == form.BoosterAtLoad) return 0;
    return form.Ship.HasBooster ? Layout::kBoosterChunkSize : -Layout::kBoosterChunkSize;
}

bool MarkerAt(const std::string& path, std::int32_t position, const Marker& marker) {
    if (position < 0) return false;
    Marker found{};
    return ReadBytesAt(path, position, found, static_cast<std::int32_t>(found.size())) ==
               static_cast<std::int32_t>(found.size()) &&
           found == marker;
}

// A saved ship with autoslide drops the 12 bytes after its PHYS chunk; they must be the SLID chunk, or the
// hitpoints behind would be cut.
void CheckSlideChunk(const ShipState& ship, const std::string& path) {
    if (MarkerAt(path, AddPos(ship.PhysPos, Layout::kPhysChunkSize), Layout::kSlideMarker)) return;
    throw Exception(
        "Autoslide cannot be saved: the SLID chunk of this ship does not follow its PHYS chunk. "
        "The ship file was not changed");
}

// Removing the booster drops the 114 bytes before the GUNS form; they must be the booster chunk.
void CheckBoosterChunk(const ShipState& ship, const std::string& path) {
    if (MarkerAt(path, AddPos(ship.GunsBase, -Layout::kBoosterChunkSize), Layout::kBoosterMarker)) return;
    throw Exception(
        "The booster cannot be removed: the BOOS chunk of this ship does not stand right before its "
        "guns. The ship file was not changed");
}

// The low half of a chunk length: two bytes, high byte first.
std::int32_t ReadLengthWord(const std::string& path, std::int32_t position) {
    std::array<std::uint8_t, 2> bytes{};
    if (ReadBytesAt(path, position, bytes, 2) != 2) throw EInOutError(100);
    return MakeWord(bytes[1], bytes[0]);
}

void CheckLengthWord(const std::string& path, std::int32_t position, std::int32_t delta) {
    (void)CheckRange(ReadLengthWord(path, position) + std::int64_t{delta}, 0, 65535);
}

void CheckFileChanges(const TForm1& form, const std::string& path) {
    const ShipState& ship = form.Ship;
    if (form.SlideAtLoad) CheckSlideChunk(ship, path);
    const std::int32_t boosterShift = BoosterShift(form);
    if (boosterShift < 0) CheckBoosterChunk(ship, path);
    // The booster step and then the slide step change the file's own length word.
    CheckLengthWord(path, Layout::kFileLengthWord, boosterShift);
    CheckLengthWord(path, Layout::kFileLengthWord, boosterShift + SlideShift(form));
    if (boosterShift != 0) {
        CheckLengthWord(path, AddPos(ship.EngnBase, Layout::kEngineParentLengthWord), boosterShift);
        CheckLengthWord(path, AddPos(ship.EngnBase, Layout::kLengthWord), boosterShift);
    }
}

// ---- Moving bytes ----------------------------------------------------------------------------------------------

void EmptyFile(const std::string& path) {
    GameFileHandle file = GameFileHandle::CreateNew(path);
    file.Close();
}

void CopyRange(const std::string& from, std::int32_t fromPos, std::int32_t count, const std::string& to,
               std::int32_t toPos) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    if (ReadBytesAt(from, fromPos, bytes, count) != count) throw EInOutError(100);
    WriteBytesAt(to, toPos, bytes, count);
}

// Copies everything from fromPos to the end of `from`.
void CopyTail(const std::string& from, std::int32_t fromPos, const std::string& to, std::int32_t toPos) {
    std::vector<std::uint8_t> block(kCopyBlock);
    for (;;) {
        const std::int32_t got = ReadBytesAt(from, fromPos, block, kCopyBlock);
        if (got > 0) WriteBytesAt(to, toPos, block, got);
        if (got < kCopyBlock) return;
        fromPos = AddPos(fromPos, got);
        toPos = AddPos(toPos, got);
    }
}

void WriteFloat(const std::string& path, std::int32_t position, float value) {
    WriteLongAt(path, AddPos(position, kFloatBack), kFloatBack, FloatBits(value));
}

void WriteFloats(const std::string& path, std::int32_t base, const std::vector<FloatValue>& values) {
    for (const FloatValue& value : values) WriteFloat(path, AddPos(base, value.Offset), value.Value);
}

// A 16-bit count, low byte first.
void WriteCount(const std::string& path, std::int32_t position, std::uint16_t value) {
    std::uint8_t low = 0;
    std::uint8_t high = 0;
    SplitWord(value, low, high);
    const std::array<std::uint8_t, 2> bytes{low, high};
    WriteBytesAt(path, position, bytes, 2);
}

// The booster chunk closes the ENGN form, so its size counts in the file's length, in the length of the form
// holding the ENGN form and in the ENGN form's own.
void AdjustBoosterLengths(const std::string& path, std::int32_t engnBase, std::int32_t delta) {
    AdjustWordAt(path, Layout::kFileLengthWord, delta, false);
    AdjustWordAt(path, AddPos(engnBase, Layout::kEngineParentLengthWord), delta, false);
    AdjustWordAt(path, AddPos(engnBase, Layout::kLengthWord), delta, false);
}

// Moves the parts that lie behind the start of the GUNS form.
void MoveGunsAndBehind(ShipState& ship, std::int32_t delta) {
    for (std::int32_t* base : {&ship.GunsBase, &ship.MissBase, &ship.DecyBase, &ship.ShieldBase, &ship.ArmrBase}) {
        if (*base != 0) *base = AddPos(*base, delta);
    }
    for (std::size_t k = 0; k < ship.TurretCount; ++k) {
        std::int32_t& turret = ship.TurretTypePos[CheckIndex(static_cast<std::int64_t>(k), kMaxTurrets)];
        turret = AddPos(turret, delta);
    }
}

// Where everything stands once the slide chunk was added or dropped: everything behind the PHYS chunk moves.
ShipState MovedBySlide(const ShipState& ship, std::int32_t shift) {
    ShipState moved = ship;
    MoveGunsAndBehind(moved, shift);
    if (moved.EngnBase != 0) moved.EngnBase = AddPos(moved.EngnBase, shift);
    if (moved.HasBooster) moved.BoosPos = AddPos(moved.BoosPos, shift);
    return moved;
}

// ---- Writing the values into the rebuilt file ------------------------------------------------------------------

void WriteGunMounts(const TForm1& form, const ShipState& ship, const std::string& path) {
    for (std::size_t n = 0; n < ship.GunMountCount; ++n) {
        const std::size_t i = CheckIndex(static_cast<std::int64_t>(n), kMaxGunMounts);
        const std::int32_t data = AddPos(ship.GunsBase, ship.GunMountPos[i]);
        WriteByteAt(path, AddPos(data, Layout::kGunMountGun), form.GunMountTypes[i]);
        WriteCount(path, AddPos(data, Layout::kGunMountAmmo), form.GunMountAmmo[i]);
    }
}

void WriteTurrets(const ShipState& ship, const std::string& path) {
    for (std::size_t n = 0; n < ship.TurretCount; ++n) {
        const std::size_t k = CheckIndex(static_cast<std::int64_t>(n), kMaxTurrets);
        WriteByteAt(path, ship.TurretTypePos[k], ship.TurretGunTypes[k]);
    }
}

// The count is kept in one byte but stored as a 16-bit word, so the byte after it is written as 0.
void WriteMissileMounts(const TForm1& form, const ShipState& ship, const std::string& path) {
    for (std::size_t n = 0; n < ship.MissileMountCount; ++n) {
        const std::size_t i = CheckIndex(static_cast<std::int64_t>(n), kMaxMissileMounts);
        const std::int32_t data = AddPos(ship.MissBase, ship.MissileMountPos[i]);
        WriteByteAt(path, AddPos(data, Layout::kMissileMountMissile), form.MissileMountTypes[i]);
        WriteCount(path, AddPos(data, Layout::kMissileMountLoads), ship.MissileMountLoads[i]);
    }
}

void WriteValues(const TForm1& form, const ShipState& ship, const SaveValues& values, std::int32_t slideLength,
                 const std::string& path) {
    WriteFloat(path, AddPos(AddPos(ship.PhysPos, values.Hitpoints.Offset), slideLength), values.Hitpoints.Value);
    WriteFloats(path, ship.EngnBase, values.Engine);
    WriteFloats(path, ship.ArmrBase, values.Armour);
    WriteFloats(path, ship.ShieldBase, values.Shields);
    WriteGunMounts(form, ship, path);
    WriteTurrets(ship, path);
    WriteFloats(path, ship.GunsBase, values.GunPower);
    if (ship.MissBase != 0) {
        WriteMissileMounts(form, ship, path);
        if (values.Decoys) WriteByteAt(path, AddPos(ship.DecyBase, Layout::kDecoyCount), *values.Decoys);
    }
    WriteFloats(path, ship.BoosPos, values.Booster);
}

// Builds the ship anew in the temporary file: the head up to the PHYS chunk, the slide chunk when autoslide is
// on, the rest of the ship file behind any old slide chunk, then every value at its place.
void RebuildShipFile(const TForm1& form, const SaveValues& values, const std::string& shipPath,
                     const std::string& tempPath) {
    const ShipState& ship = form.Ship;
    const std::int32_t oldSlide = form.SlideAtLoad ? Layout::kSlideChunkSize : 0;
    const std::int32_t newSlide = form.CheckBox1.Checked() ? Layout::kSlideChunkSize : 0;
    const std::int32_t slidePos = AddPos(ship.PhysPos, Layout::kPhysChunkSize);

    EmptyFile(tempPath);
    CopyRange(shipPath, 0, slidePos, tempPath, 0);
    WriteFloat(tempPath, AddPos(ship.PhysPos, values.Mass.Offset), values.Mass.Value);
    if (newSlide != 0) WriteBytesAt(tempPath, slidePos, Layout::kSlideChunk, Layout::kSlideChunkSize);
    CopyTail(shipPath, AddPos(slidePos, oldSlide), tempPath, AddPos(slidePos, newSlide));
    AdjustWordAt(tempPath, Layout::kFileLengthWord, newSlide - oldSlide, false);
    WriteValues(form, MovedBySlide(ship, newSlide - oldSlide), values, newSlide, tempPath);
}

}  // namespace

void TForm1::Button2Click() {
    const std::string shipPath = ShipPath();
    const std::string tempPath = TempShipPath();
    const SaveValues values = CollectValues(*this);
    CheckFileChanges(*this, shipPath);

    if (Ship.HasBooster != BoosterAtLoad) {
        if (BoosterAtLoad) {
            RemoveBoosterChunk(shipPath, tempPath);
        } else {
            InsertBoosterChunk(shipPath, tempPath);
        }
    }
    RebuildShipFile(*this, values, shipPath, tempPath);
    CopyFileBytes(tempPath, shipPath);
    ComboBox1Change();
}

void TForm1::InsertBoosterChunk(const std::string& shipPath, const std::string& tempPath) {
    const std::int32_t at = Ship.GunsBase;
    EmptyFile(tempPath);
    CopyRange(shipPath, 0, at, tempPath, 0);
    WriteBytesAt(tempPath, at, Layout::kBoosterChunk, Layout::kBoosterChunkSize);
    CopyTail(shipPath, at, tempPath, AddPos(at, Layout::kBoosterChunkSize));
    AdjustBoosterLengths(tempPath, Ship.EngnBase, Layout::kBoosterChunkSize);
    CopyFileBytes(tempPath, shipPath);

    // The ship file holds the chunk now; the state follows it, so a save that fails later and is tried again
    // never adds a second one.
    Ship.BoosPos = at;
    MoveGunsAndBehind(Ship, Layout::kBoosterChunkSize);
    BoosterAtLoad = true;
}

void TForm1::RemoveBoosterChunk(const std::string& shipPath, const std::string& tempPath) {
    CheckBoosterChunk(Ship, shipPath);
    const std::int32_t at = AddPos(Ship.GunsBase, -Layout::kBoosterChunkSize);
    EmptyFile(tempPath);
    CopyRange(shipPath, 0, at, tempPath, 0);
    CopyTail(shipPath, Ship.GunsBase, tempPath, at);
    AdjustBoosterLengths(tempPath, Ship.EngnBase, -Layout::kBoosterChunkSize);
    CopyFileBytes(tempPath, shipPath);

    // As after an insertion: the state describes the file without the chunk.
    Ship.BoosPos = -1;
    MoveGunsAndBehind(Ship, -Layout::kBoosterChunkSize);
    BoosterAtLoad = false;
}

}  // namespace tovarin
