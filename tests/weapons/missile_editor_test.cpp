#include <gtest/gtest.h>

#include "weapon_game.h"

// What only the missile editor has: splitting up, the sub-missile type and the flag word.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// The "&Split up" box shows whether the missile splits; unticking it only hides the values, and a missile stops
// splitting when 0 sub-missiles are saved.
TEST(MissileEditor, TheNumberOfSubMissilesShowsTheSplitUpValuesAndOnlyZeroStopsTheSplit) {
    WeaponGame game;
    Bytes table = MissilesShowing(1);
    TForm1& form = game.Start(kMissileEditor, RecordPositions(1), table);
    EXPECT_TRUE(form.CheckBox3.Checked() && form.GroupBox9.Visible());
    UserInput::Toggle(form.CheckBox3);
    EXPECT_FALSE(form.GroupBox9.Visible());
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.Table(kMissileEditor), table);

    UserInput::Toggle(form.CheckBox3);
    UserInput::Type(form.Edit49, "0");
    UserInput::Click(form.Button8);
    table[RecordPosition(0) + 100] = 0;
    EXPECT_EQ(game.Table(kMissileEditor), table);
    UserInput::Choose(form.ComboBox5, 0);
    EXPECT_FALSE(form.CheckBox3.Checked() || form.GroupBox9.Visible());
}

// The list holds type 0 only, so type 1 leaves the sub-missile list without a selection: a save keeps the stored
// type and writes everything else. A refused number of sub-missiles writes nothing.
TEST(MissileEditor, ASubMissileTypeBeyondTheListIsKeptAndTheRestIsSaved) {
    WeaponGame game;
    Bytes table = MissilesShowing(1);
    table[RecordPosition(0) + 92] = 1;
    table[RecordPosition(0) + 72] = 0x21;  // the flag word 0x1821: bit 12 has no box
    table[RecordPosition(0) + 73] = 0x18;
    TForm1& form = game.Start(kMissileEditor, RecordPositions(1), table);
    EXPECT_EQ(form.ComboBox7.Text(), "");
    std::vector<std::string> checked;
    for (TCheckBox* box : {&form.Flag1, &form.Flag2, &form.Flag3, &form.Flag4, &form.Flag5, &form.Flag6, &form.Flag7,
                           &form.Flag8, &form.Flag9, &form.Flag10, &form.Flag11, &form.Flag12}) {
        if (box->Checked()) checked.push_back(box->Caption());
    }
    EXPECT_EQ(checked, (std::vector<std::string>{"damages components", "only lock on Corvane", "requires target"}));

    UserInput::Type(form.Edit49, "-1");  // would be 255 sub-missiles
    UserInput::Type(form.Edit48, "600");
    UserInput::Toggle(form.Flag2);
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{"error: Range check error."});
    EXPECT_EQ(game.Table(kMissileEditor), table);
    UserInput::Type(form.Edit49, "2");
    UserInput::Click(form.Button8);
    EXPECT_TRUE(game.NewBoxes().empty());
    table[RecordPosition(0) + 100] = 2;
    PutFloat(table, RecordPosition(0) + 96, 0.6f);
    table[RecordPosition(0) + 72] = 0x21;  // damages turrets added, bit 12 cleared
    table[RecordPosition(0) + 73] = 0x0C;
    EXPECT_EQ(game.Table(kMissileEditor), table);
}

}  // namespace
}  // namespace tovarin::testkit
