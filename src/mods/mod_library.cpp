#include "mods/mod_library.h"

#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/plain_files.h"
#include "gamefiles/whole_files.h"
#include "mods/load_order.h"
#include "mods/mod_copy.h"
#include "mods/mod_names.h"

namespace tovarin {

namespace {

// Writes the files (path, bytes) into a folder made first when given; what was written is taken away again when
// one fails, and the failure names the file.
void WriteNew(const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files, const std::string& folder) {
    std::vector<std::string> written;
    std::string failing = folder;
    try {
        if (!folder.empty()) CreateFolder(folder);
        for (const auto& [path, bytes] : files) {
            failing = path;
            ReplaceWholeFile(path, bytes);
            written.push_back(path);
        }
    } catch (const Exception& error) {
        for (const std::string& file : written) DeleteFileAt(file);
        if (!folder.empty()) RemoveEmptyFolder(folder);
        throw Exception(failing + ": " + error.Message());
    }
}

// The game folder, with its separator, that holds the mods folder.
std::string GameFolderOf(const std::string& modsFolder) {
    const std::size_t last = modsFolder.find_last_of("\\/", modsFolder.size() - 2);
    return last == std::string::npos ? "" : modsFolder.substr(0, last + 1);
}

std::vector<std::uint8_t> BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

void MakeFolder(const std::string& path) {
    try {
        CreateFolder(path);
    } catch (const Exception& error) {
        throw Exception(path + ": " + error.Message());
    }
}

}  // namespace

ModLibrary::ModLibrary(std::string folder) : folder_(std::move(folder)), mods_(InstalledMods(folder_)) {}

std::size_t ModLibrary::Named(const std::string& name) const { return ModNamed(mods_, name); }

void ModLibrary::Add(const Mod& mod, const std::string& path, bool on) {
    RefuseTaken(mod.Entry, mod.Info.Name);
    const std::string target = PathIn(folder_, mod.Entry);
    std::vector<LoadOrderEntry> listed;
    for (const Mod& other : mods_) listed.push_back({other.Entry, other.On});
    listed.push_back({mod.Entry, on});
    const std::string order = LoadOrderText(listed);
    FileChangeSet changes(GameFolderOf(folder_), "the adding of the mod " + mod.Entry);
    (void)PlanModCopy(path, folder_, mod.Entry, changes);
    changes.Replace(PathIn(folder_, kLoadOrderFileName), {order.begin(), order.end()});
    try {
        (void)changes.Commit();
    } catch (const Exception&) {
        RemoveEmptyFolders(target);
        throw;
    }
    Mod added = *ReadMod(target, mod.Entry);
    added.On = on;
    mods_.push_back(std::move(added));
}

void ModLibrary::Make(const std::string& name, const std::vector<std::pair<std::string, std::string>>& files, bool on) {
    if (const std::string problem = ModNameProblem(name); !problem.empty()) throw Exception(problem);
    RefuseTaken(name, name);
    const std::string target = PathIn(folder_, name);
    if (FolderExists(target) || FileExists(target)) {
        throw Exception(target + " is there already: choose another name, or remove it first");
    }
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> written;
    for (const auto& [file, text] : files) written.emplace_back(PathIn(target, file), BytesOf(text));
    MakeFolder(folder_);
    WriteNew(written, target);
    Mod made = *ReadMod(target, name);
    made.On = on;
    mods_.push_back(std::move(made));
    Save();
}

void ModLibrary::Remove(std::size_t index) {
    const Mod mod = mods_.at(index);
    // Off first: a mod whose files cannot all be deleted stays in the list, but changes nothing.
    Switch(index, false);
    const std::string path = PathIn(folder_, mod.Entry);
    if (EntryTypeAt(path) == EntryType::Link) {
        // The link itself goes, never what it points to.
        if (!DeleteTree(path)) throw Exception(path + " could not be deleted; " + mod.Info.Name + " is switched off");
        mods_.erase(mods_.begin() + static_cast<std::ptrdiff_t>(index));
        Save();
        return;
    }
    const auto refuse = [&mod](const std::string& file) {
        throw Exception(file + " could not be deleted; " + mod.Info.Name + " is switched off");
    };
    if (mod.Missing) {
        // Nothing of it is there to delete: only its entry goes.
    } else if (FolderExists(path)) {
        for (const std::string& file : ModFilesIn(path)) {
            if (!DeleteFileAt(PathIn(path, file))) refuse(PathIn(path, file));
        }
        RemoveEmptyFolder(path);  // files of the player's own beside the mod's keep their folder
    } else if (!DeleteFileAt(path)) {
        refuse(path);
    }
    mods_.erase(mods_.begin() + static_cast<std::ptrdiff_t>(index));
    Save();
}

void ModLibrary::Switch(std::size_t index, bool on) {
    if (on) CheckListable(mods_.at(index).Entry);
    mods_.at(index).On = on;
    Save();
}

void ModLibrary::Move(std::size_t index, std::size_t place) {
    if (place >= mods_.size()) throw ERangeError();
    Mod mod = std::move(mods_.at(index));
    mods_.erase(mods_.begin() + static_cast<std::ptrdiff_t>(index));
    mods_.insert(mods_.begin() + static_cast<std::ptrdiff_t>(place), std::move(mod));
    Save();
}

void ModLibrary::Save() const {
    try {
        WriteLoadOrder(folder_, mods_);
    } catch (const Exception& error) {
        throw Exception(PathIn(folder_, kLoadOrderFileName) + ": " + error.Message());
    }
}

void ModLibrary::RefuseTaken(const std::string& entry, const std::string& name) const {
    CheckListable(entry);
    for (const Mod& mod : mods_) {
        if (SameModName(mod.Entry, entry) || SameModName(mod.Info.Name, name)) {
            throw Exception("\"" + std::string(kModsFolderName) + "\" holds a mod named " + mod.Info.Name +
                            " already; remove it first");
        }
    }
}

}  // namespace tovarin
