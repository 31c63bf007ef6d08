#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "charts/chart_svg.h"
#include "cli/command_line.h"
#include "large_fleet.h"

// The fleet's scatter as the command line writes it: every ship loaded, its point and, since every ship here was
// changed by an import, its original and arrow, written as SVG. The picture's size is reported beside the time.
namespace tovarin::bench {
namespace {

int RunCli(const LargeFleet& fleet, std::vector<std::string> command, std::string& err) {
    std::vector<std::string> arguments{"--game", fleet.Game.Folder()};
    arguments.insert(arguments.end(), command.begin(), command.end());
    std::ostringstream out, errors;
    const int code = cli::RunCommandLine(arguments, out, errors);
    err = errors.str();
    return code;
}

void BM_ChartShips(benchmark::State& state) {
    LargeFleet fleet(static_cast<std::size_t>(state.range(0)));
    // Top speeds spread over 300..799 so that the points do not all sit on the demo's eight ships.
    std::string sheet = "ship,speedmax\r\n";
    for (std::size_t i = 1; i <= fleet.Ships; ++i)
        sheet += "S" + std::to_string(i) + "," + std::to_string(300 + (i * 37) % 500) + "\r\n";
    fleet.Game.WriteText("speeds.csv", sheet);
    std::string err;
    if (RunCli(fleet, {"import", "ships", fleet.Game.PathOf("speeds.csv")}, err) != 0) {
        state.SkipWithError(("the import failed: " + err).c_str());
        return;
    }
    const std::string svg = fleet.Game.PathOf("fleet.svg");
    for (auto _ : state) {
        if (RunCli(fleet, {"chart", "ships", "speedmax", "hp", "--out", svg}, err) != 0) {
            state.SkipWithError(("the chart failed: " + err).c_str());
            break;
        }
    }
    state.counters["svg_MB"] = static_cast<double>(std::filesystem::file_size(svg)) / 1e6;
}
BENCHMARK(BM_ChartShips)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// The chart alone, from cells already read: the scatter's values, its shapes and the SVG text.
void BM_ChartShipsFromCells(benchmark::State& state) {
    Cells now, original;
    for (std::size_t i = 0; i < static_cast<std::size_t>(state.range(0)); ++i) {
        const std::string name = "S" + std::to_string(i + 1);
        original[{SheetKind::Ships, i, 0, name, "speedmax"}] = std::to_string(300 + i % 500);
        original[{SheetKind::Ships, i, 1, name, "hp"}] = std::to_string(200 + (i * 7) % 900);
        now[{SheetKind::Ships, i, 0, name, "speedmax"}] = std::to_string(300 + (i * 37) % 500);
        now[{SheetKind::Ships, i, 1, name, "hp"}] = std::to_string(200 + (i * 7) % 900);
    }
    std::size_t size = 0;
    for (auto _ : state) size = ChartSvg(ShipScatter(now, original, "speedmax", "hp")).size();
    state.counters["svg_MB"] = static_cast<double>(size) / 1e6;
}
BENCHMARK(BM_ChartShipsFromCells)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovarin::bench
