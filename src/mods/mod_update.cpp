#include <algorithm>

#include "gamefiles/case_fold.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/whole_files.h"
#include "mods/load_order.h"
#include "mods/mod_copy.h"
#include "mods/mod_library.h"

// A new version of a mod the player has: its files take the place of the old ones in the old one's folder, so that
// the load order keeps it where the player put it.
namespace tovarin {

std::optional<std::size_t> ModLibrary::UpdatedBy(const Mod& mod) const {
    for (std::size_t i = 0; i < mods_.size(); ++i) {
        if (SameModName(mods_[i].Entry, mod.Entry)) return i;
    }
    std::optional<std::size_t> named;
    for (std::size_t i = 0; i < mods_.size(); ++i) {
        if (!SameModName(mods_[i].Info.Name, mod.Info.Name)) continue;
        if (named) return std::nullopt;  // two of that name: which one it updates is the player's call (--as-new)
        named = i;
    }
    return named;
}

std::string ModLibrary::FreeEntry(const std::string& entry) const {
    const bool sheet = entry.size() > 4 && FoldedCase(entry.substr(entry.size() - 4)) == ".csv";
    const std::string stem = sheet ? entry.substr(0, entry.size() - 4) : entry;
    for (int n = 2;; ++n) {
        const std::string candidate = stem + " (" + std::to_string(n) + ")" + (sheet ? ".csv" : "");
        const bool taken =
            std::any_of(mods_.begin(), mods_.end(), [&](const Mod& m) { return SameModName(m.Entry, candidate); }) ||
            FolderExists(PathIn(folder_, candidate)) || FileExists(PathIn(folder_, candidate));
        if (!taken) return candidate;
    }
}

void ModLibrary::Update(std::size_t index, const Mod& mod, const std::string& path, const std::string& gameFolder,
                        bool on) {
    Mod& old = mods_.at(index);
    const std::string target = PathIn(folder_, old.Entry);
    const bool folder = FolderExists(path);
    if (old.Missing || folder != FolderExists(target)) {
        // Found again, or a folder in place of a lone sheet: added anew under its old entry, at its old place.
        Mod moved = mod;
        moved.Entry = folder || FoldedCase(old.Entry).ends_with(".csv") ? old.Entry : old.Entry + ".csv";
        const bool wasOn = old.On;
        if (!old.Missing)
            Remove(index);
        else
            mods_.erase(mods_.begin() + static_cast<std::ptrdiff_t>(index));
        Add(moved, path, on && wasOn);
        Move(mods_.size() - 1, std::min(index, mods_.size() - 1));
        return;
    }
    FileChangeSet changes(gameFolder, "the update of " + old.Info.Name);
    std::vector<std::string> made;
    if (folder) {
        // The whole new version comes, as at a first add; of the old one's mod.ini and sheets, those it no longer
        // has go. Its other files stay: the player's own notes cannot be told from the old version's readme.
        const std::vector<std::string> now = ModFilesIn(path);
        for (const std::string& file : ModFilesIn(target)) {
            const bool kept =
                std::any_of(now.begin(), now.end(), [&](const std::string& f) { return SameModName(f, file); });
            if (!kept) changes.Remove(PathIn(target, file));
        }
        made = PlanModCopy(path, folder_, old.Entry, changes, true);
    } else {
        changes.Replace(target, ReadWholeFileReadOnly(path));
    }
    try {
        (void)changes.Commit();
    } catch (const Exception&) {
        RemoveFoldersMade(made);
        throw;
    }
    Mod updated = *ReadMod(target, old.Entry);
    updated.On = old.On && on;
    old = std::move(updated);
    Save();
}

}  // namespace tovarin
