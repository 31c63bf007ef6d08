#include "cli/mod_commands.h"

#include <filesystem>

#include "cli/command_line.h"
#include "cli/game_session.h"
#include "cli/mod_installation.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/whole_files.h"
#include "mods/load_order.h"

// "mods": the load order of the mods in "Tovarin Mods", switching them on and off, their conflicts, laying them
// over the kept originals, and making a mod of one's own changes.
namespace tovarin::cli {

namespace {

// The mods folder and its mods in load order, read without opening the game.
struct ModsFolder {
    std::string Path;
    std::vector<Mod> Mods;
};

ModsFolder ReadModsFolder(const std::string& game) {
    ModsFolder folder{GamePath(GameFolderOf(game), kModsFolderName), {}};
    folder.Mods = InstalledMods(folder.Path);
    return folder;
}

std::size_t Named(const std::vector<Mod>& mods, const std::string& name) {
    try {
        return ModNamed(mods, name);
    } catch (const Exception& error) {
        throw Refusal(error.Message());
    }
}

void Listable(const std::string& entry) {
    try {
        CheckListable(entry);
    } catch (const Exception& error) {
        throw Refusal(error.Message());
    }
}

void SaveLoadOrder(const ModsFolder& folder) {
    try {
        WriteLoadOrder(folder.Path, folder.Mods);
    } catch (const Exception& error) {
        throw Refusal(PathIn(folder.Path, kLoadOrderFileName) + ": " + error.Message() + ".");
    }
}

// A path as given on the command line, absolute and without a separator at its end: the last part names the mod.
std::filesystem::path GivenPath(const std::string& given) {
    std::filesystem::path path = std::filesystem::absolute(given).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    return path;
}

// Copies the files, removing what it copied when one fails; the folder is made first when given.
void CopyFiles(const std::vector<std::pair<std::string, std::string>>& files, const std::string& folder) {
    std::vector<std::string> copied;
    try {
        if (!folder.empty()) CreateFolder(folder);
        for (const auto& [from, to] : files) {
            ReplaceWholeFile(to, ReadWholeFileReadOnly(from));
            copied.push_back(to);
        }
    } catch (const Exception& error) {
        for (const std::string& file : copied) DeleteFileAt(file);
        if (!folder.empty()) RemoveEmptyFolder(folder);
        throw Refusal(error.Message() + ": the mod was not added.");
    }
}

void MakeFolder(const std::string& path) {
    try {
        CreateFolder(path);
    } catch (const Exception& error) {
        throw Refusal(path + ": " + error.Message() + ".");
    }
}

std::string OwnChangeLine(const char* what, const CellAddress& address, const std::string& text) {
    return std::string(what) + " your own change: " + address.Name() + " " + text;
}

}  // namespace

int ListMods(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(arguments.Game);
    std::vector<Mod> mods = InstalledMods(game.ModsFolder());
    const std::vector<ModValues> values = CheckMods(game, mods);
    for (std::size_t i = 0; i < mods.size(); ++i) {
        console.Out << i + 1 << '\t' << (mods[i].On ? "on" : "off") << '\t' << mods[i].Info.Name << '\t'
                    << mods[i].Info.Version << '\t'
                    << (mods[i].Problem.empty() ? ChangesSummary(values[i].Values)
                                                : "cannot be switched on: " + mods[i].Problem)
                    << '\n';
    }
    return kExitDone;
}

int AddMod(const CommandArguments& arguments, Console& console) {
    const std::filesystem::path given = GivenPath(arguments.File);
    const std::string entry = given.filename().string();
    Listable(entry);
    const std::optional<Mod> found = ReadMod(given.string(), entry);
    if (!found) {
        throw Refusal(arguments.File +
                      " is not a mod: a folder holding mod.ini, ships.csv, guns.csv or missiles.csv, "
                      "or a sheet (.csv)");
    }
    const ModInstallation game(arguments.Game);
    ModsFolder folder{game.ModsFolder(), InstalledMods(game.ModsFolder())};
    for (const Mod& mod : folder.Mods) {
        if (SameModName(mod.Entry, entry) || SameModName(mod.Info.Name, found->Info.Name)) {
            throw Refusal("\"" + std::string(kModsFolderName) + "\" holds a mod named " + mod.Info.Name +
                          " already; remove it first");
        }
    }
    std::vector<std::pair<std::string, std::string>> files;
    const std::string target = PathIn(folder.Path, entry);
    if (!FolderExists(given.string())) {
        files.emplace_back(given.string(), target);
    } else {
        for (const std::string& file : ModFilesIn(given.string())) {
            files.emplace_back(PathIn(given.string(), file), PathIn(target, file));
        }
    }
    MakeFolder(folder.Path);
    CopyFiles(files, FolderExists(given.string()) ? target : "");
    Mod added = *ReadMod(target, entry);
    try {
        (void)game.ValuesOf(added);
        added.On = true;
    } catch (const Refusal& refusal) {
        console.Out << added.Info.Name << " was added switched off: it cannot be switched on: " << refusal.what()
                    << '\n';
    }
    folder.Mods.push_back(std::move(added));
    SaveLoadOrder(folder);
    return kExitDone;
}

int RemoveMod(const CommandArguments& arguments, Console&) {
    ModsFolder folder = ReadModsFolder(arguments.Game);
    const std::size_t index = Named(folder.Mods, arguments.Name);
    const Mod mod = folder.Mods[index];
    // Off first: a mod whose files cannot all be deleted stays in the list, but changes nothing.
    folder.Mods[index].On = false;
    SaveLoadOrder(folder);
    const std::string path = PathIn(folder.Path, mod.Entry);
    if (FolderExists(path)) {
        for (const std::string& file : ModFilesIn(path)) {
            if (!DeleteFileAt(PathIn(path, file))) {
                throw Refusal(PathIn(path, file) + " could not be deleted; " + mod.Info.Name + " is switched off.");
            }
        }
        RemoveEmptyFolder(path);  // files of the player's own beside the mod's keep their folder
    } else if (!DeleteFileAt(path)) {
        throw Refusal(path + " could not be deleted; " + mod.Info.Name + " is switched off.");
    }
    folder.Mods.erase(folder.Mods.begin() + static_cast<std::ptrdiff_t>(index));
    SaveLoadOrder(folder);
    return kExitDone;
}

int SwitchModOn(const CommandArguments& arguments, Console&) {
    const ModInstallation game(arguments.Game);
    ModsFolder folder{game.ModsFolder(), InstalledMods(game.ModsFolder())};
    Mod& mod = folder.Mods[Named(folder.Mods, arguments.Name)];
    Listable(mod.Entry);
    try {
        (void)game.ValuesOf(mod);
    } catch (const Refusal& refusal) {
        throw Refusal(mod.Info.Name + " cannot be switched on: " + refusal.what());
    }
    mod.On = true;
    SaveLoadOrder(folder);
    return kExitDone;
}

int SwitchModOff(const CommandArguments& arguments, Console&) {
    ModsFolder folder = ReadModsFolder(arguments.Game);
    folder.Mods[Named(folder.Mods, arguments.Name)].On = false;
    SaveLoadOrder(folder);
    return kExitDone;
}

int MoveMod(const CommandArguments& arguments, Console&) {
    ModsFolder folder = ReadModsFolder(arguments.Game);
    const std::size_t from = Named(folder.Mods, arguments.Name);
    const auto count = static_cast<int>(folder.Mods.size());
    if (arguments.Position < 1 || arguments.Position > count) {
        throw Refusal("Position " + std::to_string(arguments.Position) + ": the load order has places 1 to " +
                      std::to_string(count));
    }
    Mod mod = std::move(folder.Mods[from]);
    folder.Mods.erase(folder.Mods.begin() + static_cast<std::ptrdiff_t>(from));
    folder.Mods.insert(folder.Mods.begin() + arguments.Position - 1, std::move(mod));
    SaveLoadOrder(folder);
    return kExitDone;
}

int ShowModConflicts(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(arguments.Game);
    std::vector<Mod> mods = InstalledMods(game.ModsFolder());
    const std::vector<ModValues> values = CheckMods(game, mods);
    std::vector<ModValues> on;
    for (std::size_t i = 0; i < mods.size(); ++i) {
        if (!mods[i].On) continue;
        if (mods[i].Problem.empty()) {
            on.push_back(values[i]);
        } else {
            console.Err << mods[i].Info.Name << " is switched on but cannot be: " << mods[i].Problem << '\n';
        }
    }
    for (const Conflict& conflict : FindConflicts(on)) console.Out << ConflictLine(conflict) << '\n';
    return kExitDone;
}

int ApplyMods(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(arguments.Game);
    std::vector<Mod> mods = InstalledMods(game.ModsFolder());
    const std::vector<ModValues> values = CheckMods(game, mods);
    const ApplyPlan plan = game.PlanApply(SwitchedOn(mods, values), arguments.DropOwnChanges);
    (void)CommitApply(game, plan);
    for (const Conflict& conflict : plan.Conflicts) console.Out << ConflictLine(conflict) << '\n';
    for (const auto& [address, text] : plan.OwnChanges) {
        console.Out << OwnChangeLine(arguments.DropOwnChanges ? "dropped" : "kept", address, text) << '\n';
    }
    std::size_t changed = 0;
    for (const PlannedFile& file : plan.Files) {
        if (file.File.starts_with(kModsFolderName)) continue;  // the record of the apply, not a game file
        console.Out << file.File << " changed\n";
        ++changed;
    }
    console.Out << changed << (changed == 1 ? " file" : " files") << " changed\n";
    return kExitDone;
}

int MakeMod(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(arguments.Game);
    ModsFolder folder{game.ModsFolder(), InstalledMods(game.ModsFolder())};
    const std::string& name = arguments.Name;
    if (name.empty() || name.find_first_of("\\/:*?\"<>|") != std::string::npos || name == "." || name == "..") {
        throw Refusal(name + " cannot name a folder: leave out \\ / : * ? \" < > |");
    }
    Listable(name);
    const std::string target = PathIn(folder.Path, name);
    if (FolderExists(target) || FileExists(target)) {
        throw Refusal(target + " is there already: choose another name, or remove it first");
    }
    const std::string gameName = game.Game().Game.Catalogue.ReadString("Info", "VK", "");
    std::vector<std::pair<std::string, std::string>> texts{
        {kModFileName, ModFileText({name, "1.0", "", "", gameName})}};
    Cells values;
    if (arguments.FromChanges) {
        std::vector<std::string> leftOut;
        for (const auto& [kind, sheet] : game.OwnChangeSheets(leftOut))
            texts.emplace_back(SheetFileName(kind), WriteCsv(sheet));
        for (const std::string& cell : leftOut) {
            console.Err << cell << " left out: a sheet cannot set or clear a value that one side lacks\n";
        }
    }
    MakeFolder(folder.Path);
    std::vector<std::string> written;
    try {
        CreateFolder(target);
        for (const auto& [file, text] : texts) {
            ReplaceWholeFile(PathIn(target, file), std::vector<std::uint8_t>(text.begin(), text.end()));
            written.push_back(PathIn(target, file));
        }
    } catch (const Exception& error) {
        for (const std::string& file : written) DeleteFileAt(file);
        RemoveEmptyFolder(target);
        throw Refusal(target + ": " + error.Message() + ": no mod was made.");
    }
    Mod made = *ReadMod(target, name);
    console.Out << "made " << kModsFolderName << "\\" << name << ": ";
    try {
        console.Out << ChangesSummary(game.ValuesOf(made)) << '\n';
        made.On = true;  // it holds what the installation holds already
    } catch (const Refusal& refusal) {
        console.Out << "switched off, as it cannot be switched on: " << refusal.what() << '\n';
    }
    folder.Mods.push_back(std::move(made));
    SaveLoadOrder(folder);
    return kExitDone;
}

}  // namespace tovarin::cli
