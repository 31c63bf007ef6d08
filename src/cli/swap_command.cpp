#include <algorithm>

#include "cli/command_line.h"
#include "cli/game_session.h"
#include "cli/tool_commands.h"
#include "gamefiles/errors.h"
#include "sheets/names_meant.h"
#include "switcher/ship_switcher.h"

namespace tovarin::cli {

// "swap A B": the switcher's "< Swap >" with A chosen on the left and B on the right, refused with its messages.
int SwapShips(const CommandArguments& arguments, Console&) {
    const Installation game = OpenGame(arguments.Game);
    const std::vector<std::string> ships = CatalogueShips(game.Catalogue);
    const auto indexOf = [&](const std::string& name) {
        const std::optional<std::size_t> at = FindMeant(ships, name, "ship");
        if (!at) throw Refusal("Unknown ship: " + Abbreviated(name));
        return static_cast<int>(*at);
    };
    const int left = indexOf(arguments.Name);
    const int right = indexOf(arguments.OtherName);
    const std::vector<std::string> rows = SwitcherRows(game);
    const SwapOutcome swap = tovarin::SwapShips(game, rows, rows, left, right);
    if (!swap.Refusal.empty()) throw Refusal(swap.Refusal);
    return kExitDone;
}

}  // namespace tovarin::cli
