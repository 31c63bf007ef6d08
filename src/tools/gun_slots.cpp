#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
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
#include "ui/platform.h"

// The "Add/Remove Guns" tab. Every gun mount of a ship is one record ("gun slot") among the children of the
// GUNS form. The tab holds the ship's records in a table, copies and deletes them in memory, and on saving
// rebuilds the ship file around the new set of records: everything behind them moves, the lengths that enclose
// them change, and the file positions that the catalogue keeps for the ship move with them.
namespace tovarin {

namespace Layout = ShipLayout;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A slot's name is the text at data offset 8 of its record.
constexpr std::int32_t kSlotName = Layout::kChunkHeaderSize + Layout::kGunMountName;
constexpr std::int32_t kReadBlock = 1024;

// Positions that the catalogue keeps in the ship's own section, of the missile, decoy, shield and armour data,
// all of which lie behind the gun slots.
constexpr std::array<std::string_view, 4> kStoredPositionKeys{"misspowr", "bdecy", "nfshpowr", "armrdata"};

// The ship loader takes at most 16 gun mounts: a ship with more could never be loaded again.
void RefuseMoreGuns(TForm1& form) {
    form.GetPlatform().ShowMessage("A ship cannot have more than " + IntToStr(kMaxGunMounts) + " guns");
}

std::string GunKey(std::size_t slot) { return "Gun" + IntToStr(static_cast<std::int64_t>(slot) + 1); }

// ---- Reading the slot records ----------------------------------------------------------------------------------

// The low half of a chunk length: two bytes, high byte first.
std::int32_t ReadLengthWord(const std::string& path, std::int32_t position) {
    std::array<std::uint8_t, 2> bytes{};
    ReadBytesAt(path, position, bytes, 2);
    return MakeWord(bytes[1], bytes[0]);
}

// How far the records run, counted from the first one. The form's length counts from GunsBase + 8; a record
// that would start in its last 8 bytes holds no data and is no gun, as the ship loader sees it too.
std::int32_t SlotRecordsLimit(const std::string& path, std::int32_t gunsBase) {
    return ReadLengthWord(path, AddPos(gunsBase, Layout::kLengthWord)) - Layout::kFirstGunMount;
}

// The bytes the record at the position takes: header, data and the pad byte after odd data. The table keeps
// sizes in 8 bits, so data longer than 246 bytes is "Range check error".
std::uint8_t SlotRecordSize(const std::string& path, std::int32_t record) {
    std::int32_t size = ReadByteAt(path, AddPos(record, Layout::kGunMountLengthByte)) + Layout::kChunkHeaderSize;
    if (size % 2 != 0) ++size;
    return ToByte(size);
}

// The bytes the slot records take in the file as it is now, walked exactly as LoadGunSlots walks them.
std::int32_t RecordsSizeInFile(const std::string& path, std::int32_t gunsBase) {
    const std::int32_t firstRecord = AddPos(gunsBase, Layout::kFirstGunMount);
    const std::int32_t limit = SlotRecordsLimit(path, gunsBase);
    std::int32_t size = 0;
    while (size < limit) size = AddPos(size, SlotRecordSize(path, AddPos(firstRecord, size)));
    return size;
}

Bytes ReadExactly(const std::string& path, std::int32_t position, std::int32_t count) {
    Bytes bytes(static_cast<std::size_t>(count));
    if (ReadBytesAt(path, position, bytes, count) != count) throw EInOutError(100);
    return bytes;
}

// Everything from the position to the end of the file.
Bytes ReadRest(const std::string& path, std::int32_t position) {
    Bytes rest;
    Bytes block(kReadBlock);
    for (;;) {
        const std::int32_t got = ReadBytesAt(path, position, block, kReadBlock);
        rest.insert(rest.end(), block.begin(), block.begin() + got);
        if (got < kReadBlock) return rest;
        position = AddPos(position, got);
    }
}

// ---- The table and its list --------------------------------------------------------------------------------------

// Until a ship's slots have been read whole, the table may describe another ship or only part of this one:
// saving it would write wrong records into the ship file, so the save button waits for a complete load.
void ForgetGunSlots(TForm1& form) {
    form.Button14.SetEnabled(false);
    form.GunSlotCount = 0;
    form.ListBox3.Clear();
}

// A name runs to its NUL, which in a damaged record may lie beyond the record; the list shows no more of it
// than the record holds.
std::string ListedName(const TForm1& form, std::size_t slot) {
    return form.GunSlotNames[slot].substr(0, form.GunSlotSizes[slot]);
}

void ListGunSlots(TForm1& form) {
    form.ListBox3.Clear();
    for (std::size_t slot = 0; slot < form.GunSlotCount; ++slot) {
        form.ListBox3.Items().push_back(ListedName(form, slot));
    }
}

void CopySlot(TForm1& form, std::size_t from, std::size_t to) {
    form.GunSlotNames[to] = form.GunSlotNames[from];
    form.GunSlotRecords[to] = form.GunSlotRecords[from];
    form.GunSlotSizes[to] = form.GunSlotSizes[from];
}

// ---- The rebuilt ship file ---------------------------------------------------------------------------------------

struct RebuiltShip {
    Bytes File;
    std::int32_t Shift;  // how many bytes everything behind the records moved (negative: to the front)
};

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

// The new ship file in three pieces: the bytes before the first record, the records of the table, and
// everything behind the records the file holds now. Only what the table replaces changes, so a ship saved
// without changes keeps every byte, whatever follows its guns.
RebuiltShip RebuildShipFile(const TForm1& form, const std::string& path) {
    const std::int32_t gunsBase = form.Ship.GunsBase;
    const std::int32_t firstRecord = AddPos(gunsBase, Layout::kFirstGunMount);
    const std::int32_t oldRecords = RecordsSizeInFile(path, gunsBase);

    Bytes file = ReadExactly(path, 0, firstRecord);
    std::int32_t newRecords = 0;
    for (std::size_t slot = 0; slot < form.GunSlotCount; ++slot) {
        const std::uint8_t size = form.GunSlotSizes[slot];
        file.insert(file.end(), form.GunSlotRecords[slot].begin(), form.GunSlotRecords[slot].begin() + size);
        newRecords += size;
    }
    const Bytes rest = ReadRest(path, AddPos(firstRecord, oldRecords));
    file.insert(file.end(), rest.begin(), rest.end());

    const std::int32_t shift = newRecords - oldRecords;
    // The GUNS form, the file's outermost form and the form that holds the engine and the guns all enclose the
    // records; only the low halves of their lengths are kept up to date.
    ShiftLengthWord(file, firstRecord, AddPos(gunsBase, Layout::kLengthWord), shift);
    ShiftLengthWord(file, firstRecord, Layout::kFileLengthWord, shift);
    ShiftLengthWord(file, firstRecord, AddPos(form.Ship.EngnBase, Layout::kEngineParentLengthWord), shift);
    return {std::move(file), shift};
}

void WriteWholeFile(const std::string& path, const Bytes& bytes) {
    GameFileHandle::CreateNew(path).Close();
    WriteBytesAt(path, 0, bytes, static_cast<std::int32_t>(bytes.size()));
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

bool HasKey(const std::vector<std::string>& names, std::string_view key) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) { return SameKey(name, key); });
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

// The keys the save writes: the slot count, each slot's data offset from GunsBase, the removal of offsets of
// slots that are gone, and the stored positions behind the guns moved by the shift where they are set (1 or
// more).
std::vector<SectionKey> PlanSectionKeys(const TForm1& form, const std::vector<std::string>& names, std::int32_t shift) {
    const std::string& section = form.Ship.ShipFile;
    std::vector<SectionKey> keys{{"Guns", IntToStr(form.GunSlotCount)}};
    std::int32_t data = Layout::kFirstGunMountData;
    for (std::size_t slot = 0; slot < form.GunSlotCount; ++slot) {
        keys.push_back({GunKey(slot), IntToStr(data)});
        data += form.GunSlotSizes[slot];
    }
    for (const std::string& name : names) {
        if (IsGunKeyAbove(name, form.GunSlotCount)) keys.push_back({name, std::nullopt});
    }
    for (std::string_view key : kStoredPositionKeys) {
        const std::int32_t position = form.Catalogue.ReadInteger(section, std::string(key), 0);
        if (position >= 1) keys.push_back({std::string(key), IntToStr(AddPos(position, shift))});
    }
    return keys;
}

// The same keys as they stand now, to put back when the save cannot be finished.
std::vector<SectionKey> KeysAsTheyAre(const TIniFile& catalogue, const std::string& section,
                                      const std::vector<std::string>& names, const std::vector<SectionKey>& keys) {
    std::vector<SectionKey> before;
    for (const SectionKey& key : keys) {
        std::optional<std::string> value;
        if (HasKey(names, key.Key)) value = catalogue.ReadString(section, key.Key, "");
        before.push_back({key.Key, value});
    }
    return before;
}

void WriteSectionKeys(const TIniFile& catalogue, const std::string& section, const std::vector<SectionKey>& keys) {
    for (const SectionKey& key : keys) {
        if (key.Value) {
            catalogue.WriteString(section, key.Key, *key.Value);
        } else {
            catalogue.DeleteKey(section, key.Key);
        }
    }
}

// Puts the keys back after a failed save. The failure itself is what the player is told about; a catalogue
// that refuses this too has refused the save's own writes already.
void PutBackSectionKeys(const TIniFile& catalogue, const std::string& section, const std::vector<SectionKey>& keys) {
    try {
        WriteSectionKeys(catalogue, section, keys);
    } catch (const Exception&) {
    }
}

}  // namespace

// Choosing a ship here loads it exactly as the Ships tab does, then reads its gun slots.
void TForm1::ComboBox6Change() {
    ForgetGunSlots(*this);
    ComboBox1.SetItemIndex(ComboBox6.ItemIndex());
    ComboBox1Change();
    if (!ComboBox1.Text().empty()) LoadGunSlots();
}

void TForm1::LoadGunSlots() {
    const EditorLoad load(*this, Editor::GunSlots);
    const std::string path = ShipPath();
    ForgetGunSlots(*this);
    const std::int32_t firstRecord = AddPos(Ship.GunsBase, Layout::kFirstGunMount);
    const std::int32_t limit = SlotRecordsLimit(path, Ship.GunsBase);
    std::int32_t offset = 0;  // from the first record
    while (offset < limit) {
        const std::int32_t record = AddPos(firstRecord, offset);
        const std::uint8_t size = SlotRecordSize(path, record);
        std::string name;
        ReadStringAt(path, AddPos(record, kSlotName), name);
        const std::size_t slot = CheckIndex(GunSlotCount, kMaxGunSlots);
        GunSlotRecords[slot] = {};
        const Bytes bytes = ReadExactly(path, record, size);
        std::copy(bytes.begin(), bytes.end(), GunSlotRecords[slot].begin());
        GunSlotSizes[slot] = size;
        GunSlotNames[slot] = name;
        ListBox3.Items().push_back(ListedName(*this, slot));
        GunSlotCount = ToByte(GunSlotCount + 1);
        offset += size;
    }
    ListBox3.SetItemIndex(0);
    Button14.SetEnabled(true);
}

// "&Copy": the selected slot, record and name, becomes a new last slot that shares its place on the ship.
void TForm1::Button13Click() {
    if (GunSlotCount >= kMaxGunMounts) {
        RefuseMoreGuns(*this);
        return;
    }
    const std::size_t from = CheckIndex(ListBox3.ItemIndex(), GunSlotCount);
    const std::size_t to = CheckIndex(GunSlotCount, kMaxGunSlots);
    CopySlot(*this, from, to);
    GunSlotCount = ToByte(GunSlotCount + 1);
    ListGunSlots(*this);  // no entry selected: a second copy needs a new choice
}

// "&Delete": the selected slot goes and the ones behind it close up.
void TForm1::Button12Click() {
    if (ListBox3.Items().size() < 2) {
        GetPlatform().ShowMessage("Last gun cannot be removed");
        return;
    }
    const std::size_t removed = CheckIndex(ListBox3.ItemIndex(), GunSlotCount);
    for (std::size_t slot = removed; slot + 1 < GunSlotCount; ++slot) CopySlot(*this, slot + 1, slot);
    GunSlotCount = ToByte(GunSlotCount - 1);
    ListGunSlots(*this);
    ListBox3.SetItemIndex(removed <= 1 ? 0 : static_cast<int>(removed) - 1);
}

// "&Save Modifications". Everything is read, computed and checked before anything is written, so a save that
// is refused changes nothing and can simply be tried again. The catalogue is written before the ship file is
// replaced and put back when the replacement fails: the ship file and its stored positions never disagree.
void TForm1::Button14Click() {
    if (GunSlotCount > kMaxGunMounts) {
        RefuseMoreGuns(*this);
        return;
    }
    const std::string shipPath = ShipPath();
    const std::string tempPath = TempShipPath();
    const std::string section = Ship.ShipFile;

    const RebuiltShip rebuilt = RebuildShipFile(*this, shipPath);
    std::vector<std::string> names;
    Catalogue.ReadSection(section, names);
    const std::vector<SectionKey> keys = PlanSectionKeys(*this, names, rebuilt.Shift);
    const std::vector<SectionKey> before = KeysAsTheyAre(Catalogue, section, names, keys);

    WriteWholeFile(tempPath, rebuilt.File);
    try {
        WriteSectionKeys(Catalogue, section, keys);
        CopyFileBytes(tempPath, shipPath);
    } catch (const Exception&) {
        PutBackSectionKeys(Catalogue, section, before);
        throw;
    }
    // The Ships tab shows the new file; the table and the list already describe it.
    KeepLoadedValues(Editor::GunSlots);
    ComboBox1Change();
}

}  // namespace tovarin
