#include "gun_slots/gun_slot_table.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/profile_text.h"
#include "gamefiles/whole_files.h"
#include "ships/ship_bytes.h"
#include "ships/ship_chunks.h"
#include "ships/ship_layout.h"
#include "ships/ship_load_check.h"
#include "ships/ship_state.h"

// A ship's gun slots in its file. On saving the ship file is rebuilt around the new set of records: everything
// behind them moves, the lengths that enclose them change, and the file positions that the catalogue keeps for
// the ship move with them.
namespace tovarin {

namespace Layout = ShipLayout;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A slot's name is the text at data offset 8 of its record.
constexpr std::int32_t kSlotName = Layout::kChunkHeaderSize + Layout::kGunMountName;

// Positions that the catalogue keeps in the ship's own section, of the missile, decoy, shield and armour data,
// all of which lie behind the gun slots, with the part of the ship each names.
constexpr std::array<std::pair<std::string_view, std::int32_t ShipChunks::*>, 4> kStoredPositions{
    {{"misspowr", &ShipChunks::MissBase},
     {"bdecy", &ShipChunks::DecyBase},
     {"nfshpowr", &ShipChunks::ShieldBase},
     {"armrdata", &ShipChunks::ArmrBase}}};

std::string GunKey(std::size_t slot) { return "Gun" + IntToStr(static_cast<std::int64_t>(slot) + 1); }

// ---- Reading the slot records ----------------------------------------------------------------------------------

// How far the records run, counted from the first one. The form's length counts from GunsBase + 8; a record
// that would start in its last 8 bytes holds no data and is no gun, as the ship loader sees it too.
std::int32_t SlotRecordsLimit(const ShipBytes& file, std::int32_t gunsBase) {
    return file.Word(AddPos(gunsBase, Layout::kLengthWord), true) - Layout::kFirstGunMount;
}

// The bytes the record at the position takes: header, data and the pad byte after odd data. The table keeps
// sizes in 8 bits, so data longer than 246 bytes is "Range check error".
std::uint8_t SlotRecordSize(const ShipBytes& file, std::int32_t record) {
    std::int32_t size = file.Byte(AddPos(record, Layout::kGunMountLengthByte)) + Layout::kChunkHeaderSize;
    if (size % 2 != 0) ++size;
    return ToByte(size);
}

// The bytes the slot records take in the file, walked exactly as LoadGunSlots walks them.
std::int32_t RecordsSizeIn(const ShipBytes& file, std::int32_t gunsBase) {
    const std::int32_t firstRecord = AddPos(gunsBase, Layout::kFirstGunMount);
    const std::int32_t limit = SlotRecordsLimit(file, gunsBase);
    std::int32_t size = 0;
    while (size < limit) size = AddPos(size, SlotRecordSize(file, AddPos(firstRecord, size)));
    return size;
}

// A last record that reaches beyond the GUNS form's end (its length counts from GunsBase + 8) is partly the form
// behind it: a copy of it would go outside the form, where the loader no longer finds it.
bool RecordsRunPastTheForm(std::int32_t recordsSize, std::int32_t limit) {
    return recordsSize > limit + Layout::kChunkHeaderSize;
}

// ---- The rebuilt ship file ---------------------------------------------------------------------------------------

struct RebuiltShip {
    Bytes File;
    std::int32_t RecordsSize;  // the bytes the table's records take in it
};

// Each slot's record as the table holds it: header, data and pad byte.
// Changes the low half of a big-endian length inside the head of the new file. A result outside 0..65535 is
// "Range check error"; nothing has been written when it is raised.
void ShiftLengthWord(Bytes& file, std::int32_t headSize, std::int32_t position, std::int32_t shift) {
    const std::size_t at = CheckIndex(position, static_cast<std::size_t>(headSize) - 1);
    std::uint8_t low = 0;
    std::uint8_t high = 0;
    SplitWord(MakeWord(file[at + 1], file[at]) + shift, low, high);
    file[at] = high;
    file[at + 1] = low;
}

// The new ship file in three pieces: the bytes before the first record, the records, and everything behind the
// records the file holds now. Only what the records replace changes, so a ship saved without changes keeps every
// byte, whatever follows its guns, and saving the same records again gives the same file.
RebuiltShip RebuildShipFile(std::span<const std::uint8_t> old, std::int32_t gunsBase, std::int32_t engnBase,
                            const std::vector<Bytes>& records) {
    const ShipBytes file(old);
    const std::int32_t firstRecord = AddPos(gunsBase, Layout::kFirstGunMount);
    const std::int32_t oldRecords = RecordsSizeIn(file, gunsBase);

    Bytes rebuilt = file.Slice(0, firstRecord);
    std::int32_t newRecords = 0;
    for (const Bytes& record : records) {
        rebuilt.insert(rebuilt.end(), record.begin(), record.end());
        newRecords += static_cast<std::int32_t>(record.size());
    }
    const std::size_t rest = static_cast<std::size_t>(AddPos(firstRecord, oldRecords));
    if (rest < old.size()) rebuilt.insert(rebuilt.end(), old.begin() + static_cast<std::ptrdiff_t>(rest), old.end());

    const std::int32_t shift = newRecords - oldRecords;
    // The GUNS form, the file's outermost form and the form that holds the engine and the guns all enclose the
    // records; only the low halves of their lengths are kept up to date.
    ShiftLengthWord(rebuilt, firstRecord, AddPos(gunsBase, Layout::kLengthWord), shift);
    ShiftLengthWord(rebuilt, firstRecord, Layout::kFileLengthWord, shift);
    ShiftLengthWord(rebuilt, firstRecord, AddPos(engnBase, Layout::kEngineParentLengthWord), shift);
    return {std::move(rebuilt), newRecords};
}

// What is wrong with the slots as the tab would read them from the new file: they must be the records saved. A
// slot's name runs to its NUL, which in a damaged record lies behind the record. Saved as the last slot, a copy of
// such a record has its name run on into whatever follows the records, and past the end of the file when no NUL
// follows: every later reading of the slots would fail.
std::string SlotsReadBackProblem(const RebuiltShip& rebuilt, const std::vector<Bytes>& records) {
    GunSlotTable again;
    try {
        ReadGunSlots(rebuilt.File, LocateShipLayout(rebuilt.File).Chunks.GunsBase, again);
    } catch (const Exception& error) {
        return "would not give its gun slots back (" + error.Message() + ")";
    }
    const bool same = std::ranges::equal(again.Slots, records, {}, &GunSlot::Record);
    return same ? "" : "would give other gun slots back than the ones saved";
}

// A file that the editor could not open again, that would show another number of guns than the table holds, or
// whose slots would not read back as saved, is never saved.
void RefuseUnloadable(const SlotShip& ship, const RebuiltShip& rebuilt, const std::vector<Bytes>& records) {
    const ShipLoadCheck check = CheckShipLoads(rebuilt.File, ship.GunTypes, ship.MissileTypes);
    std::string problem = check.Problem.empty() ? "" : "would not load again (" + check.Problem + ")";
    if (problem.empty() && check.GunMounts != records.size()) {
        problem = "would show " + IntToStr(static_cast<std::int64_t>(check.GunMounts)) + " guns instead of " +
                  IntToStr(static_cast<std::int64_t>(records.size()));
    }
    if (problem.empty()) problem = SlotsReadBackProblem(rebuilt, records);
    if (!problem.empty()) {
        throw Exception("The gun slots of Ships\\" + ship.Section + " cannot be saved: the new ship file " + problem +
                        ". The ship file was not changed");
    }
}

// ---- The ship's catalogue section --------------------------------------------------------------------------------

// One key of the ship's section: the value it gets, or none when the key is to be removed.
struct SectionKey {
    std::string Key;
    std::optional<std::string> Value;
};

bool SameKey(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// "Gun" followed by a slot number above `count`: the offset of a slot the ship no longer has.
bool IsGunKeyAbove(std::string_view key, std::size_t count) {
    constexpr std::string_view kPrefix = "Gun";
    constexpr std::size_t kMostDigits = 9;  // more is far beyond any slot count, and no longer an int32
    if (key.size() <= kPrefix.size() || !SameKey(key.substr(0, kPrefix.size()), kPrefix)) return false;
    const std::string_view digits = key.substr(kPrefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) return false;
    return digits.size() > kMostDigits || StrToInt(digits) > static_cast<std::int32_t>(count);
}

// The ship's section as the catalogue's text holds it, read whole: a catalogue that cannot be read stops the
// save, where the INI functions would quietly answer with their defaults and the save would shift nothing.
struct CatalogueSection {
    std::string Text;
    std::string Name;

    // The value read as an integer, as the INI functions read it (one pair of quotes around it removed); 0 when
    // it is missing or no number.
    [[nodiscard]] std::int32_t Integer(std::string_view key) const {
        const std::string found = FindProfileValue(Text, Name, key).value_or("");
        std::string_view value = found;
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return IniTextToInt(value, 0);
    }
};

// How the save moves the stored positions: where the loader finds each part in the ship file before and after, and
// the change in size of the records, which everything behind them moves by.
struct PositionMove {
    ShipChunks Before, After;
    std::int32_t Shift = 0;
};

// A stored position that names the part where the loader finds it follows that part. Mostly the part lies behind
// the records and moves by the shift; but a gun record may hold the part's marker bytes, and the loader then takes
// the record for the part, which moves with its record, or not at all when records are added behind it. Any other
// stored position lies behind the records as far as anyone knows, and moves by the shift.
std::int32_t MovedPosition(std::int32_t position, std::int32_t ShipChunks::*part, const PositionMove& move) {
    if (position == move.Before.*part) return move.After.*part;
    return AddPos(position, move.Shift);
}

// The keys the save writes: the slot count, each slot's data offset from GunsBase, the removal of offsets of
// slots that are gone, and the stored positions behind the guns moved where they are set (1 or more).
std::vector<SectionKey> PlanSectionKeys(const CatalogueSection& section, const std::vector<Bytes>& records,
                                        const PositionMove& move) {
    std::vector<SectionKey> keys{{"Guns", IntToStr(static_cast<std::int64_t>(records.size()))}};
    std::int32_t data = Layout::kFirstGunMountData;
    for (std::size_t slot = 0; slot < records.size(); ++slot) {
        keys.push_back({GunKey(slot), IntToStr(data)});
        data += static_cast<std::int32_t>(records[slot].size());
    }
    for (const std::string& name : ListProfileKeys(section.Text, section.Name)) {
        if (IsGunKeyAbove(name, records.size())) keys.push_back({name, std::nullopt});
    }
    for (const auto& [key, part] : kStoredPositions) {
        const std::int32_t position = section.Integer(key);
        if (position >= 1) keys.push_back({std::string(key), IntToStr(MovedPosition(position, part, move))});
    }
    return keys;
}

// The ship file and its catalogue section, as one change: both are written or neither is, whatever fails.
void SaveShipAndCatalogue(const TIniFile& catalogue, const SlotShip& ship, const RebuiltShip& rebuilt,
                          const std::vector<Bytes>& records, const PositionMove& move) {
    // The catalogue lies in the game folder, beside the game's executable.
    FileChangeSet changes(FolderOf(catalogue.FileName()), "the gun slot save of " + ship.Section);
    changes.Replace(ship.Path, rebuilt.File);
    changes.EditIni(catalogue.FileName(), [&](const TIniFile& draft) {
        const Bytes text = ReadWholeFile(draft.FileName());
        for (const SectionKey& key : PlanSectionKeys({{text.begin(), text.end()}, ship.Section}, records, move)) {
            if (key.Value) {
                draft.WriteString(ship.Section, key.Key, *key.Value);
            } else {
                draft.DeleteKey(ship.Section, key.Key);
            }
        }
    });
    (void)changes.Commit();
}

// The ship loader takes at most 16 gun mounts: a ship with more could never be loaded again.
std::string MoreGunsMessage() { return "A ship cannot have more than " + IntToStr(kMaxGunMounts) + " guns"; }

}  // namespace

std::string GunSlot::Listed() const { return Name.substr(0, Record.size()); }

void ReadGunSlots(std::span<const std::uint8_t> bytes, std::int32_t gunsBase, GunSlotTable& table) {
    const ShipBytes file(bytes);
    const std::int32_t firstRecord = AddPos(gunsBase, Layout::kFirstGunMount);
    const std::int32_t limit = SlotRecordsLimit(file, gunsBase);
    table = {};
    std::int32_t offset = 0;  // from the first record
    while (offset < limit) {
        const std::int32_t record = AddPos(firstRecord, offset);
        const std::uint8_t size = SlotRecordSize(file, record);
        const std::string name = file.String(AddPos(record, kSlotName));
        (void)CheckIndex(static_cast<std::int64_t>(table.Slots.size()), kMaxGunSlots);
        table.Slots.push_back({file.Slice(record, size), name});
        offset += size;
    }
    if (RecordsRunPastTheForm(offset, limit)) {
        table.Slots.clear();
        throw Exception(
            "The gun slots of this ship cannot be edited: its last gun record runs past the end of the "
            "GUNS form");
    }
    table.RecordsSize = offset;
}

std::vector<std::string> SlotNamesOf(std::span<const std::uint8_t> file) {
    GunSlotTable table;
    ReadGunSlots(file, LocateShipLayout(file).Chunks.GunsBase, table);
    std::vector<std::string> names;
    for (const GunSlot& slot : table.Slots) names.push_back(slot.Listed());
    return names;
}

std::optional<std::string> CopyGunSlot(std::vector<GunSlot>& slots, std::size_t from) {
    if (slots.size() >= kMaxGunMounts) return MoreGunsMessage();
    slots.push_back(slots[CheckIndex(static_cast<std::int64_t>(from), slots.size())]);
    return std::nullopt;
}

std::optional<std::string> DeleteGunSlot(std::vector<GunSlot>& slots, std::size_t slot) {
    if (slots.size() < 2) return "Last gun cannot be removed";
    slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(CheckIndex(static_cast<std::int64_t>(slot), slots.size())));
    return std::nullopt;
}

std::optional<std::string> SaveGunSlots(const TIniFile& catalogue, const SlotShip& ship, GunSlotTable& table) {
    if (table.Slots.size() > kMaxGunMounts) return MoreGunsMessage();
    const Bytes oldFile = ReadWholeFile(ship.Path);
    std::vector<Bytes> records;
    for (const GunSlot& slot : table.Slots) records.push_back(slot.Record);
    const RebuiltShip rebuilt = RebuildShipFile(oldFile, ship.GunsBase, ship.EngnBase, records);
    RefuseUnloadable(ship, rebuilt, records);
    const PositionMove move{FindShipChunks(oldFile), FindShipChunks(rebuilt.File),
                            rebuilt.RecordsSize - table.RecordsSize};
    SaveShipAndCatalogue(catalogue, ship, rebuilt, records, move);
    table.RecordsSize = rebuilt.RecordsSize;
    return std::nullopt;
}

}  // namespace tovarin
