#pragma once

#include <string>
#include <vector>

#include "demo/demo_installation.h"
#include "demo/ship_builder.h"
#include "testkit/temp_game_folder.h"

// A generated installation of 1,000 ships, for the benchmarks of whatever grows with the fleet.
namespace tovarin::bench {

inline constexpr std::size_t kShips = 1000;

// The demo's weapons and its eight ships over and over, each under a name and a file of its own. The names are
// short, as they must be for 1,000 of them to fit the 8192 bytes in which the catalogue's key names are listed.
struct LargeFleet {
    LargeFleet() {
        demo::AddDemoWeapons(Game);
        const std::vector<demo::DemoShip> ships = demo::DemoShips();
        demo::IniSection catalogue{"ships", {}};
        for (std::size_t i = 0; i < kShips; ++i) {
            const std::string name = "S" + std::to_string(i + 1);
            const std::string file = "s" + std::to_string(i + 1) + ".iff";
            Game.WriteFile("Ships\\" + file, demo::BuildShip(ships[i % ships.size()].Plan).File);
            catalogue.Keys.emplace_back(name, file);
            Game.SwitchEntries.emplace_back(name, name);
        }
        Game.SetCatalogueSection(catalogue);
        Game.WriteText("Ships\\switch.dat", demo::IniText({{"swships", Game.SwitchEntries}}));
    }
    testkit::TempGameFolder Game;
};

}  // namespace tovarin::bench
