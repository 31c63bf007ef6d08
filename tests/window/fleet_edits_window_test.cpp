// The Fleet page's dialogs and writes in the window, driven as a player drives them: the bulk change's preview and
// OK as one step of the undo, the question about unsaved edits first, a reset, and a mod made of one's changes.
#include <gtest/gtest.h>

#include <tuple>

#include "cli/cli_run.h"
#include "demo/demo_ships.h"
#include "fleet_edits/bulk_change.h"
#include "fleet_edits/fleet_columns.h"
#include "ships/ship_session.h"
#include "testkit/fault_walk_core.h"
#include "ui/user_input.h"
#include "window/fleet_dialogs.h"

namespace tovarin::testkit {
namespace {

using Answer = Platform::Answer;

struct FleetRun {
    Demo Game;
    ProgramRun Run{Game, {true}};  // the archive patch installed, as a player has it
    TForm1& F = Run.Form();
    FleetRun() { Run.Platform.Boxes.clear(); }  // the boxes of the start-up
    [[nodiscard]] FolderFiles Files() const { return GameFiles(Game.Root()); }
    std::size_t Column(SheetKind kind, const std::string& name) {
        const std::vector<std::string> names = ColumnNames(F.FleetNow(), kind);
        return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    }
};

// The Fleet page shown; its grid has the name and the file before the table's columns.
struct FleetPageRun : FleetRun {
    TGrid& Grid = F.Grid1;
    FleetPageRun() { UserInput::ShowPage(F.PageControl1, TForm1::kFleetPage); }
    std::size_t GridColumn(const std::string& key) { return 2 + Column(SheetKind::Ships, key); }
    // "Kestrel mass Warden speedmax ": every changed value the grid marks, row by row.
    std::string ChangedCells() const {
        std::string cells;
        for (std::size_t row = 0; row < Grid.RowCount(); ++row) {
            for (std::size_t column = 2; column < Grid.Columns().size(); ++column) {
                if (Grid.Changed(row, column)) cells += Grid.Value(row, 0) + " " + Grid.Columns()[column].Key + " ";
            }
        }
        return cells;
    }
};

// The bulk change dialog scaling by 110% and written.
void ScaleBy110(TForm& form) {
    auto& dialog = dynamic_cast<TBulkChangeDialog&>(form);
    UserInput::Choose(dialog.ComboBox1, 2);
    UserInput::Type(dialog.Edit1, "110");
    UserInput::Click(dialog.Button1);
    UserInput::Click(dialog.Button2);
}

TEST(FleetEditsWindow, ABulkChangeWritesItsPreviewAsOneStepOfTheUndo) {
    FleetRun run;
    const FolderFiles before = run.Files();
    bool shown = false;
    run.Run.Platform.InsideDialog = [&](TForm& form) {
        auto& dialog = dynamic_cast<TBulkChangeDialog&>(form);
        shown = true;
        UserInput::Choose(dialog.ComboBox1, 2);
        UserInput::Type(dialog.Edit1, "110");
        EXPECT_FALSE(dialog.Button2.Enabled());
        UserInput::Click(dialog.Button1);
        EXPECT_EQ(dialog.Memo1.Lines(),
                  (std::vector<std::string>{"3 values change", "Kestrel speedmax 600 -> 660",
                                            "Warden speedmax 480 -> 528", "Halberd speedmax 400 -> 440"}));
        UserInput::Type(dialog.Edit1, "120");  // a preview no longer shown is never written
        EXPECT_FALSE(dialog.Button2.Enabled());
        EXPECT_TRUE(dialog.Memo1.Lines().empty());
        UserInput::Type(dialog.Edit1, "ten");
        UserInput::Click(dialog.Button1);
        UserInput::Type(dialog.Edit1, "110");
        UserInput::Click(dialog.Button1);
        UserInput::Click(dialog.Button2);
        EXPECT_TRUE(dialog.Closed());
    };
    run.F.ChangeManyAtOnce(SheetKind::Ships, {0, 1, 2}, run.Column(SheetKind::Ships, "speedmax"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(run.Run.Shown(), (std::vector<std::string>{"'ten' is no number to scale by."}));
    EXPECT_EQ(run.F.Edit15.Text(), "660");  // the Ships tab shows Kestrel as written
    EXPECT_EQ(run.F.Undo.Caption(), "Undo change of speedmax of 3 ships (&Z)");
    EXPECT_EQ(run.F.StatusLine.Caption(), "Change of speedmax of 3 ships written: Ships\\kestrel.iff and 2 more");
    const FolderFiles after = run.Files();
    EXPECT_EQ(Differing(before, after), "Ships/halberd.iff Ships/kestrel.iff Ships/warden.iff ");
    UserInput::Click(run.F.Undo);
    EXPECT_TRUE(run.Files() == before);
    EXPECT_EQ(run.F.Edit15.Text(), "600");
    UserInput::Click(run.F.Redo);
    EXPECT_TRUE(run.Files() == after);

    // Reset of two of the three: one step, the third keeps its change.
    const Fleet fleet = run.F.FleetNow();
    const std::size_t speedmax = run.Column(SheetKind::Ships, "speedmax");
    run.F.ResetToOriginal({CellOf(fleet, SheetKind::Ships, 0, speedmax), CellOf(fleet, SheetKind::Ships, 1, speedmax)});
    EXPECT_EQ(run.F.Undo.Caption(), "Undo reset of 2 values (&Z)");
    EXPECT_EQ(Differing(before, run.Files()), "Ships/halberd.iff ");
    EXPECT_EQ(run.F.Edit15.Text(), "600");
}

TEST(FleetEditsWindow, UnsavedEditsOfAShipAreAskedAboutBeforeTheFleetWritesIt) {
    struct Row {
        std::vector<std::size_t> Ships;
        Answer Said;
        bool Shown;
        std::string Box;  // what the Ships tab's Speed Max shows after
    };
    const std::vector<Row> rows = {{{0, 1}, Answer::Cancel, false, "777"},
                                   {{0, 1}, Answer::No, true, "660"},
                                   {{1}, Answer::Cancel, true, "777"}};  // Kestrel's edits are not in the way
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Ships.size());
        FleetRun run;
        UserInput::Type(run.F.Edit15, "777");
        run.Run.Platform.SaveAnswers = {row.Said};
        bool shown = false;
        run.Run.Platform.InsideDialog = [&](TForm& form) {
            shown = true;
            ScaleBy110(form);
        };
        run.F.ChangeManyAtOnce(SheetKind::Ships, row.Ships, run.Column(SheetKind::Ships, "speedmax"));
        EXPECT_EQ(shown, row.Shown);
        EXPECT_EQ(run.F.Edit15.Text(), row.Box);
    }
}

TEST(FleetEditsWindow, ACellTypedIntoIsOneStepAndARefusedOneIsSaidAsTheCommandLineSaysIt) {
    FleetRun run;
    UserInput::Type(run.F.Edit15, "777");
    run.Run.Platform.SaveAnswers = {Answer::No};
    const CellAddress speedmax =
        CellOf(run.F.FleetNow(), SheetKind::Ships, 0, run.Column(SheetKind::Ships, "speedmax"));
    run.F.WriteFleetCell(speedmax, "650");
    EXPECT_EQ(run.F.Edit15.Text(), "650");
    EXPECT_EQ(run.F.Undo.Caption(), "Undo change of Kestrel speedmax (&Z)");
    run.F.Dispatch([&] { run.F.WriteFleetCell(speedmax, "fast"); });
    EXPECT_EQ(run.Run.Shown(),
              (std::vector<std::string>{"Save changes to Kestrel?",
                                        "Kestrel, speedmax=fast: 'fast' is not a valid integer value."}));
    EXPECT_EQ(run.F.Undo.Caption(), "Undo change of Kestrel speedmax (&Z)");
}

// Enter in a grid cell writes the value as "ship set" would; the name column takes no edit, a refused text keeps the
// edit open, and the page shows the new value marked as changed.
TEST(FleetEditsWindow, EnterInAGridCellWritesItsValue) {
    FleetPageRun run;
    TGrid& grid = run.Grid;
    const std::size_t speedmax = run.GridColumn("speedmax");
    ASSERT_EQ(grid.Columns().at(speedmax).Key, "speedmax");
    UserInput::SelectRows(grid, {0}, 0);
    EXPECT_FALSE(UserInput::StartEdit(grid));
    UserInput::SelectRows(grid, {0}, speedmax);
    ASSERT_TRUE(UserInput::StartEdit(grid));
    UserInput::TypeInCell(grid, "fast");
    EXPECT_FALSE(UserInput::CommitEdit(grid));
    EXPECT_EQ(run.Run.Shown(),
              (std::vector<std::string>{"Kestrel, speedmax=fast: 'fast' is not a valid integer value."}));
    UserInput::TypeInCell(grid, "650");
    EXPECT_TRUE(UserInput::CommitEdit(grid));
    EXPECT_EQ(grid.CellText(0, speedmax), std::string("650") + TGrid::kChangedMark);
    EXPECT_EQ(run.F.Edit15.Text(), "650");
    EXPECT_EQ(run.F.Undo.Caption(), "Undo change of Kestrel speedmax (&Z)");
}

// A mount's weapon is chosen from the catalogue's names, the current one first chosen; the choice is written as
// "ship set" writes the name. Other columns keep their text box.
TEST(FleetEditsWindow, AWeaponCellChoosesAmongTheCataloguesNames) {
    struct Row {
        const char* Key;
        const std::vector<std::string>& Names;
    };
    for (const Row& row : {Row{"gun1", demo::DemoGunNames()}, Row{"miss1", demo::DemoMissileNames()}}) {
        SCOPED_TRACE(row.Key);
        FleetPageRun run;
        TGrid& grid = run.Grid;
        const std::size_t column = run.GridColumn(row.Key);
        const FolderFiles before = run.Files();
        EXPECT_TRUE(grid.Choices(column - 1).empty());  // the number before it
        UserInput::SelectRows(grid, {0}, column);
        ASSERT_TRUE(UserInput::StartEdit(grid));
        EXPECT_EQ(grid.Choices(column), row.Names);
        const auto current = std::find(row.Names.begin(), row.Names.end(), grid.EditText());
        ASSERT_NE(current, row.Names.end());
        const std::size_t chosen = static_cast<std::size_t>(current - row.Names.begin() + 1) % row.Names.size();
        EXPECT_FALSE(UserInput::ChooseInCell(grid, row.Names.size()));
        ASSERT_TRUE(UserInput::ChooseInCell(grid, chosen));
        EXPECT_TRUE(UserInput::CommitEdit(grid));
        Demo bySet;
        ASSERT_EQ(Cli(bySet, {"ship", "set", "Kestrel", std::string(row.Key) + "=" + row.Names[chosen]}).Exit, 0);
        const FolderFiles after = run.Files();
        EXPECT_EQ(Differing(before, after), "Ships/kestrel.iff ");
        EXPECT_TRUE(GameFiles(bySet.Root()).at("Ships/kestrel.iff") == after.at("Ships/kestrel.iff"));
    }
}

// A cell given back the value it has (the weapon it mounts chosen again, Enter on a number left as it was) changes
// nothing: no byte is written, no step joins the undo, and the status line does not say it was set.
TEST(FleetEditsWindow, ACellGivenTheValueItHasChangesNothing) {
    for (const std::string key : {"gun1", "speedmax"}) {
        SCOPED_TRACE(key);
        FleetPageRun run;
        TGrid& grid = run.Grid;
        const std::size_t column = run.GridColumn(key);
        const FolderFiles before = run.Files();
        UserInput::SelectRows(grid, {0}, column);
        const std::string status = run.F.StatusLine.Caption();
        ASSERT_TRUE(UserInput::StartEdit(grid));
        const std::vector<std::string> choices = grid.Choices(column);
        const auto current = std::find(choices.begin(), choices.end(), grid.EditText());
        if (!choices.empty()) {
            ASSERT_TRUE(UserInput::ChooseInCell(grid, static_cast<std::size_t>(current - choices.begin())));
        }
        EXPECT_TRUE(UserInput::CommitEdit(grid));
        EXPECT_FALSE(grid.EditedCell());
        EXPECT_TRUE(run.Files() == before) << Differing(before, run.Files());
        EXPECT_EQ(run.F.Undo.Caption(), "Undo (&Z)");
        EXPECT_EQ(run.F.StatusLine.Caption(), status);
        EXPECT_TRUE(run.Run.Shown().empty());
    }
}

TEST(FleetEditsWindow, AModMadeOfTheChangesHasWhatTheDialogAskedAndSaysWhere) {
    FleetRun run;
    ASSERT_EQ(Cli(run.Game, {"ship", "set", "Kestrel", "speedmax=640"}).Exit, 0);
    run.Run.Platform.InsideDialog = [](TForm& form) {
        auto& dialog = dynamic_cast<TMakeModDialog&>(form);
        EXPECT_EQ(dialog.Edit2.Text(), "1.0");
        UserInput::Type(dialog.Edit1, "My Balance");
        UserInput::Type(dialog.Edit2, "2.1");
        UserInput::Type(dialog.Edit3, "Ann");
        UserInput::Type(dialog.Edit4, "Faster fighters");
        UserInput::Click(dialog.Button1);
    };
    run.F.MakeModFromMyChanges();
    EXPECT_EQ(run.Run.Shown(), (std::vector<std::string>{"Made " + run.Game.PathOf("Tovarin Mods\\My Balance") +
                                                         ": 1 ship. It is switched on, last on the Mods page."}));
    EXPECT_NE(run.Game.ReadText("Tovarin Mods\\My Balance\\mod.ini")
                  .find("Name=My Balance\r\nVersion=2.1\r\nAuthor=Ann\r\nDescription=Faster fighters\r\n"),
              std::string::npos);
    EXPECT_EQ(run.Game.ReadText("Tovarin Mods\\My Balance\\ships.csv"), "ship,speedmax\r\nKestrel,640\r\n");
    EXPECT_EQ(run.F.ListBox6.Items().size(), 1U);
}

// The page's own buttons act on the selection (every shown row when none is) and the focused value's column; the
// page reads the files again after.
TEST(FleetEditsWindow, TheButtonsActOnTheSelectedRowsAndTheFocusedColumn) {
    struct Row {
        TButton TForm1::*Button;
        std::vector<std::size_t> Selected;
        const char* Focused;  // the focused cell's key ("" for none; with no row selected, in the second row)
        std::string Changed;  // after
    };
    const std::vector<Row> rows = {
        {&TForm1::Button23, {0}, "speedmax", "Kestrel mass Warden speedmax "},
        {&TForm1::Button23, {0}, "name", "Warden speedmax "},
        {&TForm1::Button23, {}, "", ""},
        {&TForm1::Button24, {0, 2}, "speedmax", "Kestrel speedmax Kestrel mass Warden speedmax Halberd speedmax "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Focused);
        FleetPageRun run;
        const auto column = [&](const std::string& key) { return key == "name" ? 0 : run.GridColumn(key); };
        const Fleet fleet = run.F.FleetNow();  // a few own changes to put back
        for (const auto& [ship, key, text] :
             {std::tuple{0, "speedmax", "640"}, {0, "mass", "1300"}, {1, "speedmax", "500"}}) {
            run.F.WriteFleetCell(CellOf(fleet, SheetKind::Ships, ship, column(key) - 2), text);
        }
        run.F.ShowFleet();
        const FolderFiles before = run.Files();
        UserInput::SelectRows(run.Grid, row.Selected, *row.Focused ? column(row.Focused) : 0);
        if (row.Selected.empty() && *row.Focused) run.Grid.SetFocusedCell(GridCell{1, column(row.Focused)});
        run.Run.Platform.InsideDialog = ScaleBy110;
        UserInput::Click(run.F.*row.Button);
        EXPECT_EQ(run.ChangedCells(), row.Changed);
        UserInput::Click(run.F.Undo);  // one step
        EXPECT_TRUE(run.Files() == before);
    }
}

TEST(FleetEditsWindow, ShowSelectedOnlyKeepsTheChosenRowsAndMarksTheHeadsOfTheColumnsTheyDifferIn) {
    FleetPageRun run;
    const std::size_t speedmax = run.GridColumn("speedmax");
    UserInput::Toggle(run.F.CheckBox7);  // nothing selected: nothing to compare
    EXPECT_FALSE(run.F.CheckBox7.Checked());
    UserInput::SelectRows(run.Grid, {0, 1}, speedmax);  // Kestrel and Warden
    UserInput::Toggle(run.F.CheckBox7);
    EXPECT_EQ(run.Grid.RowCount(), 2U);
    EXPECT_EQ(run.Grid.Columns()[0].Caption, "Ship");
    EXPECT_EQ(run.Grid.Columns()[speedmax].Caption, "Speed Max (differs)");
    EXPECT_EQ(run.F.Label62.Caption(), "8 ships, 2 shown; 37 columns differ");
    // A value written keeps the two side by side, and the heads follow what they now hold.
    UserInput::SelectRows(run.Grid, {0}, speedmax);
    ASSERT_TRUE(UserInput::StartEdit(run.Grid));
    UserInput::TypeInCell(run.Grid, "480");
    EXPECT_TRUE(UserInput::CommitEdit(run.Grid));
    EXPECT_EQ(run.Grid.RowCount(), 2U);
    EXPECT_EQ(run.Grid.Columns()[speedmax].Caption, "Speed Max");
    UserInput::Choose(run.F.ComboBox8, 1);  // another table: nothing of it was chosen
    EXPECT_FALSE(run.F.CheckBox7.Checked());
    bool asked = false;  // and the last button's dialog
    run.Run.Platform.InsideDialog = [&](TForm& form) { asked = dynamic_cast<TMakeModDialog*>(&form) != nullptr; };
    UserInput::Click(run.F.Button25);
    EXPECT_TRUE(asked);
}

}  // namespace
}  // namespace tovarin::testkit
