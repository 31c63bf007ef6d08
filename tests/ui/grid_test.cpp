// The grid control of the model: editing a cell in place as the player does it (F2, Enter or a double-click
// opens, Enter commits the typed text to the page's handler, Esc leaves), on a few rows of its own.
#include "ui/grid.h"

#include <gtest/gtest.h>

#include <tuple>

#include "ui/form.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

// Three rows of a name and a number; the second row's number differs from its original.
class ThreeRows : public GridSource {
public:
    [[nodiscard]] std::size_t RowCount() const override { return rows_.size(); }
    [[nodiscard]] const std::string& Value(std::size_t row, std::size_t column) const override {
        return rows_[row][column];
    }
    [[nodiscard]] bool Changed(std::size_t row, std::size_t column) const override { return row == 1 && column == 1; }
    [[nodiscard]] std::string Tip(std::size_t row, std::size_t column) const override {
        return rows_[row][0] + " " + std::to_string(column);
    }

private:
    std::vector<std::vector<std::string>> rows_{{"Kestrel", "600"}, {"Warden", "480"}, {"Halberd", "400"}};
};

TEST(Grid, EditsACellInPlaceAndOnlyTheCommitReachesTheHandler) {
    HeadlessPlatform platform{"/x/"};
    TForm form{platform};
    TGrid grid{form, "Grid"};
    const ThreeRows rows;
    grid.SetRows({{"Ship", "ship", false}, {"Speed Max", "speedmax", true}}, &rows);
    grid.SortBy(1);  // Halberd, Warden, Kestrel
    UserInput::SelectRows(grid, {0}, 1);
    EXPECT_EQ(grid.CellText(1, 1), "480 *");
    EXPECT_EQ(UserInput::Hover(grid, 2, 1), "Kestrel 1");
    EXPECT_FALSE(UserInput::StartEdit(grid)) << "nothing takes an edit yet";

    std::vector<std::tuple<std::size_t, std::size_t, std::string>> commits;
    grid.OnEditCommit = [&](std::size_t row, std::size_t column, const std::string& text) {
        commits.emplace_back(row, column, text);
        return text != "x";  // the handler refuses "x", as a box refuses a value it cannot hold
    };
    grid.CanEditColumn = [](std::size_t column) { return column == 1; };
    ASSERT_TRUE(UserInput::StartEdit(grid));
    EXPECT_EQ(grid.EditText(), "400");
    UserInput::TypeInCell(grid, "x");
    EXPECT_FALSE(UserInput::CommitEdit(grid));
    EXPECT_EQ(grid.EditedCell(), (GridCell{0, 1})) << "a refused text keeps the edit open";
    UserInput::CancelEdit(grid);
    EXPECT_FALSE(grid.EditedCell());
    EXPECT_FALSE(UserInput::CommitEdit(grid)) << "Esc left it: nothing to commit";
    ASSERT_TRUE(UserInput::StartEdit(grid));
    UserInput::TypeInCell(grid, "520");
    EXPECT_TRUE(UserInput::CommitEdit(grid));
    EXPECT_FALSE(grid.EditedCell());
    EXPECT_EQ(commits, (decltype(commits){{2, 1, "x"}, {2, 1, "520"}}));  // the source row: the Halberd
    UserInput::SelectRows(grid, {0}, 0);
    EXPECT_FALSE(UserInput::StartEdit(grid)) << "the name column takes no edit";
}

}  // namespace
}  // namespace tovarin
