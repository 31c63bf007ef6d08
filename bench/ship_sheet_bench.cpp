#include <benchmark/benchmark.h>

#include <sstream>

#include "cli/command_line.h"
#include "large_fleet.h"

// "export ships" and "import ships" of the unchanged sheet on 1,000 ships: every ship is loaded, and an import
// rebuilds each one to find that nothing is to be written.
namespace tovarin::bench {
namespace {

void RunCli(benchmark::State& state, const LargeFleet& fleet, const char* command) {
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> arguments{"--game", fleet.Game.Folder(), command, "ships",
                                             fleet.Game.PathOf("fleet.csv")};
    if (cli::RunCommandLine(arguments, out, err) != 0) state.SkipWithError(err.str().c_str());
}

void BM_ExportShips(benchmark::State& state) {
    static const LargeFleet fleet;
    for (auto _ : state) RunCli(state, fleet, "export");
}
BENCHMARK(BM_ExportShips)->Unit(benchmark::kMillisecond);

void BM_ImportUnchangedShips(benchmark::State& state) {
    static const LargeFleet fleet;
    RunCli(state, fleet, "export");
    for (auto _ : state) RunCli(state, fleet, "import");
}
BENCHMARK(BM_ImportUnchangedShips)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovarin::bench
