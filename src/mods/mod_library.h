#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "mods/mod_folder.h"

// The mods of a game folder's "Tovarin Mods" in load order, changed as the front-ends change them: adding copies
// what a mod is made of into the folder, removing deletes it again, and every change writes the load order file at
// once. Whether a mod fits the installation is not known here: the front-end asks the installation first.
namespace tovarin {

class ModLibrary {
public:
    // The mods in the folder (its full path), in load order.
    explicit ModLibrary(std::string folder);

    [[nodiscard]] const std::string& Folder() const { return folder_; }
    [[nodiscard]] std::vector<Mod>& Mods() { return mods_; }
    [[nodiscard]] const std::vector<Mod>& Mods() const { return mods_; }

    // The place of the mod NAME means: its name or its entry, in any letter case; refused when none or more than
    // one does.
    [[nodiscard]] std::size_t Named(const std::string& name) const;

    // Copies the mod at this path (a folder, whole, or a lone sheet; mods/mod_copy.h) into the folder under its own
    // name, last in the load order, switched on or off. Refused, with nothing copied, for a name the folder holds
    // already or no mod may have; a copy or a load order that fails part-way leaves no copy behind.
    void Add(const Mod& mod, const std::string& path, bool on);

    // Makes a new mod folder holding these files (name, text), last in the load order, switched on or off.
    // Refused for a name that is no folder name or is taken; a folder that fails part-way is taken away again.
    void Make(const std::string& name, const std::vector<std::pair<std::string, std::string>>& files, bool on);

    // Switches the mod off, deletes its mod.ini and sheets (its folder too once empty: files of the player's own
    // stay) and takes it out of the load order. A file that cannot be deleted is refused, the mod left off.
    void Remove(std::size_t index);

    void Switch(std::size_t index, bool on);

    // Moves the mod to a place counted from 0; refused beyond the last.
    void Move(std::size_t index, std::size_t place);

private:
    void Save() const;
    void RefuseTaken(const std::string& entry, const std::string& name) const;

    std::string folder_;
    std::vector<Mod> mods_;
};

}  // namespace tovarin
