#include <benchmark/benchmark.h>

#include <algorithm>

#include "large_fleet.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"
#include "window/application.h"
#include "window/form1.h"

// The Fleet page on 1,000 ships: filling its grid (reading every ship, its original and the mods into rows) and
// sorting the rows by a column, which the player does with a click on its head. Aims: the fill under 0.5 s, a sort
// under 50 ms.
namespace tovarin::bench {
namespace {

constexpr int kFleetPage = 7;

struct FleetPageRun {
    FleetPageRun() : platform(Fleet().Game.Folder()), app(platform) { (void)app.Start(); }
    static const LargeFleet& Fleet() {
        static const LargeFleet fleet;
        return fleet;
    }
    HeadlessPlatform platform;
    Application app;
};

void BM_FleetGridFill(benchmark::State& state) {
    FleetPageRun run;
    TForm1& form = run.app.Form1();
    for (auto _ : state) {
        UserInput::ShowPage(form.PageControl1, kFleetPage);
        if (form.Grid1.RowCount() != kShips) {
            state.SkipWithError("the grid does not show every ship");
            break;
        }
        form.PageControl1.SetActivePageIndex(0);
    }
}
BENCHMARK(BM_FleetGridFill)->Unit(benchmark::kMillisecond);

void BM_FleetGridSort(benchmark::State& state) {
    FleetPageRun run;
    TForm1& form = run.app.Form1();
    UserInput::ShowPage(form.PageControl1, kFleetPage);
    const auto& columns = form.Grid1.Columns();
    const auto speed = static_cast<std::size_t>(std::ranges::find(columns, std::string("speedmax"), &GridColumn::Key) -
                                                columns.begin());
    for (auto _ : state) {
        UserInput::ClickHead(form.Grid1, speed);  // each click sorts the other way
        if (form.Grid1.SortColumn() != speed || form.Grid1.RowCount() != kShips) {
            state.SkipWithError("the click did not sort the ships");
            break;
        }
    }
}
BENCHMARK(BM_FleetGridSort)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovarin::bench
