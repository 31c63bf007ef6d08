#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "gamefiles/originals_backup.h"
#include "heap_peak.h"
#include "large_fleet.h"

// The commands whose work grows with the fleet, on 1,000 and on 4,000 ships. Each ship costs the same few system
// calls however many there are (a folder is listed once per run, an INI file checked once), so the time on
// 4,000 ships stays near four times the time on 1,000. Run with TMPDIR on a disk to add its flush time to the
// imports and exports, which force every file they write to the disk; TMPDIR=/dev/shm shows the program alone.
namespace tovarin::bench {
namespace {

constexpr std::int64_t kSmallFleet = 1000;
constexpr std::int64_t kLargeFleet = 4000;

// The command line's exit code for a command that found differences ("diff").
constexpr int kDifferent = 1;

int RunCli(const LargeFleet& fleet, std::vector<std::string> command, std::string* err = nullptr) {
    std::vector<std::string> arguments{"--game", fleet.Game.Folder()};
    arguments.insert(arguments.end(), command.begin(), command.end());
    std::ostringstream out;
    std::ostringstream errors;
    const int code = cli::RunCommandLine(arguments, out, errors);
    if (err != nullptr) *err = errors.str();
    return code;
}

// Runs the command, stopping the benchmark with the command's own message when it does not end as expected.
bool Run(benchmark::State& state, const LargeFleet& fleet, std::vector<std::string> command, int expected = 0) {
    std::string err;
    if (RunCli(fleet, std::move(command), &err) == expected) return true;
    state.SkipWithError(("the command failed: " + err).c_str());
    return false;
}

// A sheet that sets every ship's top speed to `speed`: importing it changes every ship file.
std::string SpeedSheet(const LargeFleet& fleet, int speed) {
    std::string text = "ship,speedmax\r\n";
    for (std::size_t i = 1; i <= fleet.Ships; ++i)
        text += "S" + std::to_string(i) + "," + std::to_string(speed) + "\r\n";
    return text;
}

// A fresh installation for each benchmark and size, so that what one command changes does not reach another.
std::unique_ptr<LargeFleet> NewFleet(const benchmark::State& state) {
    return std::make_unique<LargeFleet>(static_cast<std::size_t>(state.range(0)));
}

void BM_Ships(benchmark::State& state) {
    const auto fleet = NewFleet(state);
    for (auto _ : state) {
        if (!Run(state, *fleet, {"ships"})) break;
    }
}
BENCHMARK(BM_Ships)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

void BM_Check(benchmark::State& state) {
    const auto fleet = NewFleet(state);
    for (auto _ : state) {
        if (!Run(state, *fleet, {"check"})) break;
    }
}
BENCHMARK(BM_Check)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

void BM_ExportShips(benchmark::State& state) {
    const auto fleet = NewFleet(state);
    for (auto _ : state) {
        if (!Run(state, *fleet, {"export", "ships", fleet->Game.PathOf("fleet.csv")})) break;
    }
}
BENCHMARK(BM_ExportShips)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

// Every ship's file rewritten, its original kept already: two sheets taken in turn, each changing every ship.
void BM_ImportShipsChangingEvery(benchmark::State& state) {
    const auto fleet = NewFleet(state);
    fleet->Game.WriteText("a.csv", SpeedSheet(*fleet, 501));
    fleet->Game.WriteText("b.csv", SpeedSheet(*fleet, 502));
    bool first = true;
    if (!Run(state, *fleet, {"import", "ships", fleet->Game.PathOf("b.csv")})) return;
    for (auto _ : state) {
        if (!Run(state, *fleet, {"import", "ships", fleet->Game.PathOf(first ? "a.csv" : "b.csv")})) break;
        first = !first;
    }
}
BENCHMARK(BM_ImportShipsChangingEvery)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

// The first import into an installation: the original of every ship file is copied aside before it changes.
void BM_ImportShipsKeepingOriginals(benchmark::State& state) {
    const auto fleet = NewFleet(state);
    fleet->Game.WriteText("a.csv", SpeedSheet(*fleet, 501));
    fleet->Game.WriteText("b.csv", SpeedSheet(*fleet, 502));
    bool first = true;
    for (auto _ : state) {
        if (!Run(state, *fleet, {"import", "ships", fleet->Game.PathOf(first ? "a.csv" : "b.csv")})) break;
        first = !first;
        state.PauseTiming();
        std::filesystem::remove_all(fleet->Game.Root() / kBackupFolderName);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportShipsKeepingOriginals)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

// Every ship differs from its original in one value: one line per ship.
void BM_Diff(benchmark::State& state) {
    const auto fleet = NewFleet(state);
    fleet->Game.WriteText("a.csv", SpeedSheet(*fleet, 501));
    if (!Run(state, *fleet, {"import", "ships", fleet->Game.PathOf("a.csv")})) return;
    for (auto _ : state) {
        if (!Run(state, *fleet, {"diff"}, kDifferent)) break;
    }
}
BENCHMARK(BM_Diff)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

// A sheet of 50 MB: the fleet's rows, then empty rows (which the import passes over) up to the size. The heap's
// peak while importing it, per byte of the sheet, shows whether the sheet is read in memory proportional to it.
void BM_ImportLargeSheet(benchmark::State& state) {
    constexpr std::size_t kSheetSize = 50 * 1000 * 1000;
    const LargeFleet fleet;
    std::string text = SpeedSheet(fleet, 501);
    const std::string emptyRow = std::string(60, ',') + "\r\n";
    while (text.size() + emptyRow.size() <= kSheetSize) text += emptyRow;
    fleet.Game.WriteText("large.csv", text);
    text = {};
    for (auto _ : state) {
        ResetHeapPeak();
        ResetResidentPeak();
        if (!Run(state, fleet, {"import", "ships", fleet.Game.PathOf("large.csv")})) break;
        state.counters["heap_peak_MB"] = static_cast<double>(HeapPeak()) / 1e6;
        state.counters["heap_peak_per_sheet_byte"] = static_cast<double>(HeapPeak()) / kSheetSize;
        state.counters["rss_peak_growth_MB"] = static_cast<double>(ResidentPeakGrowth()) / 1e6;
    }
}
BENCHMARK(BM_ImportLargeSheet)->Unit(benchmark::kMillisecond)->Iterations(2);

// The mods over the fleet: one lone sheet mod ("speed.csv") that sets every ship's top speed, switched on and
// applied. Listing the mods, their conflicts and an apply with nothing to write read every ship once; an apply that
// writes every ship alternates the mod's value.
std::unique_ptr<LargeFleet> ModdedFleet(benchmark::State& state) {
    auto fleet = NewFleet(state);
    fleet->Game.WriteText("Tovarin Mods\\speed.csv", SpeedSheet(*fleet, 501));
    if (!Run(state, *fleet, {"mods", "on", "speed"}) || !Run(state, *fleet, {"mods", "apply"})) return nullptr;
    return fleet;
}

void BM_ModsList(benchmark::State& state) {
    const auto fleet = ModdedFleet(state);
    for (auto _ : state) {
        if (!fleet || !Run(state, *fleet, {"mods"})) break;
    }
}
BENCHMARK(BM_ModsList)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

void BM_ModsConflicts(benchmark::State& state) {
    const auto fleet = ModdedFleet(state);
    for (auto _ : state) {
        if (!fleet || !Run(state, *fleet, {"mods", "conflicts"})) break;
    }
}
BENCHMARK(BM_ModsConflicts)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

void BM_ModsApplyNothingToWrite(benchmark::State& state) {
    const auto fleet = ModdedFleet(state);
    for (auto _ : state) {
        if (!fleet || !Run(state, *fleet, {"mods", "apply"})) break;
    }
}
BENCHMARK(BM_ModsApplyNothingToWrite)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

void BM_ModsApplyWritingEvery(benchmark::State& state) {
    const auto fleet = ModdedFleet(state);
    if (!fleet) return;
    int speed = 501;
    for (auto _ : state) {
        state.PauseTiming();
        speed = speed == 501 ? 502 : 501;
        fleet->Game.WriteText("Tovarin Mods\\speed.csv", SpeedSheet(*fleet, speed));
        state.ResumeTiming();
        if (!Run(state, *fleet, {"mods", "apply"})) break;
    }
}
BENCHMARK(BM_ModsApplyWritingEvery)->Arg(kSmallFleet)->Arg(kLargeFleet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovarin::bench
