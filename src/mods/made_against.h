#pragma once

#include <string>
#include <vector>

#include "mods/mod_cells.h"
#include "mods/mod_folder.h"
#include "mods/mod_installation.h"

// The originals a mod was made against, kept in its mod.ini by "mods make": a mod made for another version or
// edition of the game changes values whose original there was not the one here, and the player is told which,
// value by value, without the mod being refused.
namespace tovarin {

inline constexpr const char* kMadeAgainstSection = "Made against";

// mod.ini's section for these originals: "ship/Kestrel/speedmax=600", one line per value.
[[nodiscard]] std::string MadeAgainstText(const Cells& originals);

// The values of the mod whose original in this installation differs from the one it was made against:
// "Kestrel speedmax made against 600, here 610". None for a mod that records no originals.
[[nodiscard]] std::vector<std::string> OriginalsDiffering(const ModInstallation& game, const Mod& mod,
                                                          const std::string& modsFolder);

}  // namespace tovarin
