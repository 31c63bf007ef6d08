#include "cli/mod_commands.h"

#include <filesystem>

#include "cli/command_line.h"
#include "cli/game_session.h"
#include "gamefiles/errors.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/system_paths.h"
#include "gamefiles/text_encoding.h"
#include "mods/load_order.h"
#include "mods/mod_installation.h"
#include "mods/mod_library.h"
#include "mods/mod_making.h"
#include "mods/mod_updating.h"
#include "mods/mods_overview.h"

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
    std::filesystem::path path = std::filesystem::absolute(SystemPath(given)).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    return path;
}

}  // namespace

// One line per mod, its fields separated by tabs: place, state, name, version, author, what it changes, description.
int ListMods(const CommandArguments& arguments, Console& console) {
    const ModsOverview overview = OverviewOf(ModInstallation(OpenFleet(arguments.Game)));
    for (std::size_t i = 0; i < overview.Mods.size(); ++i) {
        const ModInfo& info = overview.Mods[i].Info;
        const ModShown& shown = overview.Shown[i];
        console.Out << i + 1 << '\t' << shown.State << '\t' << shown.Name << '\t' << info.Version << '\t' << info.Author
                    << '\t' << shown.Changes << '\t' << info.Description << '\n';
    }
    for (const std::string& line : overview.OtherOriginals) console.Err << line << '\n';
    return kExitDone;
}

int AddMod(const CommandArguments& arguments, Console& console) {
    const std::filesystem::path given = GivenPath(arguments.File);
    const std::optional<Mod> found = ReadMod(PathText(given), PathText(given.filename()));
    if (!found) {
        throw Refusal(arguments.File +
                      " is not a mod: a folder holding mod.ini, ships.csv, guns.csv or missiles.csv, "
                      "or a sheet (.csv)");
    }
    const ModInstallation game(OpenFleet(arguments.Game));
    ModLibrary library(game.ModsFolder());
    const std::string problem = WhyItCannotBeOn(game, *found);
    if (const std::optional<std::size_t> updated = arguments.AsNew ? std::nullopt : library.UpdatedBy(*found)) {
        for (const std::string& line : UpdateMod(game, library, *updated, *found, PathText(given))) {
            console.Out << line << '\n';
        }
        return kExitDone;
    }
    Mod added = *found;
    if (arguments.AsNew) {
        added.Entry = library.FreeEntry(found->Entry);
        added.Info.Name = added.Entry;  // only the folder must be new: a name it shares is shown with its folder
    }
    library.Add(added, PathText(given), problem.empty());
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
    const ModsOverview overview = OverviewOf(ModInstallation(OpenFleet(arguments.Game)));
    for (const std::string& problem : overview.Problems) console.Err << problem << '\n';
    for (const Conflict& conflict : overview.Conflicts) console.Out << ConflictLine(conflict) << '\n';
    return kExitDone;
}

int ApplyMods(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
    std::vector<Mod> mods = InstalledMods(game.ModsFolder());
    const std::vector<ModValues> values = CheckMods(game, mods);
    const ApplyPlan plan = game.PlanApply(SwitchedOn(mods, values), arguments.DropOwnChanges);
    (void)CommitApply(game, plan);
    for (const std::string& line : OtherOriginalsOf(game, mods, true)) console.Err << line << '\n';
    for (const std::string& line : ApplyReport(plan, arguments.DropOwnChanges)) console.Out << line << '\n';
    return kExitDone;
}

int MakeMod(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
    const MadeMod made = tovarin::MakeMod(game, {arguments.Name, "", "", "", ""}, arguments.FromChanges);
    for (const std::string& cell : made.LeftOut) console.Err << LeftOutText(cell) << '\n';
    console.Out << MadeModText(made, made.Folder) << '\n';
    return kExitDone;
}

}  // namespace tovarin::cli
