#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gamefiles/numbers.h"
#include "ships/ship_session.h"
#include "testkit/chunk_writer.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

// The plan as a save writes it back: floats rounded as shown, the byte after each missile count cleared.
ShipPlan AsSaved(ShipPlan plan) {
    for (auto [name, value] : FloatBoxes(plan)) *value = std::nearbyint(*value);
    if (plan.Booster) {
        for (float& value : plan.Booster->Values) value = std::nearbyint(value);
    }
    if (plan.Missiles) {
        for (ShipMissileMount& mount : plan.Missiles->Mounts) mount.LoadsHigh = 0;
    }
    return plan;
}

TEST(ShipSave, SavingWithoutChangesRewritesTheSameBytesButRoundedFloatsAndMissileCounts) {
    ShipPlan odd = FullShip();
    odd.Slide = true;
    odd.Booster = ShipBooster{};
    odd.Booster->Values[11] = 18.5F;
    odd.Mass = 12500.5F;
    odd.Hitpoints = 3.5F;
    odd.Shields->Front = -1.5F;
    odd.Armour->Left = 114.25F;
    odd.GunPower.Energy = 239.75F;
    odd.Missiles->Mounts[0].LoadsHigh = 9;
    for (const auto& [name, plan] : {std::pair{"minimal", ShipPlan{}}, {"full", FullShip()}, {"not whole", odd}}) {
        SCOPED_TRACE(name);
        ShipGame game(plan);
        ProgramRun run(game.Game);
        UserInput::Click(run.Form().Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(AsSaved(plan)).File));
        EXPECT_TRUE(SameBytes(game.Game.ReadFile(kTempFile), game.ShipBytes()));
    }
}

// Types a new value into every box and the booster dialog, and puts new weapons on a gun mount, a turret and a
// missile mount of FullShip; the expected plan follows.
void EditEverything(ProgramRun& run, ShipPlan& expected) {
    TForm1& f = run.Form();
    int value = 5001;
    for (auto [name, stored] : FloatBoxes(expected)) {
        UserInput::Type(Box(f, name), IntToStr(value));
        *stored = static_cast<float>(value);
        value += 7;
    }
    UserInput::Type(f.Edit14, "77");
    expected.Decoys = 77;
    UserInput::Select(f.ListBox1, 1);
    UserInput::Choose(f.ComboBox2, 11);
    UserInput::Type(f.Edit28, "250");
    UserInput::Click(f.Button3);
    expected.GunMounts[1] = {11, 250, expected.GunMounts[1].Name};
    UserInput::Select(f.ListBox1, 4);
    UserInput::Choose(f.ComboBox2, 7);
    UserInput::Click(f.Button3);
    expected.Turrets->Guns[1] = 7;
    UserInput::Select(f.ListBox2, 0);
    UserInput::Choose(f.ComboBox3, 3);
    UserInput::Type(f.Edit9, "9");
    UserInput::Click(f.Button4);
    expected.Missiles->Mounts[0] = {3, 9, 0};
    if (!expected.Booster) return;
    for (std::size_t i = 0; i < 12; ++i) expected.Booster->Values[i] = static_cast<float>(6001 + i);
    run.Platform.InsideBoosterDialog = [](TForm3& d) {
        for (auto [field, index] : BoosterFields(d)) UserInput::Type(*field, std::to_string(6001 + index));
        UserInput::Click(d.Button1);
    };
    UserInput::Click(f.Button11);
}

// Every combination of autoslide and booster before and after, with every value changed: the file must be the
// same ship built the new way, and the reload must find every value where the save put it.
TEST(ShipSave, SwitchingAutoslideAndTheBoosterRebuildsTheFileWithEveryValueAtItsPlace) {
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 4; ++to) {
            const bool fromSlide = (from & 1) != 0, fromBooster = (from & 2) != 0;
            const bool toSlide = (to & 1) != 0, toBooster = (to & 2) != 0;
            SCOPED_TRACE(::testing::Message() << "slide " << fromSlide << " -> " << toSlide << ", booster "
                                              << fromBooster << " -> " << toBooster);
            ShipPlan plan = FullShip();
            plan.Slide = fromSlide;
            if (fromBooster) plan.Booster = ShipBooster{{380, 900, 45, 35, 95, 24, 60, 50, 110, 100, 2800, 22}};
            ShipGame game(plan);
            ProgramRun run(game.Game);
            TForm1& f = run.Form();
            ShipPlan expected = plan;
            expected.Slide = toSlide;
            if (toBooster != fromBooster) expected.Booster = toBooster ? std::optional(ShipBooster{}) : std::nullopt;
            if (toSlide != fromSlide) UserInput::Toggle(f.CheckBox1);
            if (toBooster != fromBooster) UserInput::Toggle(f.CheckBox2);
            EditEverything(run, expected);

            UserInput::Click(f.Button2);
            EXPECT_TRUE(run.Shown().empty());
            EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File));
            EXPECT_TRUE(SameBytes(game.Game.ReadFile(kTempFile), game.ShipBytes()));
            EXPECT_EQ(f.SlideAtLoad, toSlide);
            EXPECT_EQ(f.BoosterAtLoad, toBooster);
            UserInput::Click(f.Button2);
            EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File)) << "saved again";
        }
    }
}

TEST(ShipSave, PartsTheShipLacksKeepTheirBytes) {
    const auto without = [](bool missiles, bool decoys, bool shields, bool armour) {
        ShipPlan plan = FullShip();
        if (!missiles) plan.Missiles.reset();
        if (!decoys) plan.Decoys.reset();
        if (!shields) plan.Shields.reset();
        if (!armour) plan.Armour.reset();
        return plan;
    };
    for (const ShipPlan& plan :
         {without(false, false, true, true), without(true, false, true, true), without(false, true, true, true),
          without(true, true, false, true), without(true, true, true, false), ShipPlan{}}) {
        SCOPED_TRACE(::testing::Message()
                     << "missiles " << plan.Missiles.has_value() << ", decoys " << plan.Decoys.has_value()
                     << ", shields " << plan.Shields.has_value() << ", armour " << plan.Armour.has_value());
        // The full ship is shown first, so every box and list holds values this ship lacks.
        ShipGame game(FullShip(), {plan});
        ProgramRun run(game.Game);
        UserInput::Choose(run.Form().ComboBox1, 1);
        UserInput::Click(run.Form().Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.Game.ReadFile("Ships\\other0.iff"), BuildShip(plan).File));
    }
}

// ---- Saves that must stop before any file changes ----------------------------------------------------------------

void PutWordBE(Bytes& bytes, std::int32_t position, std::uint16_t value) {
    bytes.at(static_cast<std::size_t>(position)) = static_cast<std::uint8_t>(value >> 8);
    bytes.at(static_cast<std::size_t>(position) + 1) = static_cast<std::uint8_t>(value);
}

// Inserts a chunk and grows the length words of the forms around it.
Bytes WithChunkInserted(Bytes file, std::int32_t at, const Bytes& chunk, const std::vector<std::int32_t>& words) {
    file.insert(file.begin() + at, chunk.begin(), chunk.end());
    for (std::int32_t word : words) {
        PutWordBE(file, word,
                  static_cast<std::uint16_t>(WordBEAt(file, static_cast<std::size_t>(word)) + chunk.size()));
    }
    return file;
}

// Types into a box of the Ships tab, or ("Booster") into the booster dialog's speed.
void Enter(ProgramRun& run, const std::string& box, const std::string& text) {
    if (box != "Booster") return UserInput::Type(Box(run.Form(), box), text);
    run.Platform.InsideBoosterDialog = [text](TForm3& d) {
        UserInput::Type(d.Edit1, text);
        UserInput::Click(d.Button1);
    };
    UserInput::Click(run.Form().Button11);
}

struct StoppedSave {
    std::string Name;
    Bytes File;
    bool SwitchSlide;
    bool SwitchBooster;
    std::string Box;  // typed into before the save (see Enter); none when the file itself stops the save
    std::string Text;
    std::string Message;
    std::string Retry;  // typed into the box before saving again
};

std::vector<StoppedSave> StoppedSaves() {
    const BuiltShip plain = BuildShip(FullShip());
    const Bytes& full = plain.File;
    // A SLID chunk behind the hitpoints chunk: the 12 bytes after PHYS are the hitpoints.
    const Bytes slide{'S', 'L', 'I', 'D', 0, 0, 0, 4, 1, 0, 0, 0};
    const Bytes slideElsewhere = WithChunkInserted(plain.File, plain.Offsets.Hitpoints + 8, slide, {6});
    // Another chunk between the booster and the GUNS form, still inside the ENGN form.
    ShipPlan boosted = FullShip();
    boosted.Booster = ShipBooster{};
    const ShipOffsets at = BuildShip(boosted).Offsets;
    const Bytes boosterElsewhere =
        WithChunkInserted(BuildShip(boosted).File, at.GunsBase, {'X', 'T', 'R', 'A', 0, 0, 0, 0},
                          {6, at.EngnContainer + 6, at.EngnBase + 6});
    const std::string slideMessage =
        "Autoslide cannot be saved: the SLID chunk of this ship does not follow its PHYS chunk. The ship file was "
        "not changed.";
    std::vector<StoppedSave> rows = {
        {"mass not a number", full, true, true, "Edit29", "abc", "'abc' is not a valid integer value.", "16777217"},
        {"empty box", full, true, true, "Edit24", "", "'' is not a valid integer value.", "16"},
        {"speed too large for a float", full, true, true, "Edit15", "2147483584",
         "Out of range: Speed Max. Please try a value less than 2147483584.", "2147483583"},
        {"armour too large", full, true, true, "Edit10", "2147483647",
         "Out of range: Armor Front. Please try a value less than 2147483584.", "130"},
        {"shield recharge too small", full, true, true, "Edit22", "-2147483584",
         "Out of range: Shield recharge rate max. Please try a value greater than -2147483584.", "-2147483583"},
        {"256 decoys", full, true, true, "Edit14", "256", "Range check error.", "255"},
        {"-1 decoys", full, true, true, "Edit14", "-1", "Range check error.", "0"},
        {"booster speed too large", full, true, true, "Booster", "2147483647",
         "Out of range: Booster Speed (activated). Please try a value less than 2147483584.", "2147483583"},
        {"SLID elsewhere, autoslide kept", slideElsewhere, false, false, "", "", slideMessage, ""},
        {"SLID elsewhere, autoslide switched off", slideElsewhere, true, false, "", "", slideMessage, ""},
        {"BOOS not before the guns", boosterElsewhere, false, true, "", "",
         "The booster cannot be removed: the BOOS chunk of this ship does not stand right before its guns. The ship "
         "file was not changed.",
         ""},
    };
    enum Word { kFile, kEngineParent, kEngine };
    const struct {
        const char* Name;
        bool Slide, Booster, SwitchSlide, SwitchBooster;
        Word At;
        std::uint16_t Value;
    } words[] = {
        {"file length, booster added", false, false, false, true, kFile, 65500},
        {"file length, booster added and slide dropped", true, false, true, true, kFile, 65500},
        {"file length, slide added", false, false, true, false, kFile, 65530},
        {"engine's form length, booster added", false, false, false, true, kEngineParent, 65422},
        {"engine length, booster added", false, false, false, true, kEngine, 65422},
        {"file length, both dropped", true, true, true, true, kFile, 120},
        {"engine length, booster dropped", false, true, false, true, kEngine, 113},
    };
    for (const auto& w : words) {
        ShipPlan plan = FullShip();
        plan.Slide = w.Slide;
        if (w.Booster) plan.Booster = ShipBooster{};
        BuiltShip built = BuildShip(plan);
        const std::int32_t position[] = {6, built.Offsets.EngnContainer + 6, built.Offsets.EngnBase + 6};
        PutWordBE(built.File, position[w.At], w.Value);
        rows.push_back({w.Name, built.File, w.SwitchSlide, w.SwitchBooster, "", "", "Range check error.", ""});
    }
    return rows;
}

// A stopped save changes neither the ship file nor the temporary file, nor what the program believes about the
// file. Saving again stops the same way; or, once the box is corrected, gives the file a first save would have.
TEST(ShipSave, AStoppedSaveChangesNoFileAndARetryGivesTheFirstSavesFile) {
    const Bytes oldTemp{1, 2, 3};
    for (const StoppedSave& row : StoppedSaves()) {
        SCOPED_TRACE(row.Name);
        ShipGame game(ShipPlan{});
        game.Game.WriteFile(kShipFile, row.File);
        game.Game.WriteFile(kTempFile, oldTemp);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        const bool slideAtLoad = f.SlideAtLoad, boosterAtLoad = f.BoosterAtLoad;
        if (row.SwitchSlide) UserInput::Toggle(f.CheckBox1);
        if (row.SwitchBooster) UserInput::Toggle(f.CheckBox2);
        if (!row.Box.empty()) Enter(run, row.Box, row.Text);
        for (int save = 0; save < (row.Retry.empty() ? 2 : 1); ++save) {
            UserInput::Click(f.Button2);
            EXPECT_EQ(run.Shown(), std::vector<std::string>{row.Message});
            EXPECT_TRUE(SameBytes(game.ShipBytes(), row.File));
            EXPECT_EQ(game.Game.ReadFile(kTempFile), oldTemp);
            EXPECT_EQ(f.SlideAtLoad, slideAtLoad);
            EXPECT_EQ(f.BoosterAtLoad, boosterAtLoad);
            run.Platform.Boxes.clear();
        }
        if (row.Retry.empty()) continue;

        Enter(run, row.Box, row.Retry);
        UserInput::Click(f.Button2);
        ShipPlan expected = FullShip();
        expected.Slide = true;
        expected.Booster = ShipBooster{};
        const float retried = static_cast<float>(std::stol(row.Retry));
        if (row.Box == "Edit14") expected.Decoys = static_cast<std::uint8_t>(retried);
        if (row.Box == "Booster") expected.Booster->Values[10] = retried;
        for (auto [name, value] : FloatBoxes(expected)) {
            if (name == row.Box) *value = retried;
        }
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File));
    }
}

// A save that stopped right after its booster step leaves the file with the change, and the program knows it:
// saving again neither adds a second chunk nor cuts the guns' first bytes.
TEST(ShipSave, OnceTheBoosterChunkChangedOnDiskTheStateDescribesTheFile) {
    for (bool removing : {false, true}) {
        SCOPED_TRACE(removing ? "removing" : "inserting");
        ShipPlan from = FullShip();
        ShipPlan to = FullShip();
        (removing ? from : to).Booster = ShipBooster{};
        ShipGame game(from);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Toggle(f.CheckBox2);
        if (removing) {
            f.RemoveBoosterChunk(f.ShipPath(), f.TempShipPath());
        } else {
            f.InsertBoosterChunk(f.ShipPath(), f.TempShipPath());
        }
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(to).File));
        EXPECT_EQ(f.BoosterAtLoad, !removing);

        UserInput::Click(f.Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(to).File));
    }
}

}  // namespace
}  // namespace tovarin::testkit
