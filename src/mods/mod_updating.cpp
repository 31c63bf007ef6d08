#include "mods/mod_updating.h"

#include "mods/load_order.h"
#include "mods/mod_description.h"
#include "sheets/refusal.h"

namespace tovarin {

namespace {

Cells ValuesOrNone(const ModInstallation& game, const Mod& mod) {
    if (mod.Missing) return {};
    try {
        return game.ValuesOf(mod);
    } catch (const Refusal&) {
        return {};
    }
}

}  // namespace

std::vector<std::string> UpdateMod(const ModInstallation& game, ModLibrary& library, std::size_t index,
                                   const Mod& found, const std::string& path) {
    const Mod old = library.Mods()[index];
    const Cells before = ValuesOrNone(game, old);
    const std::string problem = WhyItCannotBeOn(game, found);
    library.Update(index, found, path, game.Game().Game.GameFolder, problem.empty());
    const Mod& now = library.Mods()[index];
    std::vector<std::string> lines{"updated " + ShownModName(library.Mods(), index) + " " +
                                   (old.Info.Version.empty() ? "" : old.Info.Version + " -> ") + now.Info.Version +
                                   ", kept at place " + std::to_string(index + 1) + (now.On ? ", on" : ", off")};
    for (const ValueChange& change : ChangedValues(before, ValuesOrNone(game, found), true)) {
        lines.push_back(ChangeLine(change));
    }
    if (!problem.empty()) lines.push_back("switched off: it cannot be switched on: " + problem);
    return lines;
}

}  // namespace tovarin
