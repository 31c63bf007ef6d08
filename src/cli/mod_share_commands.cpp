#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/game_session.h"
#include "cli/mod_commands.h"
#include "gamefiles/errors.h"
#include "mods/load_order.h"
#include "mods/mod_description.h"
#include "mods/mod_installation.h"
#include "mods/mod_list_file.h"

// "mods describe": what a mod changes, for a modder to publish; "mods export-list" and "mods import-list": a whole
// set of mods passed on as one file.
namespace tovarin::cli {

int DescribeMod(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
    const std::vector<Mod> mods = InstalledMods(game.ModsFolder());
    const Mod& mod = mods[ModNamed(mods, arguments.Name)];
    const std::string problem = WhyItCannotBeOn(game, mod);
    if (!problem.empty()) throw Refusal(ShownModName(mods, ModNamed(mods, arguments.Name)) + ": " + problem);
    const std::vector<ValueChange> changes = ChangedValues(game.Originals(), game.ValuesOf(mod), false);
    if (arguments.Markdown) {
        console.Out << ModPageMarkdown(mod.Info, changes);
        return kExitDone;
    }
    for (const ValueChange& change : changes) console.Out << ChangeLine(change) << '\n';
    return kExitDone;
}

int ExportModList(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
    const std::string bytes = ModListFileBytes(game, InstalledMods(game.ModsFolder()));
    WriteGivenFile(console, arguments.File, bytes);
    return kExitDone;
}

// Changes nothing until every listed mod is found as listed, unless --anyway; then only the load order is written.
int ImportModList(const CommandArguments& arguments, Console& console) {
    const ModInstallation game(OpenFleet(arguments.Game));
    const std::vector<ListedMod> listed = ReadModList(arguments.File, FileNamed(console.GameFolder, arguments.File));
    const ListImport plan = PlanListImport(game, listed, InstalledMods(game.ModsFolder()));
    for (const std::string& note : plan.Notes) console.Err << note << '\n';
    if (!plan.Problems.empty() && !arguments.Anyway) {
        std::string problems;
        for (const std::string& problem : plan.Problems) problems += "\n" + problem;
        throw Refusal(
            "Nothing was changed: the list's mods are not all here as listed (--anyway sets the order of "
            "those that are):" +
            problems);
    }
    for (const std::string& problem : plan.Problems) console.Err << problem << '\n';
    WriteLoadOrder(game.ModsFolder(), plan.Order);
    console.Out << "load order set from " << FileNamed(console.GameFolder, arguments.File)
                << ": \"mods apply\" puts it into the game\n";
    return kExitDone;
}

}  // namespace tovarin::cli
