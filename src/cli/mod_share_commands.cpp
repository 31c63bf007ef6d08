#include "cli/command_line.h"
#include "cli/game_session.h"
#include "cli/mod_commands.h"
#include "gamefiles/errors.h"
#include "mods/load_order.h"
#include "mods/mod_description.h"
#include "mods/mod_installation.h"

// "mods describe": what a mod changes, for a modder to publish.
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

}  // namespace tovarin::cli
