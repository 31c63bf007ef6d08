#pragma once

#include <string>

#include "gamefiles/file_change_set.h"

// "mods add": a downloaded mod copied into "Tovarin Mods" whole (its readme, pictures and licence with its sheets),
// within the bounds of mods/mod_limits.h, and never through a link. Its files and the load order that lists it are
// written as one change of files (gamefiles/file_change_set.h): a failure at any point, or a crash, leaves no file
// of it behind, and the retry finds nothing in its way.
namespace tovarin {

// Plans the copy of the mod at `source` (a folder, or a lone sheet) into `modsFolder` as `entry` in `changes`, its
// folders made already (empty folders are no part of a mod, and one left by a failed add is used again). Refused
// with an Exception naming the file for a link, a pipe or device anywhere in it, a mod beyond the bounds, or a name
// already there, with nothing made.
void PlanModCopy(const std::string& source, const std::string& modsFolder, const std::string& entry,
                 FileChangeSet& changes);

// Takes away the folders PlanModCopy made once the change failed: those that hold nothing.
void RemoveEmptyFolders(const std::string& path);

}  // namespace tovarin
