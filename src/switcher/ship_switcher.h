#pragma once

#include <string>
#include <vector>

#include "installation/installation.h"

// The "Ship Switcher": two catalogue ships exchange their ship files, so that the game flies one in the other's
// place, and the switch file records the pair; the same swap on a pair parts them again.
namespace tovarin {

// The switcher's list rows: one per catalogue ship, in catalogue order; a ship whose switch entry is not exactly
// its own name shows as "name = partner".
[[nodiscard]] std::vector<std::string> SwitcherRows(const Installation& game);

// What a swap did: the message it was refused with, or the two ship files it exchanged.
struct SwapOutcome {
    std::string Refusal;
    std::string FirstFile, SecondFile;
};

// "< Swap >" with the ship at leftIndex of the left list's rows and the one at rightIndex of the right list's (the
// lists are the catalogue's ships, as SwitcherRows shows them). The two ship files and the switch file change as
// one (gamefiles/file_change_set.h): a failure part-way puts every file back, and when even that fails the next
// start does.
[[nodiscard]] SwapOutcome SwapShips(const Installation& game, const std::vector<std::string>& leftRows,
                                    const std::vector<std::string>& rightRows, int leftIndex, int rightIndex);

}  // namespace tovarin
