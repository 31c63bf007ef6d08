#include "fuzz/fuzz_game.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "demo/demo_ships.h"
#include "ui/platform.h"

namespace tovarin::fuzz {

std::vector<Bytes> Seeds(const std::vector<Bytes>& choices, const std::vector<Bytes>& files) {
    std::vector<Bytes> seeds;
    for (const Bytes& file : files) {
        for (Bytes seed : choices) {
            seed.insert(seed.end(), file.begin(), file.end());
            seeds.push_back(seed);
        }
    }
    return seeds;
}

std::vector<Bytes> DemoShipFiles() {
    std::vector<Bytes> files;
    for (const demo::DemoShip& ship : demo::DemoShips()) files.push_back(demo::BuildShip(ship.Plan).File);
    return files;
}

void Require(bool kept, const char* promise, const ProgramRun* run) {
    if (kept) return;
    std::fprintf(stderr, "Broken promise: %s\n", promise);
    if (run != nullptr) {
        for (const auto& box : run->Platform.Boxes) std::fprintf(stderr, "  box shown: %s\n", box.text.c_str());
    }
    __builtin_trap();
}

ProgramRun::ProgramRun(const TempGameFolder& game) : Platform(game.Folder()), App(Platform) {
    Ended = App.Start().has_value();
    StartBoxes = Platform.Boxes.size();
}

std::size_t ProgramRun::Act(const std::function<void()>& action) {
    if (Ended) return 1;
    const std::size_t before = Platform.Boxes.size();
    try {
        action();
    } catch (const ProgramEnded&) {
        Ended = true;
        return 1;
    }
    return Platform.Boxes.size() - before;
}

void SaveShipAndCheck(ProgramRun& run, const TempGameFolder& game, const std::string& shipFile, bool loadedWhole) {
    const Bytes before = game.ReadFile(shipFile);
    const int ship = run.Form().ComboBox1.ItemIndex();
    const std::size_t shown = run.Act([&] { UserInput::Click(run.Form().Button2); });
    Require(game.Exists(shipFile), "a ship save never loses the ship file", &run);
    const Bytes after = game.ReadFile(shipFile);
    if (shown > 0) Require(after == before, "a ship save that shows a box leaves the ship file unchanged", &run);
    if (shown > 0 || !loadedWhole || after == before) return;
    ProgramRun again(game);
    const std::size_t shownAtLoad = again.Act([&] { UserInput::Choose(again.Form().ComboBox1, ship); });
    Require(again.StartedClean() && shownAtLoad == 0, "every saved ship loads again", &again);
}

}  // namespace tovarin::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* folder = std::getenv("TOVARIN_FUZZ_SEEDS");
    if (folder == nullptr) return 0;
    std::filesystem::create_directories(folder);
    int number = 0;
    for (const tovarin::fuzz::Bytes& seed : tovarin::fuzz::FuzzSeeds()) {
        std::ofstream out(std::filesystem::path(folder) / ("seed-" + std::to_string(++number)), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
    std::exit(0);
}
