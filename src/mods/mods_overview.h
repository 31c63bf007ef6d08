#pragma once

#include <string>
#include <vector>

#include "mods/mod_cells.h"
#include "mods/mod_folder.h"
#include "mods/mod_installation.h"

// What a player sees of the mods, the same in "tovarin-cli mods" and on the window's Mods page: each mod with its
// name, what it changes in words and its state, the conflicts of the switched-on ones, and whether the game holds
// the load order as it is now or still waits for an apply.
namespace tovarin {

struct ModShown {
    std::string Name;     // with its folder beside it when another mod has the same name
    std::string State;    // "on and applied", "on, not applied yet", "off", "cannot be switched on", "missing"
    std::string Changes;  // "8 ships, 2 guns", why it cannot be switched on, or a large switched-off mod's size
};

struct ModsOverview {
    std::vector<Mod> Mods;  // in load order
    std::vector<ModValues> Values;
    std::vector<ModShown> Shown;
    std::vector<Conflict> Conflicts;    // of the switched-on mods that can be on
    std::vector<std::string> Problems;  // "X is switched on but cannot be: WHY"
    bool NotApplied = false;            // switched, moved or restored since the last apply
    // "Heavy Metal: Kestrel speedmax made against 600, here 610": each value of a mod made against another original
    std::vector<std::string> OtherOriginals;
};

// The mods of the installation's mods folder as shown.
[[nodiscard]] ModsOverview OverviewOf(const ModInstallation& game);

// The values of the switched-on mods (all mods when `onlyOn` is false) made against an original other than this
// installation's, each line naming its mod.
[[nodiscard]] std::vector<std::string> OtherOriginalsOf(const ModInstallation& game, const std::vector<Mod>& mods,
                                                        bool onlyOn);

// True when an apply of these switched-on mods would record other values than the last apply did: a mod was
// switched, moved, added or changed since, or a file was restored.
[[nodiscard]] bool ModsNotApplied(const ModInstallation& game, const std::vector<ModValues>& on);

// What a mod's values change, in words: "8 ships, 2 guns", "1 missile", "nothing".
[[nodiscard]] std::string ChangesInWords(const Cells& values);

// True when every value of mods[index] is set to another text by a switched-on mod after it: it changes nothing.
[[nodiscard]] bool FullyOverridden(const std::vector<Mod>& mods, const std::vector<ModValues>& values,
                                   std::size_t index);

}  // namespace tovarin
