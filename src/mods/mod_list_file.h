#pragma once

#include <string>
#include <vector>

#include "mods/mod_folder.h"
#include "mods/mod_installation.h"

// A whole set of mods passed on as one file: the load order with each mod's switch, version and SHA-256 of its
// files and of the originals it was applied over, so that a friend with the same mods gets the same game, and is
// told which mod is missing or is another copy.
namespace tovarin {

struct ListedMod {
    std::string Entry;  // its folder or lone sheet in "Tovarin Mods"
    std::string Name;
    std::string Version;
    bool On = false;
    std::string Files;      // SHA-256 of what the mod is made of
    std::string Originals;  // SHA-256 of the original game files its values go into
};

// The file's text for these mods (in load order), UTF-8 behind a byte-order mark when a name is not ASCII.
[[nodiscard]] std::string ModListFileBytes(const ModInstallation& game, const std::vector<Mod>& mods);

// The list in a file written so; refused naming the file when it is none.
[[nodiscard]] std::vector<ListedMod> ReadModList(const std::string& path, const std::string& shownName);

// The SHA-256 of a mod's files: each file's name in folded case and its bytes, in the order ModFilesIn gives them.
[[nodiscard]] std::string ModFilesDigest(const std::string& modsFolder, const Mod& mod);

struct ListImport {
    std::vector<Mod> Order;             // the load order to write
    std::vector<std::string> Problems;  // each mod missing or differing: nothing is changed for them unless asked
    std::vector<std::string> Notes;     // originals here other than the list's: told, never refused
};

// The load order that the list gives the installed mods: the listed ones in its order and switches, the others
// after them, switched off.
[[nodiscard]] ListImport PlanListImport(const ModInstallation& game, const std::vector<ListedMod>& listed,
                                        const std::vector<Mod>& installed);

}  // namespace tovarin
