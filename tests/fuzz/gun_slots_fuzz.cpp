// The gun slot editor ("Add/Remove Guns") on any ship file: load the slots, copy and delete, save. Choices: four
// steps, each 0 (none) or a slot to select in bits 0..4 (beyond the list: none), bit 7 "&Delete" instead of
// "&Copy".
#include <array>
#include <string_view>

#include "demo/demo_installation.h"
#include "fuzz/fuzz_game.h"
#include "testkit/temp_game_folder.h"
#include "tools/gun_slot_table.h"
#include "ui/user_input.h"

namespace {

using namespace tovarin;
using namespace tovarin::fuzz;

constexpr int kSlotPage = 1;
constexpr const char* kShip = "Ships\\test.iff";
constexpr std::size_t kSteps = 4;

// The catalogue keys of the positions behind the guns, with the base the loader finds for each.
constexpr std::array<std::pair<std::string_view, std::int32_t ShipState::*>, 4> kStoredPositions{{
    {"misspowr", &ShipState::MissBase},
    {"bdecy", &ShipState::DecyBase},
    {"nfshpowr", &ShipState::ShieldBase},
    {"armrdata", &ShipState::ArmrBase},
}};

// The catalogue section the game keeps for a ship, as it describes the ship just loaded.
void WriteShipSection(TempGameFolder& game, const ShipState& ship) {
    demo::IniSection section{ship.ShipFile, {{"Guns", std::to_string(ship.GunMountCount)}}};
    for (int i = 0; i < ship.GunMountCount; ++i) {
        section.Keys.emplace_back("Gun" + std::to_string(i + 1), std::to_string(ship.GunMountPos[i]));
    }
    for (const auto& [key, base] : kStoredPositions) section.Keys.emplace_back(key, std::to_string(ship.*base));
    game.SetCatalogueSection(section);
}

void CopyAndDelete(ProgramRun& run, const std::vector<std::uint8_t>& steps) {
    TForm1& f = run.Form();
    for (const std::uint8_t step : steps) {
        if (step == 0) continue;
        run.Act([&] { UserInput::Select(f.ListBox3, step & 0x1F); });
        run.Act([&] { UserInput::Click(step & 0x80 ? f.Button12 : f.Button13); });
    }
}

// What was saved is what the player sees the next time: the ship loads whole, with the slots saved, and the
// catalogue section describes the new file.
void CheckSavedShip(const TempGameFolder& game, const TForm1& saved) {
    ProgramRun again(game);
    const std::size_t shown = again.Act([&] { UserInput::ShowPage(again.Form().PageControl1, kSlotPage); });
    Require(again.StartedClean() && shown == 0, "every saved ship loads again", &again);
    const TForm1& f = again.Form();
    const TIniFile& catalogue = f.Catalogue;
    const std::string& section = f.Ship.ShipFile;
    const std::vector<GunSlot>& slots = f.GunSlots.Slots;
    const std::vector<GunSlot>& savedSlots = saved.GunSlots.Slots;
    const auto count = static_cast<std::int32_t>(savedSlots.size());
    bool same = slots.size() == savedSlots.size() && f.Ship.GunMountCount == count &&
                catalogue.ReadInteger(section, "Guns", -1) == count;
    for (std::size_t i = 0; same && i < savedSlots.size(); ++i) {
        same = slots[i].Record == savedSlots[i].Record &&
               catalogue.ReadInteger(section, "Gun" + std::to_string(i + 1), -1) == f.Ship.GunMountPos[i];
    }
    Require(same, "the saved ship has the slots saved, and the catalogue says where they are", &again);
    for (const auto& [key, base] : kStoredPositions) {
        const std::int32_t stored = catalogue.ReadInteger(section, std::string(key), 0);
        Require(stored < 1 || stored == f.Ship.*base, "the catalogue's positions behind the guns follow them", &again);
    }
}

}  // namespace

std::vector<Bytes> tovarin::fuzz::FuzzSeeds() {
    std::vector<Bytes> seeds;
    for (const Bytes& ship : DemoShipFiles()) {
        for (const Bytes& steps : {Bytes{0, 0, 0, 0}, Bytes{1, 0, 0, 0}, Bytes{0x82, 0, 0, 0}, Bytes{3, 1, 0x81, 0}}) {
            seeds.push_back(Seed(steps, ship));
        }
    }
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input(data, size, kSteps);
    TempGameFolder game;
    demo::AddDemoWeapons(game);
    game.AddShip("Test", "test.iff", input.File);
    ProgramRun run(game);
    if (run.Ended) return 0;
    if (run.StartedClean()) WriteShipSection(game, run.Form().Ship);
    const bool loadedWhole =
        run.Act([&] { UserInput::ShowPage(run.Form().PageControl1, kSlotPage); }) == 0 && run.StartedClean();
    CopyAndDelete(run, input.Choices);

    const Bytes ship = game.ReadFile(kShip);
    const std::string catalogue = game.ReadText(game.CatalogueName());
    const std::size_t shown = run.Act([&] { UserInput::Click(run.Form().Button14); });
    const bool unchanged = game.ReadFile(kShip) == ship && game.ReadText(game.CatalogueName()) == catalogue;
    if (shown > 0) Require(unchanged, "a slot save that shows a box leaves the ship and the catalogue unchanged", &run);
    if (shown == 0 && loadedWhole && !unchanged) CheckSavedShip(game, run.Form());
    return 0;
}
