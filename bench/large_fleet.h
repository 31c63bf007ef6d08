#pragma once

#include <string>
#include <vector>

#include "demo/demo_installation.h"
#include "demo/ship_builder.h"
#include "testkit/temp_game_folder.h"

// A generated installation of many ships, for the benchmarks of whatever grows with the fleet.
namespace tovarin::bench {

inline constexpr std::size_t kShips = 1000;

// The demo's weapons and its eight ships over and over, each under a name ("S1", "S2", ...) and a file of its own.
struct LargeFleet {
    explicit LargeFleet(std::size_t ships = kShips) : Ships(ships) {
        demo::AddDemoWeapons(Game);
        const std::vector<demo::DemoShip> demoShips = demo::DemoShips();
        demo::IniSection catalogue{"ships", {}};
        for (std::size_t i = 0; i < ships; ++i) {
            const std::string name = "S" + std::to_string(i + 1);
            const std::string file = "s" + std::to_string(i + 1) + ".iff";
            Game.WriteFile("Ships\\" + file, demo::BuildShip(demoShips[i % demoShips.size()].Plan).File);
            catalogue.Keys.emplace_back(name, file);
            Game.SwitchEntries.emplace_back(name, name);
        }
        Game.SetCatalogueSection(catalogue);
        Game.WriteText("Ships\\switch.dat", demo::IniText({{"swships", Game.SwitchEntries}}));
    }
    std::size_t Ships;
    testkit::TempGameFolder Game;
};

}  // namespace tovarin::bench
