#include <string>

#include "mods/fleet_table.h"
#include "window/fleet_rows.h"
#include "window/form1.h"

// The Fleet page's buttons: what they act on is what the player selected in the grid (every shown row when nothing
// is), and the focused cell's column when a value is focused. After each the page reads the files again.
namespace tovarin {

namespace {

// "the 2 selected ships", "all 8 shown guns".
std::string RowsInWords(SheetKind kind, std::size_t count, bool selected) {
    const char* item = kind == SheetKind::Ships ? "ship" : kind == SheetKind::Guns ? "gun" : "missile";
    return std::string(selected ? "the " : "all ") + std::to_string(count) + (selected ? " selected " : " shown ") +
           item + (count == 1 ? "" : "s");
}

}  // namespace

std::vector<std::size_t> TForm1::FleetRowsActedOn() const {
    std::vector<std::size_t> rows = Grid1.SelectedRows();
    return rows.empty() ? Grid1.ShownRows() : rows;
}

std::optional<std::size_t> TForm1::FleetValueColumn() const {
    const std::optional<GridCell> focused = Grid1.FocusedCell();
    if (!FleetRows || !focused || focused->Column < FleetRows->Table().LeadingColumns()) return std::nullopt;
    return focused->Column;
}

std::vector<CellAddress> TForm1::FleetCellsToReset() const {
    std::vector<CellAddress> cells;
    if (!FleetRows) return cells;
    const FleetTable& table = FleetRows->Table();
    const std::optional<std::size_t> focused = FleetValueColumn();
    for (const std::size_t row : FleetRowsActedOn()) {
        for (std::size_t column = table.LeadingColumns(); column < table.Columns().size(); ++column) {
            if ((!focused || column == *focused) && table.Changed(row, column)) {
                cells.push_back(table.Address(row, column));
            }
        }
    }
    return cells;
}

void TForm1::Grid1Select() {
    if (!FleetRows) return;
    const FleetTable& table = FleetRows->Table();
    const std::string rows = RowsInWords(table.Kind(), FleetRowsActedOn().size(), !Grid1.SelectedRows().empty());
    const std::optional<std::size_t> column = FleetValueColumn();
    if (column) {
        ShowStatus("Reset to Original and Change Many act on " + table.Columns()[*column].Label + " of " + rows);
    } else {
        ShowStatus("Reset to Original puts back every changed value of " + rows);
    }
}

void TForm1::Button23Click() {
    const std::vector<CellAddress> cells = FleetCellsToReset();
    if (cells.empty()) {
        ShowStatus("Nothing to reset: every value it would put back is its original already");
        return;
    }
    ResetToOriginal(cells);
    ShowFleet();
}

void TForm1::Button24Click() {
    const std::optional<std::size_t> column = FleetValueColumn();
    if (!column) {
        ShowStatus("Click a value in the column to change first");
        return;
    }
    const FleetTable& table = FleetRows->Table();
    ChangeManyAtOnce(table.Kind(), FleetRowsActedOn(), *column - table.LeadingColumns());
    ShowFleet();
}

void TForm1::Button25Click() {
    MakeModFromMyChanges();
    ShowFleet();
}

}  // namespace tovarin
