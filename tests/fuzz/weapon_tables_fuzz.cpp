// The gun and missile editors on any weapon table: choose a weapon, type a value, save. Choices: [0] bit 0 the
// missile table (else the gun table), the other bits the weapon; [1] the box typed into; [2] the text typed.
#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "demo/demo_ships.h"
#include "fuzz/fuzz_game.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"
#include "window/weapon_boxes.h"

namespace {

using namespace tovarin;
using namespace tovarin::fuzz;

constexpr std::array<const char*, 6> kTexts{"100", "0", "-7", "2147483647", "", "x"};

struct WeaponTab {
    const char* Table;
    TComboBox TForm1::*List;
    TButton TForm1::*Save;
    std::span<const FloatField> Fields;                       // 4 bytes of the record each
    std::span<const FieldBox> Boxes;                          // the boxes to type into, one per field
    std::vector<std::pair<std::int32_t, std::int32_t>> More;  // other bytes the save writes: offset, length
    std::int32_t (*Base)(int weapon);                         // the demo catalogue's record position
    const std::vector<std::string>& (*Names)();
};

const WeaponTab kGuns{kGunTableFile,     &TForm1::ComboBox4, &TForm1::Button7, kGunFields, kGunBoxes, {},
                      demo::DemoGunBase, demo::DemoGunNames};
const std::vector<std::pair<std::int32_t, std::int32_t>> kMissileMore{
    {kSplitDelayField.Offset, 4}, {kFlagWordOffset, 2}, {kSubMissileTypeOffset, 1}, {kSplitCountOffset, 1}};
const WeaponTab kMissiles{kMissileTableFile, &TForm1::ComboBox5, &TForm1::Button8,      kMissileFields,
                          kMissileBoxes,     kMissileMore,       demo::DemoMissileBase, demo::DemoMissileNames};

}  // namespace

std::vector<Bytes> tovarin::fuzz::FuzzSeeds() {
    TempGameFolder demo;
    demo::AddDemoWeapons(demo);
    std::vector<Bytes> seeds;
    for (const WeaponTab* editor : {&kGuns, &kMissiles}) {
        std::vector<Bytes> choices;
        for (std::uint8_t weapon = 0; weapon < editor->Names().size(); ++weapon)
            choices.push_back({static_cast<std::uint8_t>((editor == &kMissiles) + 2 * weapon), weapon, 0});
        for (Bytes& seed : Seeds(choices, {demo.ReadFile(editor->Table)})) seeds.push_back(std::move(seed));
    }
    return seeds;
}

int tovarin::fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input(data, size, 3);
    const WeaponTab& editor = input.Choices[0] & 1 ? kMissiles : kGuns;
    const int weapon = static_cast<int>((input.Choices[0] >> 1) % editor.Names().size());
    static ReusedGame& reused = *new ReusedGame([](TempGameFolder& built) { demo::AddDemoWeapons(built); });
    TempGameFolder& game = reused.Reset(editor.Table, input.File);
    ProgramRun run(game);
    if (run.Ended) return 0;
    TForm1& f = run.Form();
    // A load that leaves fields it cannot show empty says so in a message; a load that fails shows an error.
    const std::size_t boxesBefore = run.Platform.Boxes.size();
    run.Act([&] { UserInput::Choose(f.*editor.List, weapon); });
    const bool loadedWhole =
        std::none_of(run.Platform.Boxes.begin() + boxesBefore, run.Platform.Boxes.end(),
                     [](const auto& box) { return box.kind == HeadlessPlatform::Box::Kind::Error; });
    TEdit& box = f.*editor.Boxes[input.Choices[1] % editor.Boxes.size()];
    run.Act([&] { UserInput::Type(box, kTexts[input.Choices[2] % kTexts.size()]); });

    const Bytes before = game.ReadFile(editor.Table);
    const std::size_t shown = run.Act([&] { UserInput::Click(f.*editor.Save); });
    const Bytes after = game.ReadFile(editor.Table);
    if (shown > 0) Require(after == before, "a weapon save that shows a box leaves the table unchanged", &run);
    if (!loadedWhole) Require(after == before, "a weapon that did not load whole is never saved", &run);
    Require(after.size() == before.size(), "nothing is written beyond a table's end");
    // The bytes the editor's save writes, counted from the record's base: each box's 4 and the others.
    std::vector<std::pair<std::int32_t, std::int32_t>> written = editor.More;
    for (const FloatField& field : editor.Fields) written.emplace_back(field.Offset, 4);
    for (std::size_t i = 0; i < after.size(); ++i) {
        const std::int64_t offset = static_cast<std::int64_t>(i) - editor.Base(weapon);
        const auto holds = [offset](const auto& span) {
            return offset >= span.first && offset < span.first + span.second;
        };
        Require(after[i] == before[i] || std::any_of(written.begin(), written.end(), holds),
                "a weapon save changes only the fields of the weapon's record");
    }
    return 0;
}
