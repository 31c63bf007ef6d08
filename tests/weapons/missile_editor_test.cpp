#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "ui/user_input.h"
#include "weapon_game.h"

namespace tovarin {
namespace {

using testkit::Bytes;
using testkit::MissileRecord;
using testkit::MissileTable;
using testkit::ReadMissileRecord;
using testkit::WeaponGame;

constexpr const char* kTable = "Game\\missile.iff";
constexpr std::int32_t kHornetBase = 64;
constexpr std::int32_t kSwarmBase = 200;
constexpr std::int32_t kSparkBase = 336;
constexpr std::size_t kTableSize = 480;

// Every value survives being shown and stored again, so a save without changes writes the same bytes.
const MissileRecord kHornet{.Speed = 450,
                            .DurationSeconds = 8.5f,
                            .Range = 3000,
                            .P = 40,
                            .Y = 60,
                            .Acceleration = 90,
                            .LockSeconds = 1.25f,
                            .Damage = 120,
                            .SpinRate = 30,
                            .Flags = 0x0821,
                            .RefireSeconds = 0.75f,
                            .SpoofFraction = 0.25f,
                            .SubMissileType = 2,
                            .SplitSeconds = 0.5f,
                            .SplitCount = 3};
const MissileRecord kSwarm{.Speed = 600, .Range = 2000, .Damage = 40};
const MissileRecord kSpark{.Speed = 800, .Damage = 10, .Flags = 0x0001};

// The boxes in the order they are loaded and saved: Lock Time, Speed, Duration, Range, Y (left "Y/P:" box),
// P (right), Acceleration, Damage, Spin rate, Refire delay, Spoof probability; then the number of sub-missiles
// and the split-up delay.
std::vector<TEdit*> MissileBoxList(TForm1& form) {
    return {&form.Edit42, &form.Edit37, &form.Edit38, &form.Edit39, &form.Edit36, &form.Edit35, &form.Edit40,
            &form.Edit41, &form.Edit46, &form.Edit43, &form.Edit47, &form.Edit49, &form.Edit48};
}

std::vector<std::string> MissileBoxes(TForm1& form) {
    std::vector<std::string> texts;
    for (TEdit* box : MissileBoxList(form)) texts.push_back(box->Text());
    return texts;
}

void TypeMissileBoxes(TForm1& form, const std::vector<std::string>& texts) {
    const auto boxes = MissileBoxList(form);
    for (std::size_t i = 0; i < texts.size(); ++i) UserInput::Type(*boxes[i], texts[i]);
}

const std::vector<std::string> kHornetShown = {"1250", "450", "8500", "3000", "60", "40", "90",
                                               "120",  "30",  "750",  "25",   "3",  "500"};

std::vector<bool> FlagBoxes(const TForm1& form) {
    return {form.Flag1.Checked(), form.Flag2.Checked(),  form.Flag3.Checked(),  form.Flag4.Checked(),
            form.Flag5.Checked(), form.Flag6.Checked(),  form.Flag7.Checked(),  form.Flag8.Checked(),
            form.Flag9.Checked(), form.Flag10.Checked(), form.Flag11.Checked(), form.Flag12.Checked()};
}

struct MissileEditorTest : ::testing::Test {
    WeaponGame game;

    TForm1& Start(const MissileRecord& hornet = kHornet) {
        game.AddWeapons("Missiles", "MissData",
                        {{"Hornet", kHornetBase}, {"Swarm", kSwarmBase}, {"Spark", kSparkBase}});
        game.Folder.WriteFile(kTable, TableWith(hornet));
        return game.Start();
    }
    static Bytes TableWith(const MissileRecord& hornet) {
        return MissileTable({{kHornetBase, hornet}, {kSwarmBase, kSwarm}, {kSparkBase, kSpark}}, kTableSize);
    }
    Bytes Table() const { return game.Folder.ReadFile(kTable); }
};

TEST_F(MissileEditorTest, StartUpLoadsEveryControlOfTheFirstMissile) {
    TForm1& form = Start();
    EXPECT_EQ(MissileBoxes(form), kHornetShown);
    EXPECT_EQ(form.ComboBox7.ItemIndex(), 2);
    EXPECT_EQ(form.ComboBox7.Text(), "Spark");
    EXPECT_TRUE(form.CheckBox3.Checked());
    EXPECT_TRUE(form.GroupBox9.Visible());
    EXPECT_TRUE(game.NewBoxes().empty());
}

TEST(MissileEditorLoad, ShowsEachFieldRoundedHalvesToEvenAndScaled) {
    struct Row {
        const char* name;
        MissileRecord stored;
        std::vector<std::string> shown;
    };
    const Row rows[] = {
        {"times in ms, probability in percent", kHornet, kHornetShown},
        {"halves go to the even neighbour, negatives keep their sign",
         {.Speed = -2.5f,
          .DurationSeconds = 0.001f,
          .Range = 3.5f,
          .P = 0.5f,
          .Y = -60,
          .Acceleration = 1.5f,
          .LockSeconds = -0.001f,
          .Damage = -7.6f,
          .SpinRate = -0.5f,
          .RefireSeconds = 0.333f,
          .SpoofFraction = -0.5f,
          .SplitSeconds = -0.25f},
         {"-1", "-2", "1", "4", "-60", "0", "2", "-8", "0", "333", "-50", "0", "-250"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WeaponGame game;
        game.AddWeapons("Missiles", "MissData", {{"Hornet", kHornetBase}});
        game.Folder.WriteFile(kTable, MissileTable({{kHornetBase, row.stored}}, kTableSize));
        EXPECT_EQ(MissileBoxes(game.Start()), row.shown);
        EXPECT_TRUE(game.NewBoxes().empty());
    }
}

TEST_F(MissileEditorTest, TheLeftYPBoxIsTheFloatAtBase36AndTheRightOneAtBase32) {
    TForm1& form = Start();
    EXPECT_EQ(form.Edit36.Text(), "60");
    EXPECT_EQ(form.Edit35.Text(), "40");
    UserInput::Type(form.Edit36, "61");
    UserInput::Type(form.Edit35, "41");
    UserInput::Click(form.Button8);
    const MissileRecord saved = ReadMissileRecord(Table(), kHornetBase);
    EXPECT_EQ(saved.Y, 61.0f);
    EXPECT_EQ(saved.P, 41.0f);
}

// The whole file is compared, so a value at a wrong offset or any byte written outside the fields would show.
TEST_F(MissileEditorTest, SaveWritesEveryControlAtItsOffsetWithItsScaleAndNothingElse) {
    TForm1& form = Start();
    TypeMissileBoxes(form, {"250", "-451", "1", "3001", "-61", "41", "91", "121", "31", "333", "25", "4", "1"});
    UserInput::Choose(form.ComboBox7, 1);
    UserInput::Toggle(form.Flag2);
    UserInput::Click(form.Button8);

    const MissileRecord expected{.Speed = -451,
                                 .DurationSeconds = 0.001f,
                                 .Range = 3001,
                                 .P = 41,
                                 .Y = -61,
                                 .Acceleration = 91,
                                 .LockSeconds = 0.25f,
                                 .Damage = 121,
                                 .SpinRate = 31,
                                 .Flags = 0x0C21,
                                 .RefireSeconds = 0.333f,
                                 .SpoofFraction = 0.25f,
                                 .SubMissileType = 1,
                                 .SplitSeconds = 0.001f,
                                 .SplitCount = 4};
    EXPECT_EQ(Table(), TableWith(expected));
    EXPECT_TRUE(game.NewBoxes().empty());
}

TEST_F(MissileEditorTest, SavingWithoutChangesWritesTheSameBytes) {
    TForm1& form = Start();
    UserInput::Click(form.Button8);
    EXPECT_EQ(Table(), TableWith(kHornet));
    EXPECT_TRUE(game.NewBoxes().empty());
}

TEST_F(MissileEditorTest, TheNumberOfSubMissilesShowsAndHidesTheSplitUpGroup) {
    TForm1& form = Start();
    UserInput::Choose(form.ComboBox5, 1);  // Swarm does not split
    EXPECT_EQ(form.Edit49.Text(), "0");
    EXPECT_FALSE(form.CheckBox3.Checked());
    EXPECT_FALSE(form.GroupBox9.Visible());

    UserInput::Choose(form.ComboBox5, 0);
    EXPECT_EQ(form.Edit49.Text(), "3");
    EXPECT_TRUE(form.CheckBox3.Checked());
    EXPECT_TRUE(form.GroupBox9.Visible());
}

TEST_F(MissileEditorTest, UntickingSplitUpOnlyHidesTheGroupAndTheSaveKeepsTheCount) {
    TForm1& form = Start();
    UserInput::Toggle(form.CheckBox3);
    EXPECT_FALSE(form.GroupBox9.Visible());
    EXPECT_EQ(form.Edit49.Text(), "3");

    UserInput::Click(form.Button8);
    EXPECT_EQ(Table(), TableWith(kHornet));
}

TEST_F(MissileEditorTest, SavingZeroSubMissilesStopsTheSplit) {
    TForm1& form = Start();
    UserInput::Type(form.Edit49, "0");
    UserInput::Click(form.Button8);
    MissileRecord expected = kHornet;
    expected.SplitCount = 0;
    EXPECT_EQ(Table(), TableWith(expected));
}

TEST(MissileEditorFlags, EachCheckBoxShowsItsBitAndTheSaveWritesOnlyTheTwelveBits) {
    struct Row {
        std::uint16_t stored;
        std::vector<bool> checked;  // Flag1 .. Flag12
        std::uint16_t saved;
    };
    const Row rows[] = {
        {0x0821, {true, false, false, false, false, false, true, false, false, false, false, true}, 0x0821},
        {0x1821, {true, false, false, false, false, false, true, false, false, false, false, true}, 0x0821},
        {0xFFFF, std::vector<bool>(12, true), 0x0FFF},
        {0x0000, std::vector<bool>(12, false), 0x0000},
        {0x0402, {false, true, false, false, false, false, false, false, false, false, true, false}, 0x0402},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        WeaponGame game;
        game.AddWeapons("Missiles", "MissData", {{"Hornet", kHornetBase}});
        MissileRecord stored = kHornet;
        stored.Flags = row.stored;
        stored.SubMissileType = 0;
        game.Folder.WriteFile(kTable, MissileTable({{kHornetBase, stored}}, kTableSize));
        TForm1& form = game.Start();
        EXPECT_EQ(FlagBoxes(form), row.checked);

        UserInput::Click(form.Button8);
        const Bytes table = game.Folder.ReadFile(kTable);
        EXPECT_EQ(table[kHornetBase + 72], row.saved & 0xFF);
        EXPECT_EQ(table[kHornetBase + 73], row.saved >> 8);
    }
}

// What the player reads beside each check box must be what its bit means to the game.
TEST(MissileEditorFlags, EachBitChecksTheBoxWithItsCaption) {
    const std::pair<std::uint16_t, std::string> rows[] = {
        {0x800, "damages components"},
        {0x400, "damages turrets"},
        {0x200, "cannot lock on childobjects"},
        {0x100, "target must stay in view cone"},
        {0x080, "attack enemies only"},
        {0x040, "lock on childobjects only"},
        {0x020, "only lock on Corvane"},
        {0x010, "rear firing"},
        {0x008, "use lock range"},
        {0x004, "acquire new target"},
        {0x002, "rear aspect"},
        {0x001, "requires target"},
    };
    for (const auto& [bit, caption] : rows) {
        SCOPED_TRACE(caption);
        WeaponGame game;
        game.AddWeapons("Missiles", "MissData", {{"Hornet", kHornetBase}});
        game.Folder.WriteFile(kTable, MissileTable({{kHornetBase, {.Flags = bit}}}, kTableSize));
        TForm1& form = game.Start();

        std::vector<std::string> checked;
        for (TCheckBox* box : {&form.Flag1, &form.Flag2, &form.Flag3, &form.Flag4, &form.Flag5, &form.Flag6,
                               &form.Flag7, &form.Flag8, &form.Flag9, &form.Flag10, &form.Flag11, &form.Flag12}) {
            if (box->Checked()) checked.push_back(box->Caption());
        }
        EXPECT_EQ(checked, std::vector<std::string>{caption});
    }
}

TEST_F(MissileEditorTest, ASubMissileTypeBeyondTheListStopsTheSaveAfterTheSplitUpDelay) {
    MissileRecord hornet = kHornet;
    hornet.SubMissileType = 3;  // the list holds types 0 to 2
    TForm1& form = Start(hornet);
    EXPECT_EQ(form.ComboBox7.ItemIndex(), -1);
    EXPECT_EQ(form.ComboBox7.Text(), "");

    UserInput::Type(form.Edit37, "451");
    UserInput::Type(form.Edit49, "2");
    UserInput::Type(form.Edit48, "600");
    UserInput::Toggle(form.Flag2);
    UserInput::Click(form.Button8);

    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Range check error."}));
    MissileRecord expected = hornet;
    expected.Speed = 451;
    expected.SplitCount = 2;
    expected.SplitSeconds = 0.6f;  // written; the type byte and the flag word are not
    EXPECT_EQ(Table(), TableWith(expected));
}

TEST_F(MissileEditorTest, ABoxWithoutAnIntegerStopsTheSaveThere) {
    TForm1& form = Start();
    TypeMissileBoxes(form, {"1000", "451", "x", "3001"});
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: 'x' is not a valid integer value."}));
    MissileRecord expected = kHornet;
    expected.LockSeconds = 1.0f;
    expected.Speed = 451;
    EXPECT_EQ(Table(), TableWith(expected)) << "lock time and speed written, nothing from the duration on";
}

TEST_F(MissileEditorTest, ANegativeNumberOfSubMissilesStopsTheSaveBeforeTheSplitUpValues) {
    TForm1& form = Start();
    UserInput::Type(form.Edit47, "30");
    UserInput::Type(form.Edit49, "-1");
    UserInput::Type(form.Edit48, "600");
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Range check error."}));
    MissileRecord expected = kHornet;
    expected.SpoofFraction = 0.3f;
    EXPECT_EQ(Table(), TableWith(expected));
}

TEST_F(MissileEditorTest, TheMissilesAfterThe256thCannotBeEdited) {
    std::vector<std::pair<std::string, std::int32_t>> missiles;
    std::vector<std::pair<std::int32_t, MissileRecord>> records;
    for (int i = 0; i < 257; ++i) {
        const std::int32_t base = 64 + i * 104;
        missiles.emplace_back("Missile " + std::to_string(i), base);
        records.emplace_back(base, MissileRecord{.Speed = static_cast<float>(i)});
    }
    const std::size_t size = 64 + 257 * 104;
    game.AddWeapons("Missiles", "MissData", missiles);
    game.Folder.WriteFile(kTable, MissileTable(records, size));
    TForm1& form = game.Start();

    UserInput::Choose(form.ComboBox5, 255);
    EXPECT_EQ(form.Edit37.Text(), "255");
    UserInput::Choose(form.ComboBox5, 256);
    EXPECT_EQ(form.Edit37.Text(), "255") << "nothing is read";
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Range check error."}));

    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Range check error."}));
    EXPECT_EQ(game.Folder.ReadFile(kTable), MissileTable(records, size));
}

TEST_F(MissileEditorTest, ARecordBaseNear2To31ReportsIntegerOverflow) {
    game.AddWeapons("Missiles", "MissData", {{"Hornet", 2147483647 - 49}});  // base + 48 + 2 is 2^31
    game.Folder.WriteFile(kTable, MissileTable({}, kTableSize));
    TForm1& form = game.Start();
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Integer overflow."}));

    UserInput::Choose(form.ComboBox7, 0);
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Integer overflow."}));
    EXPECT_EQ(Table(), MissileTable({}, kTableSize));
}

TEST(MissileEditorRecordPosition, AMissileWithoutAUsableRecordPositionIsRefusedWithNothingReadOrWritten) {
    struct Row {
        const char* name;
        std::optional<std::string> value;  // the catalogue's MissData value for the second missile
    };
    const Row rows[] = {{"no key", std::nullopt}, {"not a number", "0xZ"}, {"zero", "0"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WeaponGame game;
        game.AddWeapons("Missiles", "MissData", {{"Hornet", kHornetBase}, {"Swarm", kSwarmBase}});
        auto& data = game.Folder.Catalogue.back().Keys;
        if (row.value) {
            data[1].second = *row.value;
        } else {
            data.pop_back();
        }
        game.Folder.WriteCatalogue();
        const Bytes table = MissileTable({{kHornetBase, kHornet}, {kSwarmBase, kSwarm}}, kTableSize);
        game.Folder.WriteFile(kTable, table);
        TForm1& form = game.Start();

        const std::string refusal =
            "message: Swarm cannot be edited: the catalogue gives no record position for it (MissData, key 1).";
        UserInput::Choose(form.ComboBox5, 1);
        EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{refusal});
        EXPECT_EQ(MissileBoxes(form), kHornetShown);

        UserInput::Click(form.Button8);
        EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{refusal});
        EXPECT_EQ(game.Folder.ReadFile(kTable), table);
    }
}

TEST_F(MissileEditorTest, SavingWithNoMissileSelectedIsRefused) {
    game.Folder.WriteFile(kTable, MissileTable({}, kTableSize));
    TForm1& form = game.Start();  // no Missiles section: empty lists
    EXPECT_TRUE(game.NewBoxes().empty());

    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"message: No missile is selected."}));
    EXPECT_EQ(Table(), MissileTable({}, kTableSize));
}

TEST(MissileEditorSave, AValueThatCouldNeverBeShownAgainIsRefusedBeforeAnythingIsWritten) {
    struct Row {
        TEdit TForm1::*box;
        const char* text;
        const char* caption;
    };
    const Row rows[] = {
        {&TForm1::Edit42, "2147483647", "Lock Time (ms)"},
        {&TForm1::Edit39, "-2147483584", "Range"},
        {&TForm1::Edit48, "2147483647", "Split up after (ms)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        WeaponGame game;
        game.AddWeapons("Missiles", "MissData",
                        {{"Hornet", kHornetBase}, {"Swarm", kSwarmBase}, {"Spark", kSparkBase}});
        const Bytes table = MissileEditorTest::TableWith(kHornet);
        game.Folder.WriteFile(kTable, table);
        TForm1& form = game.Start();

        UserInput::Type(form.Edit37, "451");  // before the refused box in the save's order
        UserInput::Type(form.*row.box, row.text);
        UserInput::Click(form.Button8);

        EXPECT_EQ(game.NewBoxes(),
                  std::vector<std::string>{"message: " + std::string(row.caption) + ": " + row.text +
                                           " is out of range and cannot be stored. Nothing was saved."});
        EXPECT_EQ(game.Folder.ReadFile(kTable), table);
    }
}

TEST_F(MissileEditorTest, AStoredFloatThatCannotBeShownLeavesOnlyItsBoxEmpty) {
    MissileRecord broken = kHornet;
    broken.DurationSeconds = 1e7f;
    broken.Y = -std::numeric_limits<float>::infinity();
    broken.SplitSeconds = std::numeric_limits<float>::quiet_NaN();
    TForm1& form = Start(broken);

    std::vector<std::string> expected = kHornetShown;
    expected[2] = "";
    expected[4] = "";
    expected[12] = "";
    EXPECT_EQ(MissileBoxes(form), expected);
    EXPECT_EQ(form.ComboBox7.ItemIndex(), 2) << "the values after the empty boxes still load";
    EXPECT_EQ(FlagBoxes(form)[0], true);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"message: Some values of Hornet could not be shown and were "
                                                         "left empty: Duration (ms), Y, Split up after (ms)."}));
}

}  // namespace
}  // namespace tovarin
