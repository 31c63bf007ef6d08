// The Fleet page's chart, driven as a player drives it: "Chart" shows the grid's rows as a scatter of two chosen
// columns (a changed ship with its original), the name filter reaches it, a click on a point selects its row, and
// the guns are bars of one field.
#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "ships/ship_session.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

constexpr int kFleetPage = 7;

const Mark& MarkNamed(const TChartView& view, const std::string& name) {
    const auto& marks = view.GetChart().Marks;
    const auto found = std::find_if(marks.begin(), marks.end(), [&](const Mark& m) { return m.Name == name; });
    if (found == marks.end()) throw std::runtime_error("no point for " + name);
    return *found;
}

TEST(FleetChart, ShowsTheGridsRowsAsAScatterAndAClickSelectsTheRow) {
    Demo game;
    ASSERT_EQ(Cli(game, {"ship", "set", "Kestrel", "speedmax=710"}).Exit, 0);
    ProgramRun run(game);
    TForm1& f = run.Form();
    UserInput::ShowPage(f.PageControl1, kFleetPage);
    UserInput::Toggle(f.CheckBox6);
    EXPECT_FALSE(f.Grid1.Visible());
    EXPECT_TRUE(f.Chart1.Visible());
    EXPECT_EQ(f.ComboBox9.Text(), "Speed Max");
    EXPECT_EQ(f.Chart1.GetChart().Y.Label, "hp");
    EXPECT_EQ(f.Chart1.GetChart().Marks.size(), f.Grid1.RowCount());
    EXPECT_EQ(MarkNamed(f.Chart1, "Kestrel").OriginalX, 600);
    EXPECT_EQ(MarkNamed(f.Chart1, "Warden").OriginalX, std::nullopt);

    UserInput::Choose(f.ComboBox9, static_cast<int>(std::find(f.ComboBox9.Items().begin(), f.ComboBox9.Items().end(),
                                                              f.ComboBox10.Text()) -
                                                    f.ComboBox9.Items().begin()));
    EXPECT_EQ(f.Chart1.GetChart().X.Label, "hp");
    const std::size_t wardenItem = MarkNamed(f.Chart1, "Warden").Item;
    for (const Shape& shape : f.Chart1.Picture().Shapes) {
        const auto& mark = f.Chart1.GetChart().Marks[static_cast<std::size_t>(std::max(shape.Item, 0))];
        if (shape.Role != ShapeRole::Mark || mark.Name != "Warden") continue;
        UserInput::ClickAt(f.Chart1, static_cast<int>(shape.X), static_cast<int>(shape.Y));
    }
    EXPECT_EQ(f.Grid1.SelectedRows(), std::vector<std::size_t>{wardenItem});
    EXPECT_EQ(f.Grid1.Value(f.Grid1.FocusedCell()->Row, 0), "Warden");

    UserInput::Type(f.Edit50, "kes");
    ASSERT_EQ(f.Chart1.GetChart().Marks.size(), 1U);
    EXPECT_EQ(f.Chart1.GetChart().Marks[0].Name, "Kestrel");
    UserInput::Type(f.Edit50, "no such ship");
    EXPECT_TRUE(f.Chart1.Empty());
    EXPECT_EQ(f.Label62.Caption(), "Nothing to chart: No ship has both hp and hp");

    UserInput::Type(f.Edit50, "");
    UserInput::Choose(f.ComboBox8, 1);  // guns: bars of one field, damage per second first
    EXPECT_FALSE(f.ComboBox9.Visible());
    EXPECT_EQ(f.ComboBox10.Text(), "Damage per second");
    EXPECT_EQ(f.Chart1.GetChart().Bars.size(), f.Grid1.RowCount());
    UserInput::Toggle(f.CheckBox6);
    EXPECT_TRUE(f.Grid1.Visible());
    EXPECT_FALSE(f.Chart1.Visible());
}

}  // namespace
}  // namespace tovarin::testkit
