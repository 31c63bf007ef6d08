// The ship loader and the Ships tab's save, on any ship file. Choices: [0] what the player changes (bit 0
// autoslide, bit 1 booster, bit 2 the first gun mount, bit 3 the first missile mount), [1] the text typed and the
// weapon chosen, [2] the box typed into.
#include <array>

#include "demo/demo_ships.h"
#include "fuzz/fuzz_game.h"

namespace {

using namespace tovarin;
using namespace tovarin::fuzz;

constexpr std::array<const char*, 8> kTexts{"100", "0", "-1", "255", "65535", "2147483583", "2147483584", "x"};
constexpr std::array<TEdit TForm1::*, 9> kBoxes{&TForm1::Edit29, &TForm1::Edit27, &TForm1::Edit1,
                                                &TForm1::Edit10, &TForm1::Edit17, &TForm1::Edit18,
                                                &TForm1::Edit14, &TForm1::Edit28, &TForm1::Edit9};

// Gives the first mount of the list the weapon `weapon` of the drop-down.
void ChangeMount(ProgramRun& run, TListBox& mounts, TComboBox& weapons, std::size_t weapon, TButton& change) {
    run.Act([&] { UserInput::Select(mounts, 0); });
    run.Act([&] { UserInput::Choose(weapons, static_cast<int>(weapon)); });
    run.Act([&] { UserInput::Click(change); });
}

}  // namespace

std::vector<Bytes> tovarin::fuzz::FuzzSeeds() {
    return Seeds({{0, 0, 0}, {1, 0, 1}, {2, 3, 2}, {12, 5, 6}}, DemoShipFiles());
}

int tovarin::fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input(data, size, 3);
    const std::vector<std::uint8_t>& choice = input.Choices;
    TempGameFolder& game = ReusedGameWithShip(input.File);
    ProgramRun run(game);
    if (run.Ended) return 0;
    TForm1& f = run.Form();
    run.Act([&] { UserInput::Type(f.*kBoxes[choice[2] % kBoxes.size()], kTexts[choice[1] % kTexts.size()]); });
    if (choice[0] & 1) run.Act([&] { UserInput::Toggle(f.CheckBox1); });
    if (choice[0] & 2) run.Act([&] { UserInput::Toggle(f.CheckBox2); });
    if (choice[0] & 4) ChangeMount(run, f.ListBox1, f.ComboBox2, choice[1] % demo::DemoGunNames().size(), f.Button3);
    if (choice[0] & 8)
        ChangeMount(run, f.ListBox2, f.ComboBox3, choice[1] % demo::DemoMissileNames().size(), f.Button4);
    SaveShipAndCheck(run, game, "Ships\\test.iff", run.StartedClean());
    return 0;
}
