#include <string>

#include "fleet_edits/compare_rows.h"
#include "gamefiles/case_fold.h"
#include "gamefiles/errors.h"
#include "gamefiles/numbers.h"
#include "gamefiles/run_caches.h"
#include "mods/fleet_table.h"
#include "sheets/refusal.h"
#include "window/fleet_rows.h"
#include "window/form1.h"

// The "Fleet" page: every ship, gun or missile at a glance in one grid, a column per value the sheets write, each
// value that differs from its kept original marked, with where it came from in its tooltip. It reads the
// installation again whenever it is shown and after any change of the game's files made while it is shown.
namespace tovarin {

namespace {

constexpr SheetKind kTables[] = {SheetKind::Ships, SheetKind::Guns, SheetKind::Missiles};
// After the head of a column in which the compared rows differ: plain text, as the heads are drawn in the window's
// own font and read by a screen reader as they are.
constexpr const char* kDifferMark = " (differs)";
constexpr const char* kRowWords[][2] = {{"ship", "ships"}, {"gun", "guns"}, {"missile", "missiles"}};

SheetKind ChosenTable(const TComboBox& list) {
    const int index = list.ItemIndex();
    return index >= 0 && index < 3 ? kTables[index] : SheetKind::Ships;
}

// "8 ships, 3 shown"; "1 gun".
std::string Count(SheetKind kind, std::size_t rows, std::size_t shown) {
    const auto& words = kRowWords[static_cast<int>(kind)];
    std::string text = IntToStr(static_cast<std::int32_t>(rows)) + " " + words[rows == 1 ? 0 : 1];
    if (shown != rows) text += ", " + IntToStr(static_cast<std::int32_t>(shown)) + " shown";
    return text;
}

// The columns, the head of each in which the compared rows' values differ marked. A screen reader reads a list
// view's heads as their texts, so the mark is text, as a changed value's is.
std::vector<GridColumn> MarkedColumns(const FleetGridRows& rows, const std::vector<std::size_t>& compared,
                                      std::size_t* differing) {
    std::vector<GridColumn> columns = rows.Columns();
    const std::size_t leading = rows.Table().LeadingColumns();
    std::vector<std::vector<std::string>> values;
    for (const std::size_t row : compared) {
        values.emplace_back();
        for (std::size_t column = leading; column < columns.size(); ++column) {
            values.back().push_back(rows.Value(row, column));
        }
    }
    const std::vector<std::size_t> marked = DifferingColumns(values);
    for (const std::size_t column : marked) columns[leading + column].Caption += kDifferMark;
    *differing = marked.size();
    return columns;
}

}  // namespace

void TForm1::ShowFleet() {
    if (ComboBox8.Items().empty()) ComboBox8.Items() = {"Ships", "Guns", "Missiles"};
    if (ComboBox8.ItemIndex() < 0) ComboBox8.SetItemIndex(0);
    std::unique_ptr<FleetGridRows> rows;
    std::string problem;
    try {
        // Every ship at once, read in one go: the catalogue, the switch file and the notes of the kept originals are
        // each read once for the thousand look-ups of a large fleet, not once for each.
        const RunCaches readingOnce;
        const ModInstallation game(FleetOf({GameFolder, Catalogue, SwitchFile}));
        rows = std::make_unique<FleetGridRows>(FleetTable(game, ChosenTable(ComboBox8)));
    } catch (const Refusal& refusal) {
        problem = refusal.what();
    } catch (const Exception& error) {
        problem = ErrorText(error) + ".";
    }
    // The grid lets go of the rows it shows, and of the filter over them, before they go.
    Grid1.SetFilter({});
    Grid1.SetRows(rows ? rows->Columns() : std::vector<GridColumn>{}, rows.get());
    FleetRows = std::move(rows);
    // Rows compared are kept by their place in the table, which another table (or another catalogue) does not share.
    if (CheckBox7.Checked() && (!FleetRows || FleetRows->RowCount() != FleetCompared.size())) {
        CheckBox7.SetChecked(false);
    }
    FilterFleet();
    if (!problem.empty()) Label62.SetCaption("The fleet cannot be shown: " + problem);
}

void TForm1::FilterFleet() {
    const FleetGridRows* rows = FleetRows.get();
    const std::string wanted = FoldedCase(Edit50.Text());
    const bool changedOnly = CheckBox5.Checked();
    const bool comparing = CheckBox7.Checked();
    Grid1.SetFilter([rows, wanted, changedOnly, comparing, compared = FleetCompared](std::size_t row) {
        if (comparing && (row >= compared.size() || !compared[row])) return false;
        if (changedOnly && !rows->Table().RowChanged(row)) return false;
        return wanted.empty() || FoldedCase(rows->Table().Name(row)).find(wanted) != std::string::npos;
    });
    if (rows == nullptr) return;
    std::size_t differing = 0;
    Grid1.SetRows(MarkedColumns(*rows, comparing ? Grid1.ShownRows() : std::vector<std::size_t>{}, &differing), rows);
    std::string count = Count(rows->Table().Kind(), rows->RowCount(), Grid1.RowCount());
    if (comparing) {
        count += differing == 0 ? "; no value differs"
                                : "; " + IntToStr(static_cast<std::int32_t>(differing)) +
                                      (differing == 1 ? " column differs" : " columns differ");
    }
    Label62.SetCaption(count);
    DrawFleetChart();  // the chart shows the rows the grid shows
}

void TForm1::CheckBox7Click() {
    FleetCompared.clear();
    if (CheckBox7.Checked()) {
        const std::vector<std::size_t> selected = Grid1.SelectedRows();
        if (selected.empty()) {
            ShowStatus("Select the rows to compare first, then tick Show selected only");
            CheckBox7.SetChecked(false);
            return;
        }
        FleetCompared.assign(FleetRows ? FleetRows->RowCount() : 0, false);
        for (const std::size_t row : selected) FleetCompared.at(row) = true;
    }
    FilterFleet();
}

void TForm1::ComboBox8Change() {
    CheckBox7.SetChecked(false);
    ShowFleet();
}

void TForm1::Edit50Change() { FilterFleet(); }

void TForm1::CheckBox5Click() { FilterFleet(); }

}  // namespace tovarin
