#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "gamefiles/numbers.h"
#include "ships/ship_session.h"
#include "testkit/chunk_writer.h"
#include "testkit/demo_ships.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

// ---- What the player does, and what the file should hold afterwards ------------------------------------------

// Types a new value into every box of the Ships tab the ship shows, each distinct, and expects it in the file.
void EditEveryBox(TForm1& f, ShipPlan& expected) {
    std::vector<std::pair<TEdit*, float*>> boxes = {
        {&f.Edit29, &expected.Mass},
        {&f.Edit27, &expected.Hitpoints},
        {&f.Edit1, &expected.Engine.SpeedMin},
        {&f.Edit2, &expected.Engine.SpeedStd},
        {&f.Edit15, &expected.Engine.SpeedMax},
        {&f.Edit4, &expected.Engine.Acceleration},
        {&f.Edit3, &expected.Engine.AfterburnerSpeed},
        {&f.Edit6, &expected.Engine.AfterburnerAcceleration},
        {&f.Edit26, &expected.Engine.AfterburnerFuel},
        {&f.Edit7, &expected.Engine.Y},
        {&f.Edit5, &expected.Engine.P},
        {&f.Edit8, &expected.Engine.R},
        {&f.Edit25, &expected.Engine.YprRate},
        {&f.Edit18, &expected.GunPower.Energy},
        {&f.Edit19, &expected.GunPower.RechargeMin},
        {&f.Edit23, &expected.GunPower.RechargeStd},
        {&f.Edit24, &expected.GunPower.RechargeMax},
    };
    if (expected.Armour) {
        boxes.insert(boxes.end(), {{&f.Edit10, &expected.Armour->Front},
                                   {&f.Edit11, &expected.Armour->Right},
                                   {&f.Edit12, &expected.Armour->Left},
                                   {&f.Edit13, &expected.Armour->Aft}});
    }
    if (expected.Shields) {
        boxes.insert(boxes.end(), {{&f.Edit17, &expected.Shields->Front},
                                   {&f.Edit16, &expected.Shields->Aft},
                                   {&f.Edit20, &expected.Shields->RechargeMin},
                                   {&f.Edit21, &expected.Shields->RechargeStd},
                                   {&f.Edit22, &expected.Shields->RechargeMax}});
    }
    int value = 5001;
    for (auto [box, stored] : boxes) {
        UserInput::Type(*box, IntToStr(value));
        *stored = static_cast<float>(value);
        value += 7;
    }
    if (expected.Decoys) {
        UserInput::Type(f.Edit14, "77");
        expected.Decoys = 77;
    }
}

// Puts a new weapon on the second gun mount, the second turret and the first missile mount (of FullShip).
void EditEveryMount(TForm1& f, ShipPlan& expected) {
    UserInput::Select(f.ListBox1, 1);
    UserInput::Choose(f.ComboBox2, 11);
    UserInput::Type(f.Edit28, "250");
    UserInput::Click(f.Button3);
    expected.GunMounts[1].Gun = 11;
    expected.GunMounts[1].Ammo = 250;

    UserInput::Select(f.ListBox1, static_cast<int>(expected.GunMounts.size()) + 1);
    UserInput::Choose(f.ComboBox2, 7);
    UserInput::Click(f.Button3);
    expected.Turrets->Guns[1] = 7;

    UserInput::Select(f.ListBox2, 0);
    UserInput::Choose(f.ComboBox3, 3);
    UserInput::Type(f.Edit9, "9");
    UserInput::Click(f.Button4);
    expected.Missiles->Mounts[0] = {3, 9, 0};
}

// The booster dialog's fields and the booster value each one edits.
std::vector<std::pair<TEdit TForm3::*, std::size_t>> BoosterFields() {
    return {{&TForm3::Edit1, 10}, {&TForm3::Edit2, 0},  {&TForm3::Edit3, 1},  {&TForm3::Edit4, 7},
            {&TForm3::Edit5, 6},  {&TForm3::Edit6, 8},  {&TForm3::Edit7, 3},  {&TForm3::Edit8, 2},
            {&TForm3::Edit9, 4},  {&TForm3::Edit10, 9}, {&TForm3::Edit11, 5}, {&TForm3::Edit12, 11}};
}

// Opens "Edit Booster", types the values (by booster value index) and presses OK.
void EditBooster(ProgramRun& run, const std::array<int, 12>& values) {
    run.Platform.InsideBoosterDialog = [&values](TForm3& dialog) {
        for (auto [field, index] : BoosterFields()) UserInput::Type(dialog.*field, IntToStr(values[index]));
        UserInput::Click(dialog.Button1);
    };
    UserInput::Click(run.Form().Button11);
}

void ExpectPositions(const ShipState& ship, const ShipOffsets& at) {
    EXPECT_EQ(ship.PhysPos, at.PhysPos);
    EXPECT_EQ(ship.EngnBase, at.EngnBase);
    EXPECT_EQ(ship.GunsBase, at.GunsBase);
    EXPECT_EQ(ship.MissBase, at.MissBase);
    EXPECT_EQ(ship.DecyBase, at.DecyBase);
    EXPECT_EQ(ship.ShieldBase, at.ShieldBase);
    EXPECT_EQ(ship.ArmrBase, at.ArmrBase);
    EXPECT_EQ(ship.BoosPos, at.BoosPos);
    ASSERT_EQ(ship.TurretCount, at.TurretTypePos.size());
    for (std::size_t k = 0; k < at.TurretTypePos.size(); ++k) EXPECT_EQ(ship.TurretTypePos[k], at.TurretTypePos[k]);
}

// ---- Byte surgery for files the builder does not make ------------------------------------------------------------

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

// ---- Unchanged saves ---------------------------------------------------------------------------------------------

TEST(ShipSave, SavingWithoutChangesRewritesTheSameBytes) {
    std::vector<std::pair<std::string, ShipPlan>> ships = {{"minimal", ShipPlan{}}, {"full", FullShip()}};
    for (const DemoShip& demo : DemoShips()) ships.emplace_back(demo.Name, demo.Plan);
    for (const auto& [name, plan] : ships) {
        SCOPED_TRACE(name);
        ShipGame game(plan);
        ProgramRun run(game.Game);
        UserInput::Click(run.Form().Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(plan).File));
        EXPECT_TRUE(SameBytes(game.Game.ReadFile(kTempFile), game.ShipBytes()));
    }
}

TEST(ShipSave, SavingWithoutChangesRoundsFloatsAndClearsTheByteAfterEachMissileCount) {
    ShipPlan plan = FullShip();
    plan.Slide = true;
    plan.Booster = ShipBooster{};
    plan.Mass = 12500.5F;
    plan.Hitpoints = 2.5F;
    plan.Engine.SpeedMax = 3.5F;
    plan.Shields->Front = -1.5F;
    plan.Armour->Left = 114.25F;
    plan.GunPower.Energy = 239.75F;
    plan.Booster->Values[11] = 18.5F;
    plan.Missiles->Mounts[0].LoadsHigh = 9;
    plan.Missiles->Mounts[1].LoadsHigh = 1;
    ShipGame game(plan);
    ProgramRun run(game.Game);

    UserInput::Click(run.Form().Button2);

    ShipPlan expected = plan;
    expected.Mass = 12500;  // halves go to the even neighbour
    expected.Hitpoints = 2;
    expected.Engine.SpeedMax = 4;
    expected.Shields->Front = -2;
    expected.Armour->Left = 114;
    expected.GunPower.Energy = 240;
    expected.Booster->Values[11] = 18;
    expected.Missiles->Mounts[0].LoadsHigh = 0;
    expected.Missiles->Mounts[1].LoadsHigh = 0;
    EXPECT_TRUE(run.Shown().empty());
    EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File));
}

// ---- Adding and dropping the slide and booster chunks ------------------------------------------------------------

struct ChunkCase {
    bool FromSlide;
    bool FromBooster;
    bool ToSlide;
    bool ToBooster;
};

std::vector<ChunkCase> EveryChunkCase() {
    std::vector<ChunkCase> cases;
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 4; ++to)
            cases.push_back({(from & 1) != 0, (from & 2) != 0, (to & 1) != 0, (to & 2) != 0});
    }
    return cases;
}

std::string Describe(const ChunkCase& c) {
    auto state = [](bool slide, bool booster) {
        return std::string(slide ? "slide" : "no slide") + (booster ? " + booster" : " + no booster");
    };
    return state(c.FromSlide, c.FromBooster) + " -> " + state(c.ToSlide, c.ToBooster);
}

constexpr std::array<int, 12> kNewBoosterValues{361, 872, 43, 34, 95, 26, 67, 58, 129, 1110, 3111, 12};

// Switches autoslide and the booster as the case says and changes every value, saves, and checks the file against
// the same ship built the new way, then the reload.
void RunChunkCase(const ChunkCase& c) {
    ShipPlan from = FullShip();
    from.Slide = c.FromSlide;
    if (c.FromBooster) from.Booster = ShipBooster{{380, 900, 45, 35, 95, 24, 60, 50, 110, 100, 2800, 22}};
    ShipGame game(from);
    ProgramRun run(game.Game);
    TForm1& f = run.Form();

    ShipPlan to = from;
    to.Slide = c.ToSlide;
    if (!c.ToBooster) to.Booster.reset();
    if (c.ToBooster && !c.FromBooster) to.Booster = ShipBooster{};  // a new chunk starts from the defaults
    if (c.ToSlide != c.FromSlide) UserInput::Toggle(f.CheckBox1);
    if (c.ToBooster != c.FromBooster) UserInput::Toggle(f.CheckBox2);
    EditEveryBox(f, to);
    EditEveryMount(f, to);
    if (c.ToBooster) {
        EditBooster(run, kNewBoosterValues);
        for (std::size_t i = 0; i < kNewBoosterValues.size(); ++i) {
            to.Booster->Values[i] = static_cast<float>(kNewBoosterValues[i]);
        }
    }
    UserInput::Click(f.Button2);

    const BuiltShip expected = BuildShip(to);
    EXPECT_TRUE(run.Shown().empty());
    EXPECT_TRUE(SameBytes(game.ShipBytes(), expected.File));
    EXPECT_EQ(ChunkTreeProblem(game.ShipBytes()), "");
    EXPECT_TRUE(SameBytes(game.Game.ReadFile(kTempFile), expected.File));
    // The reload shows the file as saved.
    EXPECT_EQ(f.CheckBox1.Checked(), c.ToSlide);
    EXPECT_EQ(f.CheckBox2.Checked(), c.ToBooster);
    EXPECT_EQ(f.Button11.Enabled(), c.ToBooster);
    EXPECT_EQ(f.SlideAtLoad, c.ToSlide);
    EXPECT_EQ(f.BoosterAtLoad, c.ToBooster);
    EXPECT_EQ(f.Edit29.Text(), IntToStr(static_cast<int>(to.Mass)));
    EXPECT_EQ(f.Edit27.Text(), IntToStr(static_cast<int>(to.Hitpoints)));
    EXPECT_EQ(f.Edit24.Text(), IntToStr(static_cast<int>(to.GunPower.RechargeMax)));
    ExpectPositions(f.Ship, expected.Offsets);
}

TEST(ShipSave, SwitchingAutoslideAndTheBoosterRebuildsTheFileWithEveryValueAtItsPlace) {
    for (const ChunkCase& c : EveryChunkCase()) {
        SCOPED_TRACE(Describe(c));
        RunChunkCase(c);
    }
}

TEST(ShipSave, PartsTheShipLacksKeepTheirBytes) {
    ShipPlan noMissiles = FullShip();
    noMissiles.Missiles.reset();
    noMissiles.Decoys.reset();
    ShipPlan missilesWithoutDecoys = FullShip();
    missilesWithoutDecoys.Decoys.reset();
    ShipPlan decoysWithoutMissiles = FullShip();
    decoysWithoutMissiles.Missiles.reset();
    ShipPlan noShields = FullShip();
    noShields.Shields.reset();
    ShipPlan noArmour = FullShip();
    noArmour.Armour.reset();
    const std::vector<std::pair<std::string, ShipPlan>> cases = {
        {"no missiles", noMissiles},
        {"missiles without decoys", missilesWithoutDecoys},
        {"decoys without missiles", decoysWithoutMissiles},
        {"no shields", noShields},
        {"no armour", noArmour},
        {"none of them", ShipPlan{}},
    };
    for (const auto& [name, plan] : cases) {
        SCOPED_TRACE(name);
        // The full ship is shown first, so every box and list holds values the other ship lacks.
        ShipGame game(FullShip(), {plan});
        ProgramRun run(game.Game);
        UserInput::Choose(run.Form().ComboBox1, 1);
        UserInput::Click(run.Form().Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.Game.ReadFile("Ships\\other0.iff"), BuildShip(plan).File));
    }
}

// ---- Saves that must stop before anything changes ----------------------------------------------------------------

// A save with autoslide and a booster newly switched on, stopped by a bad box: neither the ship file nor the
// temporary file may change, nor what the program believes about the file; once the box is corrected the save
// gives the file a first save would have.
TEST(ShipSave, ABadBoxStopsTheSaveBeforeAnyFileChanges) {
    struct Row {
        const char* Box;
        std::string Text;
        std::string Message;
    };
    const std::vector<Row> rows = {
        {"Edit29", "abc", "'abc' is not a valid integer value."},
        {"Edit24", "", "'' is not a valid integer value."},
        {"Edit15", "2147483584", "Out of range: Speed Max. Please try a value less than 2147483584."},
        {"Edit10", "2147483647", "Out of range: Armor Front. Please try a value less than 2147483584."},
        {"Edit22", "-2147483584",
         "Out of range: Shield recharge rate max. Please try a value greater than -2147483584."},
        {"Edit14", "256", "Range check error."},
        {"Edit14", "-1", "Range check error."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.Box) + " = '" + row.Text + "'");
        const ShipPlan plan = FullShip();
        ShipGame game(plan);
        game.Game.WriteFile(kTempFile, Bytes{1, 2, 3});
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Toggle(f.CheckBox1);
        UserInput::Toggle(f.CheckBox2);
        auto& box = dynamic_cast<TEdit&>(*f.FindComponent(row.Box));
        const std::string good = box.Text();

        UserInput::Type(box, row.Text);
        UserInput::Click(f.Button2);

        EXPECT_EQ(run.Shown(), std::vector<std::string>{row.Message});
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(plan).File));
        EXPECT_EQ(game.Game.ReadFile(kTempFile), (Bytes{1, 2, 3}));
        EXPECT_FALSE(f.BoosterAtLoad);
        ExpectPositions(f.Ship, BuildShip(plan).Offsets);

        run.Platform.Boxes.clear();
        UserInput::Type(box, good);
        UserInput::Click(f.Button2);
        ShipPlan expected = plan;
        expected.Slide = true;
        expected.Booster = ShipBooster{};
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(expected).File));
    }
}

TEST(ShipSave, ABoosterValueThatCouldNotBeShownAgainIsRefused) {
    const ShipPlan plan = FullShip();
    ShipGame game(plan);
    ProgramRun run(game.Game);
    TForm1& f = run.Form();
    UserInput::Toggle(f.CheckBox2);
    std::array<int, 12> values{350, 870, 40, 30, 90, 20, 65, 55, 120, 110, 2147483647, 18};
    EditBooster(run, values);

    UserInput::Click(f.Button2);

    EXPECT_EQ(run.Shown(), std::vector<std::string>{
                               "Out of range: Booster Speed (activated). Please try a value less than 2147483584."});
    EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(plan).File));

    run.Platform.Boxes.clear();
    values[10] = 2147483583;
    EditBooster(run, values);
    UserInput::Click(f.Button2);
    EXPECT_TRUE(run.Shown().empty());
    EXPECT_EQ(f.Ship.BoosterValues[10], 2147483520);  // the nearest float, shown again after the reload
}

TEST(ShipSave, TheLargestValuesThatCanBeShownAgainAreSaved) {
    ShipGame game(FullShip());
    ProgramRun run(game.Game);
    TForm1& f = run.Form();
    UserInput::Type(f.Edit15, "2147483583");
    UserInput::Type(f.Edit1, "-2147483583");
    UserInput::Type(f.Edit29, "16777217");

    UserInput::Click(f.Button2);

    EXPECT_TRUE(run.Shown().empty());
    EXPECT_EQ(f.Edit15.Text(), "2147483520");
    EXPECT_EQ(f.Edit1.Text(), "-2147483520");
    EXPECT_EQ(f.Edit29.Text(), "16777216");
}

// What a save that stopped after its booster step leaves: the file holds the change and the program knows it,
// so saving again neither adds a second chunk nor removes the guns' first bytes.
TEST(ShipSave, AfterTheBoosterStepTheStateDescribesTheFile) {
    for (bool fromBooster : {false, true}) {
        SCOPED_TRACE(fromBooster ? "removing" : "inserting");
        ShipPlan from = FullShip();
        if (fromBooster) from.Booster = ShipBooster{};
        ShipPlan to = FullShip();
        if (!fromBooster) to.Booster = ShipBooster{};
        const BuiltShip expected = BuildShip(to);
        ShipGame game(from);
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        UserInput::Toggle(f.CheckBox2);

        if (fromBooster) {
            f.RemoveBoosterChunk(f.ShipPath(), f.TempShipPath());
        } else {
            f.InsertBoosterChunk(f.ShipPath(), f.TempShipPath());
        }

        EXPECT_TRUE(SameBytes(game.ShipBytes(), expected.File));
        EXPECT_EQ(f.BoosterAtLoad, !fromBooster);
        ExpectPositions(f.Ship, expected.Offsets);

        UserInput::Click(f.Button2);
        EXPECT_TRUE(run.Shown().empty());
        EXPECT_TRUE(SameBytes(game.ShipBytes(), expected.File));
    }
}

TEST(ShipSave, ASlideChunkElsewhereThanAfterThePhysicsChunkIsNotCut) {
    const BuiltShip plain = BuildShip(FullShip());
    // The SLID chunk behind the hitpoints chunk: the 12 bytes after PHYS are the hitpoints.
    const Bytes slide{'S', 'L', 'I', 'D', 0, 0, 0, 4, 1, 0, 0, 0};
    const Bytes file = WithChunkInserted(plain.File, plain.Offsets.Hitpoints + 8, slide, {6});
    ASSERT_EQ(ChunkTreeProblem(file), "");
    for (bool untick : {false, true}) {
        SCOPED_TRACE(untick ? "switched off" : "kept on");
        ShipGame game(ShipPlan{});
        game.Game.WriteFile(kShipFile, file);
        game.Game.WriteFile(kTempFile, Bytes{1, 2, 3});
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        ASSERT_TRUE(f.CheckBox1.Checked());
        if (untick) UserInput::Toggle(f.CheckBox1);

        UserInput::Click(f.Button2);

        EXPECT_EQ(run.Shown(), std::vector<std::string>{
                                   "Autoslide cannot be saved: the SLID chunk of this ship does not follow its PHYS "
                                   "chunk. The ship file was not changed."});
        EXPECT_TRUE(SameBytes(game.ShipBytes(), file));
        EXPECT_EQ(game.Game.ReadFile(kTempFile), (Bytes{1, 2, 3}));
    }
}

TEST(ShipSave, ABoosterChunkThatDoesNotStandBeforeTheGunsIsNotRemoved) {
    ShipPlan plan = FullShip();
    plan.Booster = ShipBooster{};
    const BuiltShip boosted = BuildShip(plan);
    // Another chunk between the booster and the GUNS form, still inside the ENGN form.
    const Bytes extra{'X', 'T', 'R', 'A', 0, 0, 0, 0};
    const ShipOffsets& at = boosted.Offsets;
    const Bytes file = WithChunkInserted(boosted.File, at.GunsBase, extra, {6, at.EngnContainer + 6, at.EngnBase + 6});
    ASSERT_EQ(ChunkTreeProblem(file), "");
    ShipGame game(ShipPlan{});
    game.Game.WriteFile(kShipFile, file);
    ProgramRun run(game.Game);
    TForm1& f = run.Form();
    ASSERT_TRUE(f.CheckBox2.Checked());
    UserInput::Toggle(f.CheckBox2);

    UserInput::Click(f.Button2);

    EXPECT_EQ(run.Shown(), std::vector<std::string>{"The booster cannot be removed: the BOOS chunk of this ship does "
                                                    "not stand right before its guns. The ship file was not changed."});
    EXPECT_TRUE(SameBytes(game.ShipBytes(), file));
    EXPECT_TRUE(f.BoosterAtLoad);
}

TEST(ShipSave, ALengthWordThatWouldLeaveItsRangeStopsTheSave) {
    enum class Word { File, EngineParent, Engine };
    struct Row {
        const char* Name;
        bool Slide;
        bool Booster;
        bool SwitchSlide;
        bool SwitchBooster;
        Word At;
        std::uint16_t Value;
    };
    const std::vector<Row> rows = {
        {"file length, booster added", false, false, false, true, Word::File, 65500},
        {"file length, booster added and slide dropped", true, false, true, true, Word::File, 65500},
        {"file length, slide added", false, false, true, false, Word::File, 65530},
        {"engine's form length, booster added", false, false, false, true, Word::EngineParent, 65422},
        {"engine length, booster added", false, false, false, true, Word::Engine, 65422},
        {"file length, both dropped", true, true, true, true, Word::File, 120},
        {"engine length, booster dropped", false, true, false, true, Word::Engine, 113},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        ShipPlan plan = FullShip();
        plan.Slide = row.Slide;
        if (row.Booster) plan.Booster = ShipBooster{};
        BuiltShip built = BuildShip(plan);
        const std::int32_t word = row.At == Word::File           ? 6
                                  : row.At == Word::EngineParent ? built.Offsets.EngnContainer + 6
                                                                 : built.Offsets.EngnBase + 6;
        PutWordBE(built.File, word, row.Value);
        ShipGame game(ShipPlan{});
        game.Game.WriteFile(kShipFile, built.File);
        game.Game.WriteFile(kTempFile, Bytes{1, 2, 3});
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        if (row.SwitchSlide) UserInput::Toggle(f.CheckBox1);
        if (row.SwitchBooster) UserInput::Toggle(f.CheckBox2);

        UserInput::Click(f.Button2);

        EXPECT_EQ(run.Shown(), std::vector<std::string>{"Range check error."});
        EXPECT_TRUE(SameBytes(game.ShipBytes(), built.File));
        EXPECT_EQ(game.Game.ReadFile(kTempFile), (Bytes{1, 2, 3}));
    }
}

}  // namespace
}  // namespace tovarin::testkit
