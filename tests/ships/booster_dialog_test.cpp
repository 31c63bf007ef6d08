#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ships/ship_session.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

// The dialog's fields from Edit1 to Edit12.
std::vector<TEdit*> Fields(TForm3& d) {
    return {&d.Edit1, &d.Edit2, &d.Edit3, &d.Edit4,  &d.Edit5,  &d.Edit6,
            &d.Edit7, &d.Edit8, &d.Edit9, &d.Edit10, &d.Edit11, &d.Edit12};
}

std::vector<std::string> Texts(TForm3& d) {
    std::vector<std::string> texts;
    for (TEdit* field : Fields(d)) texts.push_back(field->Text());
    return texts;
}

TEST(BoosterDialog, TheCheckBoxSwitchesTheBoosterAndItsButton) {
    ShipGame game(FullShip());
    ProgramRun run(game.Game);
    TForm1& f = run.Form();
    EXPECT_FALSE(f.CheckBox2.Checked());
    EXPECT_FALSE(f.Button11.Enabled());

    UserInput::Toggle(f.CheckBox2);
    EXPECT_TRUE(f.Button11.Enabled());
    EXPECT_TRUE(f.Ship.HasBooster);

    UserInput::Toggle(f.CheckBox2);
    EXPECT_FALSE(f.Button11.Enabled());
    EXPECT_FALSE(f.Ship.HasBooster);
    EXPECT_FALSE(f.BoosterAtLoad);
}

TEST(BoosterDialog, ShowsTheDefaultsForAShipWithoutABooster) {
    ShipGame game(FullShip());
    ProgramRun run(game.Game);
    TForm1& f = run.Form();
    std::vector<std::string> shown;
    std::string acceleration;
    std::string speed;
    run.Platform.InsideBoosterDialog = [&](TForm3& d) {
        shown = Texts(d);
        acceleration = d.Label9.Caption();
        speed = d.Label11.Caption();
        UserInput::Click(d.Button1);
    };
    UserInput::Toggle(f.CheckBox2);
    UserInput::Click(f.Button11);

    EXPECT_EQ(shown,
              (std::vector<std::string>{"3000", "350", "870", "55", "65", "120", "30", "40", "90", "110", "20", "18"}));
    EXPECT_EQ(acceleration, "870");
    EXPECT_EQ(speed, f.Edit2.Text());
    EXPECT_TRUE(run.Dialog().Closed());
    EXPECT_TRUE(run.Shown().empty());
}

TEST(BoosterDialog, ShowsTheShipsOwnValuesAndStoresWhatIsTyped) {
    ShipPlan plan = FullShip();
    plan.Booster = ShipBooster{{380, 900, 45, 35, 95, 24, 60, 50, 110, 100, 2800, 22}};
    ShipGame game(plan);
    ProgramRun run(game.Game);
    TForm1& f = run.Form();
    std::vector<std::string> shown;
    run.Platform.InsideBoosterDialog = [&](TForm3& d) {
        shown = Texts(d);
        int value = 1;
        for (TEdit* field : Fields(d)) UserInput::Type(*field, std::to_string(value++));
        UserInput::Click(d.Button1);
    };
    UserInput::Click(f.Button11);

    EXPECT_EQ(shown,
              (std::vector<std::string>{"2800", "380", "900", "50", "60", "110", "35", "45", "95", "100", "24", "22"}));
    // Edit1..Edit12 typed 1..12, stored by the value each field shows.
    EXPECT_EQ(f.Ship.BoosterValues, (std::array<std::int32_t, 12>{2, 3, 8, 7, 9, 11, 5, 4, 6, 10, 1, 12}));
}

TEST(BoosterDialog, TheGreyAccelerationFollowsEveryKeystroke) {
    ShipGame game(FullShip());
    ProgramRun run(game.Game);
    std::vector<std::string> grey;
    run.Platform.InsideBoosterDialog = [&](TForm3& d) {
        for (const char* typed : {"9", "95", "950", ""}) {
            UserInput::Type(d.Edit3, typed);
            grey.push_back(d.Label9.Caption());
        }
    };
    UserInput::Toggle(run.Form().CheckBox2);
    UserInput::Click(run.Form().Button11);
    EXPECT_EQ(grey, (std::vector<std::string>{"9", "95", "950", ""}));
}

// Fields are stored one by one: a bad one keeps those before it, and the dialog stays open to correct it.
TEST(BoosterDialog, ABadFieldStoresTheFieldsBeforeItAndStaysOpen) {
    struct Row {
        std::size_t Field;  // 0 for Edit1
        std::string Text;
        std::string Message;
    };
    const std::vector<Row> rows = {
        {4, "abc", "'abc' is not a valid integer value."},
        {11, "-1", "Range check error."},
        {0, "", "'' is not a valid integer value."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Text);
        ShipGame game(FullShip());
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        const auto before = f.Ship.BoosterValues;
        bool closed = true;
        run.Platform.InsideBoosterDialog = [&](TForm3& d) {
            for (TEdit* field : Fields(d)) UserInput::Type(*field, "7");
            UserInput::Type(*Fields(d)[row.Field], row.Text);
            UserInput::Click(d.Button1);
            closed = d.Closed();
        };
        UserInput::Toggle(f.CheckBox2);
        UserInput::Click(f.Button11);

        EXPECT_FALSE(closed);
        EXPECT_EQ(run.Shown(), std::vector<std::string>{row.Message});
        // The value index each field from Edit1 on stores into.
        const std::array<std::size_t, 12> index{10, 0, 1, 7, 6, 8, 3, 2, 4, 9, 5, 11};
        for (std::size_t i = 0; i < index.size(); ++i) {
            EXPECT_EQ(f.Ship.BoosterValues[index[i]], i < row.Field ? 7 : before[index[i]]) << "Edit" << i + 1;
        }
    }
}

}  // namespace
}  // namespace tovarin::testkit
