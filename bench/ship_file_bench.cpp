#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "demo/demo_installation.h"
#include "demo/ship_builder.h"
#include "gamefiles/file_primitives.h"
#include "ships/ship_layout.h"
#include "system_call_replay.h"
#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"
#include "window/application.h"
#include "window/form1.h"

namespace tovarin::bench {
namespace {

using demo::ShipPlan;

constexpr std::int32_t kShipSize = 64000;

// A ship with every part, padded by its missile info chunk to just below 64 KB, the most a ship file holds.
ShipPlan LargeShip() {
    ShipPlan plan;
    plan.Slide = true;
    plan.Booster = demo::ShipBooster{};
    plan.GunMounts = demo::NumberedGunMounts(16, 11);
    plan.Missiles = demo::ShipMissiles{{{1, 4}, {2, 4}, {3, 2}, {4, 2}}};
    plan.Decoys = 20;
    plan.Shields = demo::ShipShields{};
    plan.Armour = demo::ShipArmour{};
    plan.Turrets = demo::ShipTurrets{{4, 5, 6}};
    const std::int32_t unpadded = demo::BuildShip(plan).Offsets.FileSize;
    plan.Missiles->InfoLength = static_cast<std::uint16_t>(plan.Missiles->InfoLength + kShipSize - unpadded);
    return plan;
}

// The program started headless on a game folder with the demo weapons and the large ship.
struct ShipProgram {
    ShipProgram() {
        demo::AddDemoWeapons(Game);
        Game.AddShip("Large", "large.iff", demo::BuildShip(LargeShip()).File);
        Platform = std::make_unique<HeadlessPlatform>(Game.Folder());
        App = std::make_unique<Application>(*Platform);
        App->Start();
    }
    TForm1& Form() { return App->Form1(); }

    testkit::TempGameFolder Game;
    std::unique_ptr<HeadlessPlatform> Platform;
    std::unique_ptr<Application> App;
};

void Load(TForm1& form) { UserInput::Choose(form.ComboBox1, 0); }
void Save(TForm1& form) { UserInput::Click(form.Button2); }

void BM_LoadShip(benchmark::State& state) {
    ShipProgram program;
    for (auto _ : state) Load(program.Form());
    if (!program.Platform->Boxes.empty()) state.SkipWithError(program.Platform->Boxes.back().text.c_str());
}
BENCHMARK(BM_LoadShip);

void BM_LoadShipBaseline(benchmark::State& state) {
    ShipProgram program;
    auto load = [&] { Load(program.Form()); };
    const std::vector<SystemCall> calls = Record(load);
    state.counters["calls"] = static_cast<double>(calls.size());
    for (auto _ : state) Replay(calls);
}
BENCHMARK(BM_LoadShipBaseline);

// A save without changes: it rebuilds the file through the temporary file and reloads it.
void BM_SaveShip(benchmark::State& state) {
    ShipProgram program;
    for (auto _ : state) Save(program.Form());
    if (!program.Platform->Boxes.empty()) state.SkipWithError(program.Platform->Boxes.back().text.c_str());
}
BENCHMARK(BM_SaveShip);

void BM_SaveShipBaseline(benchmark::State& state) {
    ShipProgram program;
    auto save = [&] { Save(program.Form()); };
    const std::vector<SystemCall> calls = Record(save);
    state.counters["calls"] = static_cast<double>(calls.size());
    for (auto _ : state) Replay(calls);
}
BENCHMARK(BM_SaveShipBaseline);

// Two saves: the booster added, then removed again, each rebuilding the file twice.
void SwitchBoosterTwice(TForm1& form) {
    for (int i = 0; i < 2; ++i) {
        UserInput::Toggle(form.CheckBox2);
        Save(form);
    }
}

void BM_SaveShipSwitchingBooster(benchmark::State& state) {
    ShipProgram program;
    for (auto _ : state) SwitchBoosterTwice(program.Form());
    if (!program.Platform->Boxes.empty()) state.SkipWithError(program.Platform->Boxes.back().text.c_str());
}
BENCHMARK(BM_SaveShipSwitchingBooster);

void BM_SaveShipSwitchingBoosterBaseline(benchmark::State& state) {
    ShipProgram program;
    auto saves = [&] { SwitchBoosterTwice(program.Form()); };
    const std::vector<SystemCall> calls = Record(saves);
    state.counters["calls"] = static_cast<double>(calls.size());
    for (auto _ : state) Replay(calls);
}
BENCHMARK(BM_SaveShipSwitchingBoosterBaseline);

// 16 MB of ship files (without the padding) one after the other, with the searched marker only at the very end.
struct LargeFile {
    LargeFile() {
        ShipPlan plan = LargeShip();
        plan.Missiles->InfoLength = 8;
        const demo::Bytes ship = demo::BuildShip(plan).File;
        while (Bytes.size() + ship.size() < kSize) Bytes.insert(Bytes.end(), ship.begin(), ship.end());
        Bytes.resize(kSize - Marker.size());
        Bytes.insert(Bytes.end(), Marker.begin(), Marker.end());
        Game.WriteFile("big.iff", Bytes);
        Path = Game.PathOf("big.iff");
    }
    static constexpr std::size_t kSize = 16 * 1024 * 1024;
    const tovarin::Marker Marker = ShipLayout::MakeMarker("NOSUCHMK");
    testkit::TempGameFolder Game;
    demo::Bytes Bytes;
    std::string Path;
};

void BM_FindMarker(benchmark::State& state) {
    LargeFile file;
    for (auto _ : state) benchmark::DoNotOptimize(FindMarker(file.Path, file.Marker, 0));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargeFile::kSize));
}
BENCHMARK(BM_FindMarker)->Unit(benchmark::kMillisecond);

void BM_MemmemBaseline(benchmark::State& state) {
    LargeFile file;
    for (auto _ : state) {
        benchmark::DoNotOptimize(memmem(file.Bytes.data(), file.Bytes.size(), file.Marker.data(), file.Marker.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargeFile::kSize));
}
BENCHMARK(BM_MemmemBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovarin::bench
