// The ship loader and the Ships tab's save, on any ship file. Choices: [0] what the player changes (bit 0
// autoslide, bit 1 booster, bit 2 the first gun mount, bit 3 the first missile mount), [1] the text typed and the
// weapon chosen, [2] the box typed into.
#include <array>

#include "demo/demo_installation.h"
#include "demo/demo_ships.h"
#include "fuzz/fuzz_game.h"
#include "testkit/temp_game_folder.h"
#include "ui/user_input.h"

namespace {

using namespace tovarin;
using namespace tovarin::fuzz;

constexpr std::array<const char*, 8> kTexts{"100", "0", "-1", "255", "65535", "2147483583", "2147483584", "x"};
constexpr std::array<TEdit TForm1::*, 9> kBoxes{&TForm1::Edit29, &TForm1::Edit27, &TForm1::Edit1,
                                                &TForm1::Edit10, &TForm1::Edit17, &TForm1::Edit18,
                                                &TForm1::Edit14, &TForm1::Edit28, &TForm1::Edit9};

void Edit(ProgramRun& run, const std::vector<std::uint8_t>& choice) {
    TForm1& f = run.Form();
    run.Act([&] { UserInput::Type(f.*kBoxes[choice[2] % kBoxes.size()], kTexts[choice[1] % kTexts.size()]); });
    if (choice[0] & 1) run.Act([&] { UserInput::Toggle(f.CheckBox1); });
    if (choice[0] & 2) run.Act([&] { UserInput::Toggle(f.CheckBox2); });
    if (choice[0] & 4) {
        run.Act([&] { UserInput::Select(f.ListBox1, 0); });
        run.Act([&] { UserInput::Choose(f.ComboBox2, choice[1] % demo::DemoGunNames().size()); });
        run.Act([&] { UserInput::Click(f.Button3); });
    }
    if (choice[0] & 8) {
        run.Act([&] { UserInput::Select(f.ListBox2, 0); });
        run.Act([&] { UserInput::Choose(f.ComboBox3, choice[1] % demo::DemoMissileNames().size()); });
        run.Act([&] { UserInput::Click(f.Button4); });
    }
}

}  // namespace

std::vector<Bytes> tovarin::fuzz::FuzzSeeds() {
    std::vector<Bytes> seeds;
    for (const Bytes& ship : DemoShipFiles()) {
        for (const Bytes& choices : {Bytes{0, 0, 0}, Bytes{1, 0, 1}, Bytes{2, 3, 2}, Bytes{12, 5, 6}}) {
            seeds.push_back(Seed(choices, ship));
        }
    }
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input(data, size, 3);
    TempGameFolder game;
    demo::AddDemoWeapons(game);
    game.AddShip("Test", "test.iff", input.File);
    ProgramRun run(game);
    if (run.Ended) return 0;
    Edit(run, input.Choices);
    SaveShipAndCheck(run, game, "Ships\\test.iff", run.StartedClean());
    return 0;
}
