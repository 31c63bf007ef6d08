#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "testkit/bytes.h"
#include "ui/user_input.h"
#include "weapon_game.h"

// What only the missile editor has: splitting up, the sub-missile type and the flag word.
namespace tovarin::testkit {
namespace {

const std::size_t kSplitCount = RecordPosition(0) + 100;

// Whether "&Split up" is ticked and whether the split-up values show.
std::pair<bool, bool> SplitUp(const TForm1& form) { return {form.CheckBox3.Checked(), form.GroupBox9.Visible()}; }

TEST(MissileEditor, TheNumberOfSubMissilesShowsTheSplitUpValuesAndOnlyZeroStopsTheSplit) {
    WeaponGame game;
    Bytes table = MissilesShowing(2);
    table[RecordPosition(1) + 100] = 0;
    TForm1& form = game.Start(kMissileEditor, RecordPositions(2), table);
    EXPECT_EQ(SplitUp(form), std::pair(true, true));
    UserInput::Choose(form.ComboBox5, 1);
    EXPECT_EQ(SplitUp(form), std::pair(false, false));
    UserInput::Choose(form.ComboBox5, 0);
    UserInput::Toggle(form.CheckBox3);
    EXPECT_EQ(SplitUp(form), std::pair(false, false));
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.Table(kMissileEditor), table) << "unticking only hides the values";

    UserInput::Type(form.Edit49, "-1");  // would be stored as 255 sub-missiles
    UserInput::Type(form.Edit48, "600");
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{"error: Range check error."});
    EXPECT_EQ(game.Table(kMissileEditor), table) << "the split-up delay comes after the number";

    UserInput::Type(form.Edit49, "0");
    UserInput::Type(form.Edit48, "1");
    UserInput::Click(form.Button8);
    table[kSplitCount] = 0;
    EXPECT_EQ(game.Table(kMissileEditor), table);
}

// Flag1 to Flag12 show bits 11 to 0; bits 12 to 15 have no box and a save writes them as 0.
TEST(MissileEditor, EachFlagBoxShowsItsBitUnderItsCaptionAndTheSaveWritesTwelveBits) {
    const std::string captions[] = {"requires target",
                                    "rear aspect",
                                    "acquire new target",
                                    "use lock range",
                                    "rear firing",
                                    "only lock on Corvane",
                                    "lock on childobjects only",
                                    "attack enemies only",
                                    "target must stay in view cone",
                                    "cannot lock on childobjects",
                                    "damages turrets",
                                    "damages components"};
    for (int bit = 0; bit < 12; ++bit) {
        SCOPED_TRACE(captions[bit]);
        Bytes table = MissilesShowing(1);
        table[RecordPosition(0) + 72] = (1 << bit) & 0xFF;
        table[RecordPosition(0) + 73] = (0x1000 | 1 << bit) >> 8;
        WeaponGame game;
        TForm1& form = game.Start(kMissileEditor, RecordPositions(1), table);
        std::vector<std::string> checked;
        for (TCheckBox* box : {&form.Flag1, &form.Flag2, &form.Flag3, &form.Flag4, &form.Flag5, &form.Flag6,
                               &form.Flag7, &form.Flag8, &form.Flag9, &form.Flag10, &form.Flag11, &form.Flag12}) {
            if (box->Checked()) checked.push_back(box->Caption());
        }
        EXPECT_EQ(checked, std::vector<std::string>{captions[bit]});
        UserInput::Click(form.Button8);
        EXPECT_EQ(WordLEAt(game.Table(kMissileEditor), RecordPosition(0) + 72), 1 << bit);
    }
}

// The list holds type 0 only. The type is saved after the split-up values and before the flag word.
TEST(MissileEditor, ASubMissileTypeBeyondTheListStopsTheSaveAfterTheSplitUpDelay) {
    WeaponGame game;
    Bytes table = MissilesShowing(1);
    table[RecordPosition(0) + 92] = 1;
    TForm1& form = game.Start(kMissileEditor, RecordPositions(1), table);
    EXPECT_EQ(form.ComboBox7.ItemIndex(), -1);
    EXPECT_EQ(form.ComboBox7.Text(), "");

    UserInput::Type(form.Edit49, "2");
    UserInput::Type(form.Edit48, "600");
    UserInput::Toggle(form.Flag2);
    UserInput::Click(form.Button8);
    EXPECT_EQ(game.NewBoxes(), std::vector<std::string>{"error: Range check error."});
    table[kSplitCount] = 2;
    PutFloat(table, RecordPosition(0) + 96, 0.6f);
    EXPECT_EQ(game.Table(kMissileEditor), table);
}

}  // namespace
}  // namespace tovarin::testkit
