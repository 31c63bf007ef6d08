#pragma once

#include <string>
#include <vector>

#include "mods/mod_installation.h"
#include "mods/mod_library.h"

namespace tovarin {

// Puts the mod found at `path` in place of the library's mod at `index` (ModLibrary::Update), switched off when it
// cannot be on, and says what became of it: "updated Heavy Metal 2 -> 3, kept at place 1, on", then each value it
// sets otherwise than the old version did ("Kestrel speedmax 620 -> 660", "Halberd mass 30000 -> (not set)").
[[nodiscard]] std::vector<std::string> UpdateMod(const ModInstallation& game, ModLibrary& library, std::size_t index,
                                                 const Mod& found, const std::string& path);

}  // namespace tovarin
