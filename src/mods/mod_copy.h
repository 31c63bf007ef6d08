#pragma once

#include <string>
#include <vector>

#include "gamefiles/file_change_set.h"

// "mods add": a downloaded mod copied into "Tovarin Mods" whole (its readme, pictures and licence with its sheets),
// within the bounds of mods/mod_limits.h, and never through a link. Its files and the load order that lists it are
// written as one change of files (gamefiles/file_change_set.h): a failure at any point, or a crash, leaves no file
// of it behind, and the retry finds nothing in its way.
namespace tovarin {

// Plans the copy of the mod at `source` (a folder, or a lone sheet) into `modsFolder` as `entry` in `changes`, its
// folders made already (empty folders are no part of a mod, and one left by a failed add is used again). Refused
// with an Exception naming the file for a link, a pipe or device anywhere in it, a mod beyond the bounds, or a name
// already there, with nothing made. With `update` the folder holds an older version of the mod: the new files take
// the places of those of the same names, in any letter case, and the others stay. Returns the folders it made, which
// RemoveFoldersMade takes away again when the change fails.
std::vector<std::string> PlanModCopy(const std::string& source, const std::string& modsFolder, const std::string& entry,
                                     FileChangeSet& changes, bool update = false);

// Takes away those of the folders that hold nothing (the last made first).
void RemoveFoldersMade(const std::vector<std::string>& folders);

// Takes away the folders PlanModCopy made once the change failed: those that hold nothing.
void RemoveEmptyFolders(const std::string& path);

}  // namespace tovarin
