#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gamefiles/ini_file.h"

// A ship's gun slots: every gun mount of a ship is one record ("gun slot") among the children of the GUNS form.
// The "Add/Remove Guns" tab and the command line read them into a table, copy and delete them in memory, and save
// the table by rebuilding the ship file and moving the positions its catalogue section keeps.
namespace tovarin {

// The most slot records the table reads from a file.
inline constexpr int kMaxGunSlots = 32;

struct GunSlot {
    std::vector<std::uint8_t> Record;  // header, data and the pad byte after odd data
    std::string Name;                  // the text at data offset 8, up to its NUL
    // A name runs to its NUL, which in a damaged record may lie beyond the record; the list shows no more of it
    // than the record holds.
    [[nodiscard]] std::string Listed() const;
};

struct GunSlotTable {
    std::vector<GunSlot> Slots;
    // The bytes the slot records took in the ship file that the catalogue's stored positions last described: a
    // save moves those positions by the difference to the records it writes.
    std::int32_t RecordsSize = 0;
};

// The ship file whose slots are saved, and what its load check needs.
struct SlotShip {
    std::string Path;
    std::string Section;  // the ship's section in the catalogue: its file's name
    std::int32_t GunsBase = 0;
    std::int32_t EngnBase = 0;
    std::size_t GunTypes = 0;      // the length of the gun list, which every mount's type must index
    std::size_t MissileTypes = 0;  // the same for missiles
};

// The slots as the file holds them, from the GUNS form at gunsBase, into `table`. More than 32 records is "List
// index out of bounds" and a record too long for the table "Range check error": the slots read until then stay
// in the table. A last record that runs past the form's end is refused with none, since a copy of it would
// leave the form.
void ReadGunSlots(std::span<const std::uint8_t> file, std::int32_t gunsBase, GunSlotTable& table);

// The slots' names in slot order, as the "Add/Remove Guns" tab lists them, read from a whole ship file; failing as
// ReadGunSlots fails, or as locating the GUNS form does.
[[nodiscard]] std::vector<std::string> SlotNamesOf(std::span<const std::uint8_t> file);

// "&Copy": slot `from` becomes a new last slot that shares its place on the ship. The message of a refusal (the
// loader takes at most 16 guns), or nullopt when copied.
[[nodiscard]] std::optional<std::string> CopyGunSlot(std::vector<GunSlot>& slots, std::size_t from);

// "&Delete": the slot goes and the ones behind it close up. The message of a refusal (the last gun stays), or
// nullopt when deleted.
[[nodiscard]] std::optional<std::string> DeleteGunSlot(std::vector<GunSlot>& slots, std::size_t slot);

// "&Save Modifications": the ship file rebuilt around the table's records, checked to load again with as many
// guns, then written together with the ship's catalogue section, as one change (gamefiles/file_change_set.h). The
// message of a refusal (more than 16 slots), or nullopt when saved; a file that would not load again is an
// Exception and nothing is written.
[[nodiscard]] std::optional<std::string> SaveGunSlots(const TIniFile& catalogue, const SlotShip& ship,
                                                      GunSlotTable& table);

}  // namespace tovarin
