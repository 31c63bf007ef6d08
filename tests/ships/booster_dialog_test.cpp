#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ships/ship_session.h"

namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// What the dialog shows and stores, and the live copy of the booster acceleration, the saving tests check.
// Fields are stored one by one, Edit1 first: a bad one keeps those before it, and the dialog stays open. Unticking
// the booster disables the dialog's button again.
TEST(BoosterDialog, ABadFieldStoresTheFieldsBeforeItAndStaysOpen) {
    const struct {
        std::size_t Field;  // 0 for Edit1
        std::string Text, Message;
    } rows[] = {{4, "abc", "'abc' is not a valid integer value."}, {11, "-1", "Range check error."}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Text);
        ShipGame game(FullShip());
        ProgramRun run(game.Game);
        TForm1& f = run.Form();
        const auto before = f.Ship.BoosterValues;
        std::vector<std::pair<TEdit*, std::size_t>> fields;
        run.Platform.InsideBoosterDialog = [&](TForm3& d) {
            fields = BoosterFields(d);
            for (auto [field, index] : fields) UserInput::Type(*field, "7");
            UserInput::Type(*fields[row.Field].first, row.Text);
            UserInput::Click(d.Button1);
        };
        UserInput::Toggle(f.CheckBox2);
        UserInput::Click(f.Button11);

        EXPECT_FALSE(run.App.Form3().Closed());
        EXPECT_EQ(run.Shown(), std::vector<std::string>{row.Message});
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::size_t index = fields[i].second;
            EXPECT_EQ(f.Ship.BoosterValues[index], i < row.Field ? 7 : before[index]) << "Edit" << i + 1;
        }
        UserInput::Toggle(f.CheckBox2);
        EXPECT_FALSE(f.Button11.Enabled());
    }
}

}  // namespace
}  // namespace tovarin::testkit
