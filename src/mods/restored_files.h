#pragma once

#include <string>
#include <vector>

#include "gamefiles/file_change_set.h"
#include "installation/installation.h"

// A game file put back to its original holds no mod's value any more. The record of the last apply must forget
// what it laid over that file: otherwise the next apply takes the original values for the player's own change and
// keeps them on top, and the mods, still shown as on, stay out of that file.
namespace tovarin {

// Adds to the change a record of the last apply without the values of these game files (named as the backup names
// them, "Ships\kestrel.iff"); true when it held any, so that the next "mods apply" lays the mods over them again.
bool ForgetAppliedValuesOf(const Installation& game, const std::vector<std::string>& files, FileChangeSet& changes);

}  // namespace tovarin
