#pragma once

#include <string>
#include <vector>

// Folders of the player's own, which the program looks into and tidies: the mods folder and the mods in it.
// Game files are never listed this way; they are addressed by the names the catalogue gives.
namespace tovarin {

// The path of an entry of the folder, joined with the system's separator.
[[nodiscard]] std::string PathIn(const std::string& folder, const std::string& name);

struct FolderEntry {
    std::string Name;
    bool IsFolder = false;
};

// The entries of the folder (files and folders, without "." and ".."), sorted by name; none when the folder is
// missing.
[[nodiscard]] std::vector<FolderEntry> ListFolder(const std::string& path);

// True when a folder exists at the path (a file is not a folder).
[[nodiscard]] bool FolderExists(const std::string& path);

// Removes the folder when it is empty; false when it could not be removed (it holds something, or is missing).
bool RemoveEmptyFolder(const std::string& path);

}  // namespace tovarin
