#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ships/ship_session.h"

namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// FullShip's gun list: mounts 0..2 (gun 11 with 300 rounds, gun 2, gun 3), turrets 3..4; its missile list: two
// mounts.
class MountTest : public ::testing::Test {
protected:
    ShipGame game{FullShip()};
    ProgramRun run{game.Game};
    TForm1& f = run.Form();
};

// One after another on the same ship: the entry afterwards, the list's selection, and what clicking the entry
// again shows. A bad amount keeps the new weapon (stored first) with the old amount and the entry's old text.
// Choosing the ship again drops every change.
TEST_F(MountTest, ChangeStoresTheWeaponBeforeTheAmountUntilTheShipIsChosenAgain) {
    // After start-up no mount has been shown, so neither weapon list has a choice yet: nothing is stored.
    f.ListBox1.SetItemIndex(1);
    f.ListBox2.SetItemIndex(0);
    UserInput::Click(f.Button3);
    UserInput::Click(f.Button4);
    // A click that leaves a list without a selection is refused; "Change" then does nothing.
    UserInput::Select(f.ListBox1, -1);
    UserInput::Select(f.ListBox2, -1);
    UserInput::Choose(f.ComboBox2, 1);
    UserInput::Click(f.Button3);
    EXPECT_EQ(run.Shown(), std::vector<std::string>(4, "Range check error."));
    run.Platform.Boxes.clear();

    const struct {
        bool Missile;
        int Entry, Weapon;
        std::string Amount, Message, Row;
        int Selected;
        std::string Stored;  // the amount box after clicking the entry again
    } actions[] = {
        // clang-format off
        {false, 1, 3, "50", "", Gun(3), 1, "50"},  // the ammunition is kept but not shown
        {false, 1, 11, "65535", "", Gun(11) + " * 65535", 1, "65535"},
        {false, 4, 7, "12", "", "Turret: " + Gun(7), -1, "12"},  // a turret reads no ammunition
        {false, 0, 6, "-5", "Range check error.", Gun(11) + " * 300", 0, "300"},
        {false, 0, 6, "65536", "Range check error.", Gun(11) + " * 300", 0, "300"},
        {true, 1, 2, "255", "", Missile(2) + " * 255", 1, "255"},
        {true, 1, 3, "-1", "Range check error.", Missile(2) + " * 255", 1, "255"},
        // clang-format on
    };
    for (const auto& a : actions) {
        SCOPED_TRACE(::testing::Message() << (a.Missile ? "missile " : "gun ") << a.Entry << ": '" << a.Amount << "'");
        ChangeMount(f, a.Missile, a.Entry, a.Weapon, a.Amount);
        TListBox& list = a.Missile ? f.ListBox2 : f.ListBox1;
        EXPECT_EQ(run.Shown(), a.Message.empty() ? std::vector<std::string>{} : std::vector{a.Message});
        EXPECT_EQ(list.Items()[static_cast<std::size_t>(a.Entry)], a.Row);
        EXPECT_EQ(list.ItemIndex(), a.Selected);
        if (a.Message.empty() && a.Selected >= 0) {
            EXPECT_EQ(f.Focused(), &list);
        }
        UserInput::Select(list, a.Entry);
        EXPECT_EQ((a.Missile ? f.ComboBox3 : f.ComboBox2).ItemIndex(), a.Weapon);
        EXPECT_EQ((a.Missile ? f.Edit9 : f.Edit28).Text(), a.Stored);
        run.Platform.Boxes.clear();
    }
    UserInput::Choose(f.ComboBox1, 0);
    UserInput::Click(f.Button2);
    EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(FullShip()).File));
}

}  // namespace
}  // namespace tovarin::testkit
