#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "ui/user_input.h"
#include "weapon_game.h"

namespace tovarin {
namespace {

using testkit::Bytes;
using testkit::GunRecord;
using testkit::GunTable;
using testkit::ReadGunRecord;
using testkit::WeaponGame;

constexpr const char* kTable = "Game\\bullet.iff";
constexpr std::int32_t kLaserBase = 64;
constexpr std::int32_t kIonBase = 160;
constexpr std::size_t kTableSize = 256;

const GunRecord kLaser{120, 900, 77.75f, 8, 16, 0.25f};
const GunRecord kIon{300, 1500, -3.5f, 40, 55, 1.5f};

// The boxes in the order of the record: Speed, Range, Energy, Damage, Refire delay (ms).
std::vector<std::string> GunBoxes(const TForm1& form) {
    return {form.Edit30.Text(), form.Edit31.Text(), form.Edit32.Text(), form.Edit33.Text(), form.Edit34.Text()};
}

void TypeGunBoxes(TForm1& form, const std::vector<std::string>& texts) {
    TEdit* boxes[] = {&form.Edit30, &form.Edit31, &form.Edit32, &form.Edit33, &form.Edit34};
    for (std::size_t i = 0; i < texts.size(); ++i) UserInput::Type(*boxes[i], texts[i]);
}

// The edited fields of a record in the order of GunBoxes, so that a test can change the first n of them.
void SetGunField(GunRecord& gun, std::size_t field, float value) {
    float* fields[] = {&gun.Speed, &gun.Range, &gun.Energy, &gun.Damage, &gun.RefireSeconds};
    *fields[field] = value;
}

struct GunEditorTest : ::testing::Test {
    WeaponGame game;

    TForm1& Start(const GunRecord& laser = kLaser, const GunRecord& ion = kIon) {
        game.AddWeapons("Guns", "GunData", {{"Laser", kLaserBase}, {"Ion Cannon", kIonBase}});
        game.Folder.WriteFile(kTable, GunTable({{kLaserBase, laser}, {kIonBase, ion}}, kTableSize));
        return game.Start();
    }
    Bytes Table() const { return game.Folder.ReadFile(kTable); }
};

TEST_F(GunEditorTest, StartUpLoadsTheFirstGunAndChoosingAnotherLoadsIt) {
    TForm1& form = Start();
    EXPECT_EQ(GunBoxes(form), (std::vector<std::string>{"120", "900", "8", "16", "250"}));
    UserInput::Choose(form.ComboBox4, 1);
    EXPECT_EQ(GunBoxes(form), (std::vector<std::string>{"300", "1500", "40", "55", "1500"}));
    EXPECT_TRUE(game.NewBoxes().empty());
}

TEST(GunEditorLoad, ShowsEachFieldRoundedHalvesToEvenAndScaled) {
    struct Row {
        const char* name;
        GunRecord stored;
        std::vector<std::string> shown;
    };
    const Row rows[] = {
        {"a quarter second shows as 250 ms", {120, 900, 0, 8, 16, 0.25f}, {"120", "900", "8", "16", "250"}},
        {"halves go to the even neighbour", {2.5f, 3.5f, 0, -2.5f, 0.5f, 0.5f}, {"2", "4", "-2", "0", "500"}},
        {"one millisecond", {0, 0, 0, 0, 0, 0.001f}, {"0", "0", "0", "0", "1"}},
        {"333 milliseconds", {0, 0, 0, 0, 0, 0.333f}, {"0", "0", "0", "0", "333"}},
        {"negatives keep their sign", {-120, -900.4f, 0, -7.6f, -1, -0.25f}, {"-120", "-900", "-8", "-1", "-250"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WeaponGame game;
        game.AddWeapons("Guns", "GunData", {{"Laser", kLaserBase}});
        game.Folder.WriteFile(kTable, GunTable({{kLaserBase, row.stored}}, kTableSize));
        EXPECT_EQ(GunBoxes(game.Start()), row.shown);
        EXPECT_TRUE(game.NewBoxes().empty());
    }
}

// The whole file is compared, so a field written at a wrong offset, the untouched float at base + 28 or any
// byte outside the record's fields would show.
TEST(GunEditorSave, WritesEachBoxAtItsOffsetWithItsScaleAndNothingElse) {
    struct Row {
        const char* name;
        std::vector<std::string> typed;
        GunRecord stored;  // the Untouched field is taken from the original record
        std::vector<std::string> shownAfter;
    };
    const Row rows[] = {
        {"250 ms stores exactly a quarter second",
         {"121", "901", "9", "17", "250"},
         {121, 901, 0, 9, 17, 0.25f},
         {"121", "901", "9", "17", "250"}},
        {"1 ms stores the float nearest to 0.001",
         {"0", "0", "0", "0", "1"},
         {0, 0, 0, 0, 0, 0.001f},
         {"0", "0", "0", "0", "1"}},
        {"333 ms stores 0.333 and shows as 333 again",
         {"0", "0", "0", "0", "333"},
         {0, 0, 0, 0, 0, 0.333f},
         {"0", "0", "0", "0", "333"}},
        {"negatives are stored as negative floats",
         {"-5", "-900", "-8", "-16", "-250"},
         {-5, -900, 0, -8, -16, -0.25f},
         {"-5", "-900", "-8", "-16", "-250"}},
        {"hexadecimal and leading blanks",
         {" 12", "$10", "+3", "0", "0"},
         {12, 16, 0, 3, 0, 0},
         {"12", "16", "3", "0", "0"}},
        {"the largest speed that can be shown again",
         {"2147483583", "0", "0", "0", "0"},
         {2147483520.0f, 0, 0, 0, 0, 0},
         {"2147483520", "0", "0", "0", "0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WeaponGame game;
        game.AddWeapons("Guns", "GunData", {{"Laser", kLaserBase}, {"Ion Cannon", kIonBase}});
        game.Folder.WriteFile(kTable, GunTable({{kLaserBase, kLaser}, {kIonBase, kIon}}, kTableSize));
        TForm1& form = game.Start();

        TypeGunBoxes(form, row.typed);
        UserInput::Click(form.Button7);

        GunRecord expected = row.stored;
        expected.Untouched = kLaser.Untouched;
        EXPECT_EQ(game.Folder.ReadFile(kTable), GunTable({{kLaserBase, expected}, {kIonBase, kIon}}, kTableSize));
        EXPECT_EQ(GunBoxes(form), row.shownAfter) << "the save reloads the gun from the file";
        EXPECT_TRUE(game.NewBoxes().empty());
    }
}

TEST_F(GunEditorTest, SavesTheGunThatIsSelected) {
    TForm1& form = Start();
    UserInput::Choose(form.ComboBox4, 1);
    TypeGunBoxes(form, {"1", "2", "3", "4", "5"});
    UserInput::Click(form.Button7);
    const Bytes table = Table();
    EXPECT_EQ(table, GunTable({{kLaserBase, kLaser}, {kIonBase, {1, 2, kIon.Untouched, 3, 4, 0.005f}}}, kTableSize));
}

TEST(GunEditorSave, ABoxWithoutAnIntegerStopsTheSaveThereAndNothingIsReloaded) {
    const std::vector<std::string> typed = {"7", "8", "9", "10", "11"};
    for (std::size_t bad = 0; bad < typed.size(); ++bad) {
        SCOPED_TRACE("the box holding no integer: " + std::to_string(bad));
        WeaponGame game;
        game.AddWeapons("Guns", "GunData", {{"Laser", kLaserBase}});
        game.Folder.WriteFile(kTable, GunTable({{kLaserBase, kLaser}}, kTableSize));
        TForm1& form = game.Start();

        std::vector<std::string> boxes = typed;
        boxes[bad] = "12x";
        TypeGunBoxes(form, boxes);
        UserInput::Click(form.Button7);

        GunRecord expected = kLaser;
        const float written[] = {7, 8, 9, 10, 0.011f};
        for (std::size_t field = 0; field < bad; ++field) SetGunField(expected, field, written[field]);
        EXPECT_EQ(game.Folder.ReadFile(kTable), GunTable({{kLaserBase, expected}}, kTableSize));
        EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: '12x' is not a valid integer value."}));
        EXPECT_EQ(GunBoxes(form), boxes) << "a reload would have replaced what was typed";
    }
}

TEST_F(GunEditorTest, ATableTooShortStopsTheLoadAtTheFieldItEndsIn) {
    TForm1& form = Start();
    Bytes table = Table();
    table.resize(kIonBase + 34);  // ends inside the energy field
    game.Folder.WriteFile(kTable, table);

    UserInput::Choose(form.ComboBox4, 1);
    EXPECT_EQ(GunBoxes(form), (std::vector<std::string>{"300", "1500", "8", "16", "250"}))
        << "speed and range of the new gun, the rest still the previous gun's";
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Read beyond end of file."}));
}

TEST_F(GunEditorTest, TheGunsAfterThe256thCannotBeEdited) {
    std::vector<std::pair<std::string, std::int32_t>> guns;
    std::vector<std::pair<std::int32_t, GunRecord>> records;
    for (int i = 0; i < 257; ++i) {
        const std::int32_t base = 64 + i * 48;
        guns.emplace_back("Gun " + std::to_string(i), base);
        records.emplace_back(base, GunRecord{static_cast<float>(i), 0, 0, 0, 0, 0});
    }
    const std::size_t size = 64 + 257 * 48;
    game.AddWeapons("Guns", "GunData", guns);
    game.Folder.WriteFile(kTable, GunTable(records, size));
    TForm1& form = game.Start();

    UserInput::Choose(form.ComboBox4, 255);
    EXPECT_EQ(form.Edit30.Text(), "255");
    UserInput::Choose(form.ComboBox4, 256);
    EXPECT_EQ(form.Edit30.Text(), "255") << "nothing is read";
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Range check error."}));

    // The boxes still hold the 256th gun's values; they must not land in the 257th gun's record.
    UserInput::Click(form.Button7);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Range check error."}));
    EXPECT_EQ(game.Folder.ReadFile(kTable), GunTable(records, size));
}

TEST_F(GunEditorTest, ARecordBaseNear2To31ReportsIntegerOverflow) {
    game.AddWeapons("Guns", "GunData", {{"Laser", 2147483647 - 21}});  // base + 20 + 2 is 2^31
    game.Folder.WriteFile(kTable, GunTable({}, kTableSize));
    TForm1& form = game.Start();
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Integer overflow."}));
    EXPECT_EQ(form.Edit30.Text(), "0");

    UserInput::Click(form.Button7);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"error: Integer overflow."}));
    EXPECT_EQ(Table(), GunTable({}, kTableSize));
}

TEST(GunEditorRecordPosition, AGunWithoutAUsableRecordPositionIsRefusedWithNothingReadOrWritten) {
    struct Row {
        const char* name;
        std::optional<std::string> value;  // the catalogue's GunData value for the second gun; nullopt: no key
    };
    const Row rows[] = {{"no key", std::nullopt}, {"not a number", "near the end"}, {"zero", "0"}, {"negative", "-40"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WeaponGame game;
        game.AddWeapons("Guns", "GunData", {{"Laser", kLaserBase}, {"Ion Cannon", kIonBase}});
        auto& data = game.Folder.Catalogue.back().Keys;
        if (row.value) {
            data[1].second = *row.value;
        } else {
            data.pop_back();
        }
        game.Folder.WriteCatalogue();
        const Bytes table = GunTable({{kLaserBase, kLaser}, {kIonBase, kIon}}, kTableSize);
        game.Folder.WriteFile(kTable, table);
        TForm1& form = game.Start();

        const std::string refusal =
            "message: Ion Cannon cannot be edited: the catalogue gives no record position for it (GunData, key 1).";
        UserInput::Choose(form.ComboBox4, 1);
        EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{refusal});
        EXPECT_EQ(GunBoxes(form), (std::vector<std::string>{"120", "900", "8", "16", "250"}));

        UserInput::Click(form.Button7);
        EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{refusal});
        EXPECT_EQ(game.Folder.ReadFile(kTable), table);
    }
}

TEST_F(GunEditorTest, SavingWithNoGunSelectedIsRefused) {
    game.Folder.WriteFile(kTable, GunTable({}, kTableSize));
    TForm1& form = game.Start();  // no Guns section: an empty list
    EXPECT_TRUE(game.NewBoxes().empty()) << "with no gun selected the start-up loads none";

    UserInput::Click(form.Button7);
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"message: No gun is selected."}));
    EXPECT_EQ(Table(), GunTable({}, kTableSize));
}

TEST(GunEditorSave, AValueThatCouldNeverBeShownAgainIsRefusedBeforeAnythingIsWritten) {
    struct Row {
        std::size_t box;
        const char* text;
        const char* caption;
    };
    const Row rows[] = {
        {0, "2147483584", "Speed"},  // rounds to the float 2^31
        {3, "-2147483647", "Damage"},
        {4, "2147483647", "Refire delay (ms)"},  // the float nearest 2147483.647 s is over 2^31 ms
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        WeaponGame game;
        game.AddWeapons("Guns", "GunData", {{"Laser", kLaserBase}});
        const Bytes table = GunTable({{kLaserBase, kLaser}}, kTableSize);
        game.Folder.WriteFile(kTable, table);
        TForm1& form = game.Start();

        std::vector<std::string> typed = {"1", "2", "3", "4", "5"};
        typed[row.box] = row.text;
        TypeGunBoxes(form, typed);
        UserInput::Click(form.Button7);

        EXPECT_EQ(game.NewBoxes(),
                  std::vector<std::string>{"message: " + std::string(row.caption) + ": " + row.text +
                                           " is out of range and cannot be stored. Nothing was saved."});
        EXPECT_EQ(game.Folder.ReadFile(kTable), table);
    }
}

TEST_F(GunEditorTest, AStoredFloatThatCannotBeShownLeavesOnlyItsBoxEmpty) {
    const GunRecord broken{3e9f, 900, 0, 8, std::numeric_limits<float>::quiet_NaN(), 1e7f};
    TForm1& form = Start(broken);
    EXPECT_EQ(GunBoxes(form), (std::vector<std::string>{"", "900", "8", "", ""}));
    EXPECT_EQ(game.NewBoxes(), (std::vector<std::string>{"message: Some values of Laser could not be shown and were "
                                                         "left empty: Speed, Damage, Refire delay (ms)."}));
}

}  // namespace
}  // namespace tovarin
