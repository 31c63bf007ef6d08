#pragma once

#include <string>
#include <string_view>

namespace tovarin {

// The native path of a game file: the game folder (with its trailing separator) joined with a name written
// with backslashes, as the catalogue and the program write them ("Ships\switch.dat"), or with slashes, which
// Windows takes as well and a catalogue may use. Off Windows the backslashes become slashes, and a path component
// that does not exist with its exact spelling is matched without regard to case, because installations copied
// from Windows mix cases freely.
[[nodiscard]] std::string GamePath(const std::string& gameFolder, std::string_view relativeName);

// A file as messages name it: one in the game folder by its path there, with backslashes as the game writes them
// ("Ships\kestrel.iff"); any other by its path as given.
[[nodiscard]] std::string NameInGameFolder(const std::string& gameFolder, const std::string& path);

// Tells the lookup that this program has just made the entry at `path` (a file or a folder) exist, by creating it
// or renaming something to it, or not exist, by deleting it or renaming it away. The file layer calls it for every
// such change, so that a folder listed earlier in a run (run_caches.h) is still listed as it is. Windows lists no
// folder, so there it does nothing.
void NoteFolderEntry(const std::string& path, bool exists);

// The folder part of a full path, up to and including the last separator ("\", "/" or ":").
[[nodiscard]] std::string FolderOf(const std::string& fullPath);

}  // namespace tovarin
