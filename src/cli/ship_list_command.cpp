#include "cli/commands.h"
#include "cli/game_session.h"
#include "installation/installation.h"

namespace tovarin::cli {

// One line per ship in catalogue order, its fields separated by tabs: name, ship file, and the partner of an
// exchanged ship (whose data now lies in the partner's file).
int ListShips(const CommandArguments& arguments, Console& console) {
    for (const CatalogueShip& ship : ListCatalogueShips(OpenGame(arguments.Game))) {
        console.Out << ship.Name << '\t' << ship.File;
        if (ship.Exchanged()) console.Out << '\t' << ship.Partner;
        console.Out << '\n';
    }
    return 0;
}

}  // namespace tovarin::cli
