#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mods/mod_cells.h"

// What the last "mods apply" laid over the originals: every value the switched-on mods set, as the sheets name
// it. A value that differs now from what the mods made of it was changed since in the editor, by the player's own
// hand, and stays on top at the next apply. Kept in the mods folder as a sheet of its own, which no mod reads.
namespace tovarin {

inline constexpr const char* kAppliedFileName = "applied.dat";

// A value of the record, by names: the binding to the installation finds its address.
struct AppliedValue {
    SheetKind Kind = SheetKind::Ships;
    std::string Item;
    std::string Key;
    std::string Text;
};

// The record's values; none when there is no record (nothing was applied yet). A record that cannot be read is
// refused, naming the file.
[[nodiscard]] std::vector<AppliedValue> ReadAppliedRecord(const std::string& path);

// The record's bytes for these values.
[[nodiscard]] std::vector<std::uint8_t> AppliedRecordBytes(const Cells& values);
[[nodiscard]] std::vector<std::uint8_t> AppliedRecordBytes(const std::vector<AppliedValue>& values);

}  // namespace tovarin
