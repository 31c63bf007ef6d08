#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "demo/demo_installation.h"
#include "testkit/game_folder.h"
#include "testkit/ship_builder.h"
#include "ui/headless_platform.h"

// The window's start-up on a large installation, up to a filled ship list: every list is filled from the
// catalogue and the switcher lists ask the switch file once per ship, so the INI layer's cost per call decides
// whether start-up grows with the number of ships or with its square.
namespace tovarin::bench {
namespace {

constexpr std::size_t kShips = 1000;

// The demo's weapons and its eight ships over and over, each under a name and a file of its own. The names are
// short, as they must be for 1,000 of them to fit the 8192 bytes in which the catalogue's key names are listed.
struct LargeFleet {
    LargeFleet() {
        demo::AddDemoWeapons(Game);
        const std::vector<demo::DemoShip> ships = demo::DemoShips();
        testkit::IniSection catalogue{"ships", {}};
        for (std::size_t i = 0; i < kShips; ++i) {
            const std::string name = "S" + std::to_string(i + 1);
            const std::string file = "s" + std::to_string(i + 1) + ".iff";
            Game.WriteFile("Ships\\" + file, testkit::BuildShip(ships[i % ships.size()].Plan).File);
            catalogue.Keys.emplace_back(name, file);
            Game.SwitchEntries.emplace_back(name, name);
        }
        Game.SetCatalogueSection(catalogue);
        Game.WriteText("Ships\\switch.dat", testkit::IniText({{"swships", Game.SwitchEntries}}));
    }
    testkit::GameFolder Game;
};

void BM_StartUpToAFilledShipList(benchmark::State& state) {
    static const LargeFleet fleet;
    for (auto _ : state) {
        HeadlessPlatform platform(fleet.Game.Folder());
        Application app(platform);
        const bool ended = app.Start().has_value();
        if (ended || app.Form1().ComboBox1.Items().size() != kShips || !platform.Boxes.empty()) {
            state.SkipWithError("start-up did not list every ship");
            break;
        }
    }
}
BENCHMARK(BM_StartUpToAFilledShipList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovarin::bench
