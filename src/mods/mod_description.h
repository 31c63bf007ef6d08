#pragma once

#include <string>
#include <vector>

#include "mods/mod_cells.h"
#include "mods/mod_folder.h"

// What a mod changes, value by value, as a modder publishes it and as an update is told: "Kestrel speedmax 600 ->
// 660", in the order of the sheets.
namespace tovarin {

struct ValueChange {
    CellAddress Address;
    std::string Before;  // "" where nothing set it
    std::string After;   // "" where nothing sets it now
};

// The values of `after` that differ from `before`, and those `before` set that `after` no longer does when
// `dropped` is asked for (an update that leaves a value out).
[[nodiscard]] std::vector<ValueChange> ChangedValues(const Cells& before, const Cells& after, bool dropped);

// "Kestrel speedmax 600 -> 660"; a value set or left out by an update reads "(not set)" on that side.
[[nodiscard]] std::string ChangeLine(const ValueChange& change);

// A mod page in Markdown: the mod's name and version as its heading, who made it, its description, and one table
// per sheet of what it changes against the originals.
[[nodiscard]] std::string ModPageMarkdown(const ModInfo& info, const std::vector<ValueChange>& changes);

}  // namespace tovarin
