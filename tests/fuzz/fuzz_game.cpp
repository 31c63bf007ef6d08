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

namespace {

Bytes BytesAt(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    Bytes bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

ReusedGame::ReusedGame(const std::function<void(TempGameFolder&)>& build) {
    build(game_);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(game_.Root())) {
        if (entry.is_regular_file()) built_[entry.path()] = BytesAt(entry.path());
    }
}

TempGameFolder& ReusedGame::Reset(const std::string& relative, const Bytes& file) {
    namespace fs = std::filesystem;
    const fs::path fuzzed = game_.PathOf(relative);
    // What the last input added: files and whole folders (the kept originals, a change's record, a sibling).
    std::vector<fs::path> added;
    for (auto it = fs::recursive_directory_iterator(game_.Root()); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        const bool known =
            path == fuzzed || built_.contains(path) || std::any_of(built_.begin(), built_.end(), [&](const auto& f) {
                return f.first.native().starts_with(path.native() + "/");
            });
        if (known) continue;
        added.push_back(path);
        if (it->is_directory() && !it->is_symlink()) it.disable_recursion_pending();
    }
    for (const fs::path& path : added) fs::remove_all(path);
    for (const auto& [path, bytes] : built_) {
        const Bytes& wanted = path == fuzzed ? file : bytes;
        if (!fs::exists(path) || BytesAt(path) != wanted) WriteBytes(path, wanted);
    }
    if (!built_.contains(fuzzed)) WriteBytes(fuzzed, file);
    return game_;
}

TempGameFolder& ReusedGameWithShip(const Bytes& file) {
    static ReusedGame& game = *new ReusedGame([](TempGameFolder& built) {
        demo::AddDemoWeapons(built);
        built.AddShip("Test", "test.iff", DemoShipFiles().front());
    });
    return game.Reset("Ships\\test.iff", file);
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
