// The window's Fleet page, driven as a player drives it: the grid's columns and rows against the sheets the command
// line exports, sorting, the filters, the marks of changed values with their origins, and reading again after a
// change made on another tab.
#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "gamefiles/csv.h"
#include "ships/ship_session.h"
#include "testkit/demo_mods.h"
#include "ui/user_input.h"

namespace tovarin::testkit {
namespace {

// The grid's shown rows, column by column as a player reads them.
std::vector<std::string> ColumnShown(const TGrid& grid, std::size_t column) {
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < grid.RowCount(); ++row) texts.push_back(grid.CellText(row, column));
    return texts;
}

// The form with its Fleet page shown.
TForm1& FleetPageOf(ProgramRun& run) {
    UserInput::ShowPage(run.Form().PageControl1, TForm1::kFleetPage);
    return run.Form();
}

std::size_t ColumnOf(const TGrid& grid, const std::string& key) {
    const auto& columns = grid.Columns();
    return static_cast<std::size_t>(std::ranges::find(columns, key, &GridColumn::Key) - columns.begin());
}

// Rows of a sheet the command line wrote, as their cells.
std::vector<std::vector<std::string>> Exported(const Demo& game, const std::string& sheet) {
    const Ran ran = Cli(game, {"export", sheet, "-"});
    EXPECT_EQ(ran.Exit, 0) << ran.Err;
    std::vector<std::vector<std::string>> rows;
    for (const CsvRow& row : ReadCsv(ran.Out)) rows.push_back(row.Fields);
    return rows;
}

TEST(FleetPage, ShowsEveryTableAsItsSheetIsExported) {
    Demo game;
    ProgramRun run(game);
    TForm1& f = FleetPageOf(run);
    for (const int table : {0, 1, 2}) {
        const std::string sheet = std::vector<std::string>{"ships", "guns", "missiles"}[table];
        SCOPED_TRACE(sheet);
        UserInput::Choose(f.ComboBox8, table);
        const auto rows = Exported(game, sheet);
        const std::size_t leading = table == 0 ? 2 : 1;  // the name, and for ships the file
        std::vector<std::string> keys = {rows[0][0]};
        for (std::size_t c = leading; c < f.Grid1.Columns().size(); ++c) keys.push_back(f.Grid1.HeadTip(c));
        EXPECT_EQ(keys, rows[0]);
        ASSERT_EQ(f.Grid1.RowCount() + 1, rows.size());
        for (std::size_t r = 0; r < f.Grid1.RowCount(); ++r) {
            std::vector<std::string> shown = {f.Grid1.Value(r, 0)};
            for (std::size_t c = leading; c < f.Grid1.Columns().size(); ++c) shown.push_back(f.Grid1.Value(r, c));
            shown.resize(rows[r + 1].size());
            EXPECT_EQ(shown, rows[r + 1]);
        }
    }
    UserInput::Choose(f.ComboBox8, 0);
    EXPECT_EQ(f.Grid1.Columns()[4].Caption, "Speed Max");
    EXPECT_EQ(f.Grid1.Value(0, 1), "kestrel.iff");
}

struct SortRow {
    int Table;
    std::string Key;
    int Clicks;
    std::vector<std::string> Names;  // in the order shown
};

TEST(FleetPage, SortsNumbersAsNumbersAndTextsAsTextsAndReversesOnASecondClick) {
    Demo game;
    ProgramRun run(game);
    TForm1& f = FleetPageOf(run);
    const std::vector<SortRow> rows = {
        {0, "speedmax", 1, {"Bastion", "Marauder", "Halberd", "Warden", "Kestrel", "Corsair", "Sable", "Lancet"}},
        {0, "speedmax", 2, {"Lancet", "Sable", "Corsair", "Kestrel", "Warden", "Halberd", "Marauder", "Bastion"}},
        // Lancet and Sable have no armour: after every number, in the catalogue's order.
        {0, "armrfront", 1, {"Kestrel", "Corsair", "Warden", "Halberd", "Marauder", "Bastion", "Lancet", "Sable"}},
        {0, "ship", 2, {"Warden", "Sable", "Marauder", "Lancet", "Kestrel", "Halberd", "Corsair", "Bastion"}},
        {1,
         "refire delay (ms)",
         1,
         {"Gatling Autocannon", "Plasma Repeater", "Pulse Laser", "Mass Driver", "Scatter Gun", "Meson Blaster",
          "Ion Cannon", "Particle Beam", "Neutron Gun", "Flak Burst", "Arc Projector", "Tachyon Lance",
          "Photon Lance"}},
    };
    for (const SortRow& row : rows) {
        SCOPED_TRACE(row.Key + " x" + std::to_string(row.Clicks));
        UserInput::Choose(f.ComboBox8, row.Table);
        for (int click = 0; click < row.Clicks; ++click) UserInput::ClickHead(f.Grid1, ColumnOf(f.Grid1, row.Key));
        EXPECT_EQ(ColumnShown(f.Grid1, 0), row.Names);
        UserInput::Choose(f.ComboBox8, 2);  // another table forgets the order
    }
}

TEST(FleetPage, FiltersByNameInAnyCaseKeepsTheSelectionOfShownRowsAndSaysWhyNoneShow) {
    Demo game;
    ProgramRun run(game);
    TForm1& f = FleetPageOf(run);
    EXPECT_EQ(f.Label62.Caption(), "8 ships");
    UserInput::SelectRows(f.Grid1, {1, 7});  // Warden and Sable
    UserInput::ClickHead(f.Grid1, 0);
    UserInput::Type(f.Edit50, "aR");
    EXPECT_EQ(ColumnShown(f.Grid1, 0), (std::vector<std::string>{"Marauder", "Warden"}));
    EXPECT_EQ(f.Label62.Caption(), "8 ships, 2 shown");
    EXPECT_EQ(f.Grid1.SelectedRows(), std::vector<std::size_t>{1});  // the Warden; the hidden Sable is let go
    UserInput::Type(f.Edit50, "");
    EXPECT_EQ(f.Grid1.RowCount(), 8u);
    EXPECT_EQ(f.Grid1.SelectedRows(), std::vector<std::size_t>{1}) << "the Sable comes back unselected";
    UserInput::Toggle(f.CheckBox5);
    EXPECT_EQ(f.Label62.Caption(), "8 ships, 0 shown");

    // A ship file another program broke: the page says which, shows no rows and asks nothing.
    const std::size_t boxes = run.Platform.Boxes.size();
    game.WriteText("Ships\\halberd.iff", "not a ship");
    UserInput::ShowPage(f.PageControl1, 6);
    UserInput::ShowPage(f.PageControl1, TForm1::kFleetPage);
    EXPECT_EQ(f.Label62.Caption().rfind("The fleet cannot be shown: ", 0), 0u) << f.Label62.Caption();
    EXPECT_NE(f.Label62.Caption().find("Halberd"), std::string::npos) << f.Label62.Caption();
    EXPECT_EQ(f.Grid1.RowCount(), 0u);
    EXPECT_EQ(run.Platform.Boxes.size(), boxes);
}

// A mod applied on the Mods page and an own change saved on the Ships tab: the page, shown again, marks both values
// and tells where each came from; Undo while the page is shown takes the own change back there too.
TEST(FleetPage, MarksChangedValuesWithTheirOriginsAndFollowsTheOtherTabs) {
    Demo game;
    WriteThreeMods(game, "downloads");
    ASSERT_EQ(Cli(game, {"mods", "add", game.PathOf("downloads\\ff")}).Exit, 0);
    ProgramRun run(game);
    TForm1& f = FleetPageOf(run);
    const std::size_t speed = ColumnOf(f.Grid1, "speedmax");
    const std::size_t hp = ColumnOf(f.Grid1, "hp");
    EXPECT_EQ(f.Grid1.CellText(0, speed), "600");
    UserInput::ShowPage(f.PageControl1, 5);
    UserInput::Click(f.Button20);  // Apply: the Kestrel's speed and the Warden's hit points
    UserInput::ShowPage(f.PageControl1, 0);
    UserInput::Choose(f.ComboBox1, 0);
    UserInput::Type(f.Edit15, "710");
    UserInput::Click(f.Button2);
    UserInput::ShowPage(f.PageControl1, TForm1::kFleetPage);
    EXPECT_EQ(f.Grid1.CellText(0, speed), "710 *");
    EXPECT_EQ(UserInput::Hover(f.Grid1, 0, speed),
              "600 original \xE2\x86\x92 640 Faster Fighters \xE2\x86\x92 710 your change");
    EXPECT_EQ(f.Grid1.CellText(1, hp), "500 *");
    EXPECT_EQ(UserInput::Hover(f.Grid1, 2, hp), "850 original");
    UserInput::Toggle(f.CheckBox5);
    EXPECT_EQ(ColumnShown(f.Grid1, 0), (std::vector<std::string>{"Kestrel", "Warden"}));
    UserInput::Click(f.Undo);
    EXPECT_EQ(f.Grid1.CellText(0, speed), "640 *");
    EXPECT_EQ(UserInput::Hover(f.Grid1, 0, speed), "600 original \xE2\x86\x92 640 Faster Fighters");
}

}  // namespace
}  // namespace tovarin::testkit
