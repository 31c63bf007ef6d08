#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "large_fleet.h"
#include "ui/headless_platform.h"
#include "window/application.h"
#include "window/form1.h"

// The window's start-up on a large installation, up to a filled ship list: every list is filled from the
// catalogue and the switcher lists ask the switch file once per ship, so the INI layer's cost per call decides
// whether start-up grows with the number of ships or with its square.
namespace tovarin::bench {
namespace {

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
