// The gun and missile editors on any weapon table: choose a weapon, type a value, save. Choices: [0] bit 0 the
// missile table (else the gun table), the other bits the weapon; [1] the box typed into; [2] the text typed.
#include <algorithm>
#include <array>
#include <span>

#include "demo/demo_installation.h"
#include "demo/demo_ships.h"
#include "fuzz/fuzz_game.h"
#include "testkit/temp_game_folder.h"
#include "ui/user_input.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"

namespace {

using namespace tovarin;
using namespace tovarin::fuzz;

constexpr std::array<const char*, 6> kTexts{"100", "0", "-7", "2147483647", "", "x"};

// Bytes of a record, from its base.
struct Span {
    std::int32_t Offset;
    std::int32_t Length;
};

// The fields' bytes and more.
std::vector<Span> Spans(std::span<const FloatField> fields, std::vector<Span> more) {
    for (const FloatField& field : fields) more.push_back({field.Offset, 4});
    return more;
}

struct WeaponTab {
    const char* Table;
    TComboBox TForm1::*List;
    TButton TForm1::*Save;
    std::span<const FloatField> Fields;  // the boxes to type into
    std::vector<Span> Written;           // what the save may change: the editor's own fields
    std::int32_t (*Base)(int weapon);    // the demo catalogue's record position
    const std::vector<std::string>& (*Names)();
};

const WeaponTab kGuns{kGunTableFile,         &TForm1::ComboBox4, &TForm1::Button7,  kGunFields,
                      Spans(kGunFields, {}), demo::DemoGunBase,  demo::DemoGunNames};
const WeaponTab kMissiles{
    kMissileTableFile,
    &TForm1::ComboBox5,
    &TForm1::Button8,
    kMissileFields,
    Spans(kMissileFields,
          {{kSplitDelayField.Offset, 4}, {kFlagWordOffset, 2}, {kSubMissileTypeOffset, 1}, {kSplitCountOffset, 1}}),
    demo::DemoMissileBase,
    demo::DemoMissileNames};

bool IsWritten(const WeaponTab& editor, std::int64_t offset) {
    return std::any_of(editor.Written.begin(), editor.Written.end(),
                       [&](const Span& span) { return offset >= span.Offset && offset < span.Offset + span.Length; });
}

void CheckSave(const WeaponTab& editor, std::int32_t base, const Bytes& before, const Bytes& after) {
    Require(after.size() == before.size(), "nothing is written beyond a table's end");
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (!IsWritten(editor, static_cast<std::int64_t>(i) - base)) {
            Require(after[i] == before[i], "a weapon save changes only the fields of the weapon's record");
        }
    }
}

}  // namespace

std::vector<Bytes> tovarin::fuzz::FuzzSeeds() {
    TempGameFolder demo;
    demo::AddDemoWeapons(demo);
    std::vector<Bytes> seeds;
    for (const WeaponTab* editor : {&kGuns, &kMissiles}) {
        const std::uint8_t table = editor == &kMissiles ? 1 : 0;
        for (std::size_t weapon = 0; weapon < editor->Names().size(); ++weapon) {
            const Bytes choices{static_cast<std::uint8_t>(table + 2 * weapon), static_cast<std::uint8_t>(weapon), 0};
            seeds.push_back(Seed(choices, demo.ReadFile(editor->Table)));
        }
    }
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input(data, size, 3);
    const WeaponTab& editor = input.Choices[0] & 1 ? kMissiles : kGuns;
    const int weapon = static_cast<int>((input.Choices[0] >> 1) % editor.Names().size());
    TempGameFolder game;
    demo::AddDemoWeapons(game);
    game.WriteFile(editor.Table, input.File);
    ProgramRun run(game);
    if (run.Ended) return 0;
    TForm1& f = run.Form();
    // A load that leaves fields it cannot show empty says so in a message; a load that fails shows an error.
    const std::size_t boxesBefore = run.Platform.Boxes.size();
    run.Act([&] { UserInput::Choose(f.*editor.List, weapon); });
    const bool loadedWhole =
        std::none_of(run.Platform.Boxes.begin() + boxesBefore, run.Platform.Boxes.end(),
                     [](const auto& box) { return box.kind == HeadlessPlatform::Box::Kind::Error; });
    TEdit& box = f.*editor.Fields[input.Choices[1] % editor.Fields.size()].Box;
    run.Act([&] { UserInput::Type(box, kTexts[input.Choices[2] % kTexts.size()]); });

    const Bytes before = game.ReadFile(editor.Table);
    const std::size_t shown = run.Act([&] { UserInput::Click(f.*editor.Save); });
    const Bytes after = game.ReadFile(editor.Table);
    if (shown > 0) Require(after == before, "a weapon save that shows a box leaves the table unchanged", &run);
    if (!loadedWhole) Require(after == before, "a weapon that did not load whole is never saved", &run);
    CheckSave(editor, editor.Base(weapon), before, after);
    return 0;
}
