// The gun slot editor ("Add/Remove Guns") on any ship file: load the slots, copy and delete, save. Choices: four
// steps, each 0 (none) or a slot to select in bits 0..4 (beyond the list: none), bit 7 "&Delete" instead of
// "&Copy"; bit 5 of the fourth: the player leaves without saving.
#include <array>

#include "fuzz/fuzz_game.h"
#include "gamefiles/run_caches.h"
#include "gun_slots/gun_slot_table.h"

namespace {

using namespace tovarin;
using namespace tovarin::fuzz;

constexpr int kSlotPage = 1;
constexpr std::uint8_t kUnsaved = 0x20;  // in the fourth step
constexpr const char* kShip = "Ships\\test.iff";

// The catalogue keys of the positions behind the guns, with the base the loader finds for each.
constexpr std::array<std::pair<const char*, std::int32_t ShipState::*>, 4> kStoredPositions{
    {{"misspowr", &ShipState::MissBase},
     {"bdecy", &ShipState::DecyBase},
     {"nfshpowr", &ShipState::ShieldBase},
     {"armrdata", &ShipState::ArmrBase}}};

// The catalogue section the game keeps for a ship, as it describes the ship just loaded.
void WriteShipSection(TempGameFolder& game, const ShipState& ship) {
    demo::IniSection section{ship.ShipFile, {{"Guns", std::to_string(ship.GunMountCount)}}};
    for (int i = 0; i < ship.GunMountCount; ++i)
        section.Keys.emplace_back("Gun" + std::to_string(i + 1), std::to_string(ship.GunMountPos[i]));
    for (const auto& [key, base] : kStoredPositions) section.Keys.emplace_back(key, std::to_string(ship.*base));
    game.SetCatalogueSection(section);
}

// What was saved is what the player sees the next time: the ship loads whole, with the slots saved, and the
// catalogue section describes the new file.
void CheckSavedShip(const TempGameFolder& game, const std::vector<GunSlot>& saved) {
    ProgramRun again(game);
    const std::size_t shown = again.Act([&] { UserInput::ShowPage(again.Form().PageControl1, kSlotPage); });
    Require(again.StartedClean() && shown == 0, "every saved ship loads again", &again);
    const ShipState& ship = again.Form().Ship;
    const RunCaches readingOnce;  // the catalogue is parsed once for every key looked at, not once for each
    const auto stored = [&](const std::string& key) {
        return again.Form().Catalogue.ReadInteger(ship.ShipFile, key, -1);
    };
    const std::vector<GunSlot>& slots = again.Form().GunSlots.Slots;
    bool same = slots.size() == saved.size() && ship.GunMountCount == static_cast<std::int32_t>(saved.size()) &&
                stored("Guns") == ship.GunMountCount;
    for (std::size_t i = 0; same && i < saved.size(); ++i)
        same = slots[i].Record == saved[i].Record && stored("Gun" + std::to_string(i + 1)) == ship.GunMountPos[i];
    Require(same, "the saved ship has the slots saved, and the catalogue says where they are", &again);
    for (const auto& [key, base] : kStoredPositions) {
        Require(stored(key) < 1 || stored(key) == ship.*base, "the catalogue's positions behind the guns follow them",
                &again);
    }
}

}  // namespace

std::vector<Bytes> tovarin::fuzz::FuzzSeeds() {
    return Seeds({{0, 0, 0, 0}, {1, 0, 0, 0}, {0x82, 0, 0, 0}, {3, 1, 0x81, 0}}, DemoShipFiles());
}

int tovarin::fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size, 4);
    const bool saves = (input.Choices[3] & kUnsaved) == 0;
    input.Choices[3] &= ~kUnsaved;
    TempGameFolder& game = ReusedGameWithShip(input.File);
    ProgramRun run(game);
    if (run.Ended) return 0;
    TForm1& f = run.Form();
    if (run.StartedClean()) WriteShipSection(game, f.Ship);
    const bool loadedWhole =
        run.Act([&] { UserInput::ShowPage(f.PageControl1, kSlotPage); }) == 0 && run.StartedClean();
    for (const std::uint8_t step : input.Choices) {
        if (step == 0) continue;
        run.Act([&] { UserInput::Select(f.ListBox3, step & 0x1F); });
        run.Act([&] { UserInput::Click(step & 0x80 ? f.Button12 : f.Button13); });
    }
    if (!saves) return 0;

    const Bytes ship = game.ReadFile(kShip);
    const std::string catalogue = game.ReadText(game.CatalogueName());
    const std::size_t shown = run.Act([&] { UserInput::Click(f.Button14); });
    const bool unchanged = game.ReadFile(kShip) == ship && game.ReadText(game.CatalogueName()) == catalogue;
    if (shown > 0) Require(unchanged, "a slot save that shows a box leaves the ship and the catalogue unchanged", &run);
    if (shown == 0 && loadedWhole && !unchanged) CheckSavedShip(game, f.GunSlots.Slots);
    return 0;
}

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

// A save and the load after it take most of an input's time, and the inputs that save reach the most new code: left
// to itself the fuzzer saves in nearly every input. Each mutation decides anew, saving one time in five.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (size >= 4) data[3] = seed % 5 == 0 ? data[3] & ~kUnsaved : data[3] | kUnsaved;
    return size;
}
