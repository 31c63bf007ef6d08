#include "cli/mod_commands.h"

#include <filesystem>

#include "cli/command_line.h"
#include "cli/game_session.h"
#include "gamefiles/errors.h"
#include "gamefiles/game_paths.h"
#include "mods/load_order.h"
#include "mods/mod_installation.h"
#include "mods/mod_library.h"

// "mods": the load order of the mods in "Tovarin Mods", switching them on and off, their conflicts, laying them
// over the kept originals, and making a mod of one's own changes.
namespace tovarin::cli {

namespace {

// The mods in load order. Switching off, moving and removing need nothing of the game's values, but the game is
// opened as for every command: an unfinished change is put back first.
ModLibrary LibraryOf(const std::string& game) {
    return ModLibrary(GamePath(OpenGameAsItIs(game).GameFolder, kModsFolderName));
}

// A path as given on the command line, absolute and without a separator at its end: the last part names the mod.
std::filesystem::path GivenPath(const std::string& given) {
    std::filesystem::path path = std::filesystem::absolute(given).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    return path;
}

}  // namespace

int ListMods(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
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
    const std::optional<Mod> found = ReadMod(given.string(), given.filename().string());
    if (!found) {
        throw Refusal(arguments.File +
                      " is not a mod: a folder holding mod.ini, ships.csv, guns.csv or missiles.csv, "
                      "or a sheet (.csv)");
    }
    const ModInstallation game(OpenFleet(arguments.Game));
    ModLibrary library(game.ModsFolder());
    const std::string problem = WhyItCannotBeOn(game, *found);
    library.Add(*found, given.string(), problem.empty());
    if (!problem.empty()) {  // added, but a script must be able to tell that it is not on
        console.Err << found->Info.Name << " was added switched off: it cannot be switched on: " << problem << '\n';
        return kExitRefused;
    }
    return kExitDone;
}

int RemoveMod(const CommandArguments& arguments, Console&) {
    ModLibrary library = LibraryOf(arguments.Game);
    library.Remove(library.Named(arguments.Name));
    return kExitDone;
}

int SwitchModOn(const CommandArguments& arguments, Console&) {
    const ModInstallation game(OpenFleet(arguments.Game));
    ModLibrary library(game.ModsFolder());
    const std::size_t index = library.Named(arguments.Name);
    const std::string problem = WhyItCannotBeOn(game, library.Mods()[index]);
    if (!problem.empty()) throw Refusal(library.Mods()[index].Info.Name + " cannot be switched on: " + problem);
    library.Switch(index, true);
    return kExitDone;
}

int SwitchModOff(const CommandArguments& arguments, Console&) {
    ModLibrary library = LibraryOf(arguments.Game);
    library.Switch(library.Named(arguments.Name), false);
    return kExitDone;
}

int MoveMod(const CommandArguments& arguments, Console&) {
    ModLibrary library = LibraryOf(arguments.Game);
    const std::size_t index = library.Named(arguments.Name);
    const auto count = static_cast<int>(library.Mods().size());
    if (arguments.Position < 1 || arguments.Position > count) {
        throw Refusal("Position " + std::to_string(arguments.Position) + ": the load order has places 1 to " +
                      std::to_string(count));
    }
    library.Move(index, static_cast<std::size_t>(arguments.Position - 1));
    return kExitDone;
}

int ShowModConflicts(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
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
    const ModInstallation game(OpenFleet(arguments.Game));
    std::vector<Mod> mods = InstalledMods(game.ModsFolder());
    const std::vector<ModValues> values = CheckMods(game, mods);
    const ApplyPlan plan = game.PlanApply(SwitchedOn(mods, values), arguments.DropOwnChanges);
    (void)CommitApply(game, plan);
    for (const std::string& line : ApplyReport(plan, arguments.DropOwnChanges)) console.Out << line << '\n';
    return kExitDone;
}

// The mod holds what the installation holds already, so it is switched on where it can be.
int MakeMod(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
    ModLibrary library(game.ModsFolder());
    const std::string gameName = game.Game().Game.Catalogue.ReadString("Info", "VK", "");
    std::vector<std::pair<std::string, std::string>> files{
        {kModFileName, ModFileText({arguments.Name, "1.0", "", "", gameName})}};
    if (arguments.FromChanges) {
        std::vector<std::string> leftOut;
        for (const auto& [kind, sheet] : game.OwnChangeSheets(leftOut)) {
            files.emplace_back(SheetFileName(kind), WriteCsv(sheet));
        }
        for (const std::string& cell : leftOut) {
            console.Err << cell << " left out: a sheet cannot set or clear a value that one side lacks\n";
        }
    }
    library.Make(arguments.Name, files, false);
    const std::size_t made = library.Mods().size() - 1;
    console.Out << "made " << kModsFolderName << "\\" << arguments.Name << ": ";
    try {
        console.Out << ChangesSummary(game.ValuesOf(library.Mods()[made])) << '\n';
        library.Switch(made, true);
    } catch (const Refusal& refusal) {
        console.Out << "switched off, as it cannot be switched on: " << refusal.what() << '\n';
    }
    return kExitDone;
}

}  // namespace tovarin::cli
