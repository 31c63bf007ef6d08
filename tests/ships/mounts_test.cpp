#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ships/ship_session.h"
#include "testkit/demo_ships.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

std::string Gun(std::size_t index) { return DemoGunNames().at(index); }
std::string Missile(std::size_t index) { return DemoMissileNames().at(index); }

// FullShip's guns: mount 0 carries gun 11 with 300 rounds, mounts 1 and 2 guns 2 and 3; turrets guns 4 and 5.
// Its missile mounts: missile 1 with 4, missile 4 with 2.
class MountTest : public ::testing::Test {
protected:
    ShipGame game{FullShip()};
    ProgramRun run{game.Game};
    TForm1& f = run.Form();
};

TEST_F(MountTest, ClickingAMountShowsItsGunAndAmmunition) {
    UserInput::Select(f.ListBox1, 0);
    EXPECT_EQ(f.ComboBox2.ItemIndex(), 11);
    EXPECT_EQ(f.Edit28.Text(), "300");

    UserInput::Select(f.ListBox1, 2);
    EXPECT_EQ(f.ComboBox2.ItemIndex(), 3);
    EXPECT_EQ(f.Edit28.Text(), "0");

    // A turret has no ammunition: the box keeps what it showed.
    UserInput::Type(f.Edit28, "123");
    UserInput::Select(f.ListBox1, 4);
    EXPECT_EQ(f.ComboBox2.ItemIndex(), 5);
    EXPECT_EQ(f.Edit28.Text(), "123");
    EXPECT_TRUE(run.Shown().empty());
}

TEST_F(MountTest, ChangingAGunMountStoresGunAndAmmunitionAndKeepsTheSelection) {
    struct Row {
        int Gun;
        std::string Ammo;
        std::string Entry;
    };
    const std::vector<Row> rows = {
        {3, "50", Gun(3)},              // the ammunition is kept but not shown
        {11, "50", Gun(11) + " * 50"},  // the one gun that shows it
        {11, "65535", Gun(11) + " * 65535"},
        {0, "0", Gun(0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Entry);
        UserInput::Select(f.ListBox1, 1);
        UserInput::Choose(f.ComboBox2, row.Gun);
        UserInput::Type(f.Edit28, row.Ammo);
        UserInput::Click(f.Button3);

        EXPECT_EQ(f.ListBox1.Items()[1], row.Entry);
        EXPECT_EQ(f.GunMountTypes[1], row.Gun);
        EXPECT_EQ(std::to_string(f.GunMountAmmo[1]), row.Ammo);
        EXPECT_EQ(f.ListBox1.ItemIndex(), 1);
        EXPECT_EQ(f.Focused(), &f.ListBox1);
    }
    EXPECT_TRUE(run.Shown().empty());
}

TEST_F(MountTest, ChangingATurretReadsNoAmmunitionAndLeavesNoSelection) {
    UserInput::Select(f.ListBox1, 4);
    UserInput::Choose(f.ComboBox2, 7);
    UserInput::Type(f.Edit28, "abc");
    UserInput::Click(f.Button3);

    EXPECT_TRUE(run.Shown().empty());
    EXPECT_EQ(f.Ship.TurretGunTypes[1], 7);
    EXPECT_EQ(f.Ship.TurretGunTypes[0], 4);
    EXPECT_EQ(f.ListBox1.Items()[4], "Turret: " + Gun(7));
    EXPECT_EQ(f.ListBox1.ItemIndex(), -1);
    EXPECT_EQ(f.Edit28.Text(), "abc");
    EXPECT_EQ(f.GunMountTypes[0], 11);
    EXPECT_EQ(f.GunMountAmmo[0], 300);
}

TEST_F(MountTest, ChangingAMissileMountStoresTypeAndCount) {
    UserInput::Select(f.ListBox2, 1);
    EXPECT_EQ(f.ComboBox3.ItemIndex(), 4);
    EXPECT_EQ(f.Edit9.Text(), "2");
    for (const std::string count : {"0", "9", "255"}) {
        SCOPED_TRACE(count);
        UserInput::Select(f.ListBox2, 1);
        UserInput::Choose(f.ComboBox3, 2);
        UserInput::Type(f.Edit9, count);
        UserInput::Click(f.Button4);

        EXPECT_EQ(f.ListBox2.Items()[1], Missile(2) + " * " + count);
        EXPECT_EQ(f.MissileMountTypes[1], 2);
        EXPECT_EQ(std::to_string(f.Ship.MissileMountLoads[1]), count);
        EXPECT_EQ(f.ListBox2.ItemIndex(), 1);
        EXPECT_EQ(f.Focused(), &f.ListBox2);
        // Clicking the entry shows what was stored.
        UserInput::Select(f.ListBox2, 1);
        EXPECT_EQ(f.Edit9.Text(), count);
        EXPECT_EQ(f.ComboBox3.ItemIndex(), 2);
        // The list shows the other mount's type again on its click.
        UserInput::Select(f.ListBox2, 0);
        EXPECT_EQ(f.ComboBox3.ItemIndex(), 1);
    }
    EXPECT_TRUE(run.Shown().empty());
}

// The type is stored before the amount is read: a bad amount leaves the new type with the old amount and the
// entry as it was.
TEST_F(MountTest, ABadAmountKeepsTheNewTypeAndTheOldAmount) {
    struct Row {
        bool Missile;
        std::string Amount;
        std::string Message;
    };
    const std::vector<Row> rows = {
        {false, "abc", "'abc' is not a valid integer value."},
        {false, "65536", "Range check error."},
        {false, "-1", "Range check error."},
        {true, "256", "Range check error."},
        {true, "x", "'x' is not a valid integer value."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Amount);
        ShipGame fresh(FullShip());
        ProgramRun again(fresh.Game);
        TForm1& g = again.Form();
        if (row.Missile) {
            UserInput::Select(g.ListBox2, 0);
            UserInput::Choose(g.ComboBox3, 3);
            UserInput::Type(g.Edit9, row.Amount);
            UserInput::Click(g.Button4);
            EXPECT_EQ(g.MissileMountTypes[0], 3);
            EXPECT_EQ(g.Ship.MissileMountLoads[0], 4);
            EXPECT_EQ(g.ListBox2.Items()[0], Missile(1) + " * 4");
        } else {
            UserInput::Select(g.ListBox1, 0);
            UserInput::Choose(g.ComboBox2, 6);
            UserInput::Type(g.Edit28, row.Amount);
            UserInput::Click(g.Button3);
            EXPECT_EQ(g.GunMountTypes[0], 6);
            EXPECT_EQ(g.GunMountAmmo[0], 300);
            EXPECT_EQ(g.ListBox1.Items()[0], Gun(11) + " * 300");
        }
        EXPECT_EQ(again.Shown(), std::vector<std::string>{row.Message});
    }
}

TEST_F(MountTest, ChangeWithoutASelectedEntryDoesNothing) {
    const auto guns = f.ListBox1.Items();
    const auto missiles = f.ListBox2.Items();
    UserInput::Choose(f.ComboBox2, 1);
    UserInput::Choose(f.ComboBox3, 1);
    UserInput::Click(f.Button3);
    UserInput::Click(f.Button4);
    EXPECT_TRUE(run.Shown().empty());
    EXPECT_EQ(f.ListBox1.Items(), guns);
    EXPECT_EQ(f.ListBox2.Items(), missiles);
    EXPECT_EQ(f.GunMountTypes[0], 11);
    EXPECT_EQ(f.MissileMountTypes[0], 1);
}

// After start-up no mount has been shown yet, so the weapon lists have no selection.
TEST_F(MountTest, ChangeWithoutAChosenWeaponStopsBeforeStoringAnything) {
    ASSERT_EQ(f.ComboBox2.ItemIndex(), -1);
    ASSERT_EQ(f.ComboBox3.ItemIndex(), -1);
    f.ListBox1.SetItemIndex(1);
    f.ListBox2.SetItemIndex(0);
    UserInput::Type(f.Edit28, "77");
    UserInput::Type(f.Edit9, "7");

    UserInput::Click(f.Button3);
    UserInput::Click(f.Button4);

    EXPECT_EQ(run.Shown(), (std::vector<std::string>{"Range check error.", "Range check error."}));
    EXPECT_EQ(f.GunMountTypes[1], 2);
    EXPECT_EQ(f.GunMountAmmo[1], 0);
    EXPECT_EQ(f.MissileMountTypes[0], 1);
    EXPECT_EQ(f.Ship.MissileMountLoads[0], 4);
}

TEST_F(MountTest, AClickThatLeavesNoEntrySelectedIsRefused) {
    UserInput::Select(f.ListBox1, 0);
    UserInput::Select(f.ListBox1, -1);
    UserInput::Select(f.ListBox2, -1);
    EXPECT_EQ(run.Shown(), (std::vector<std::string>{"Range check error.", "Range check error."}));
    EXPECT_EQ(f.ComboBox2.ItemIndex(), 11);
    EXPECT_EQ(f.Edit28.Text(), "300");
}

TEST_F(MountTest, ChoosingTheShipAgainDropsUnsavedChanges) {
    UserInput::Select(f.ListBox1, 0);
    UserInput::Choose(f.ComboBox2, 1);
    UserInput::Click(f.Button3);
    UserInput::Select(f.ListBox1, 3);
    UserInput::Choose(f.ComboBox2, 1);
    UserInput::Click(f.Button3);
    UserInput::Select(f.ListBox2, 0);
    UserInput::Choose(f.ComboBox3, 0);
    UserInput::Type(f.Edit9, "1");
    UserInput::Click(f.Button4);

    UserInput::Choose(f.ComboBox1, 0);

    EXPECT_EQ(f.ListBox1.Items()[0], Gun(11) + " * 300");
    EXPECT_EQ(f.ListBox1.Items()[3], "Turret: " + Gun(4));
    EXPECT_EQ(f.ListBox2.Items()[0], Missile(1) + " * 4");
    EXPECT_EQ(f.GunMountTypes[0], 11);
    EXPECT_EQ(f.Ship.TurretGunTypes[0], 4);
    EXPECT_EQ(f.MissileMountTypes[0], 1);
    EXPECT_EQ(f.Ship.MissileMountLoads[0], 4);
    EXPECT_TRUE(SameBytes(game.ShipBytes(), BuildShip(FullShip()).File));
}

}  // namespace
}  // namespace tovarin::testkit
