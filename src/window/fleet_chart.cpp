#include <algorithm>

#include "sheets/refusal.h"
#include "window/fleet_rows.h"
#include "window/form1.h"

// The Fleet page's chart: the rows the grid shows, drawn from two of its numeric columns (ships) or one (guns and
// missiles, and the guns' damage per second), with each changed value's original. The chart values are the same the
// command line's "chart" writes as SVG.
namespace tovarin {

namespace {

// What the axes offer: the table's numeric columns by key, and for guns their damage per second first.
std::vector<std::string> ChartableKeys(const FleetTable& table) {
    std::vector<std::string> keys;
    bool damage = false, refire = false;
    for (std::size_t column = table.LeadingColumns(); column < table.Columns().size(); ++column) {
        const FleetColumn& found = table.Columns()[column];
        if (!found.Numeric) continue;
        keys.push_back(found.Key);
        damage = damage || found.Key == "damage";
        refire = refire || found.Key == "refire delay (ms)";
    }
    if (table.Kind() == SheetKind::Guns && damage && refire) keys.insert(keys.begin(), kDamagePerSecond);
    return keys;
}

std::string LabelOf(const FleetTable& table, const std::string& key) {
    for (const FleetColumn& column : table.Columns()) {
        if (column.Key == key) return column.Label;
    }
    return key == kDamagePerSecond ? "Damage per second" : key;
}

// The list's chosen key kept when the list is filled again; else `preferred`, else the list's first.
void FillKeys(TComboBox& list, const FleetTable& table, const std::vector<std::string>& keys,
              const std::vector<std::string>& before, const std::string& preferred) {
    const std::string chosen = list.ItemIndex() >= 0 && static_cast<std::size_t>(list.ItemIndex()) < before.size()
                                   ? before[static_cast<std::size_t>(list.ItemIndex())]
                                   : preferred;
    std::vector<std::string> labels;
    for (const std::string& key : keys) labels.push_back(LabelOf(table, key));
    if (labels != list.Items()) list.Items() = labels;
    auto found = std::find(keys.begin(), keys.end(), chosen);
    if (found == keys.end()) found = std::find(keys.begin(), keys.end(), preferred);
    list.SetItemIndex(found == keys.end() ? (keys.empty() ? -1 : 0) : static_cast<int>(found - keys.begin()));
}

// The cells of the shown rows in the columns of these keys, now and as originally kept.
void ChartCells(const FleetTable& table, const TGrid& grid, const std::vector<std::string>& keys, Cells& now,
                Cells& original) {
    std::vector<std::size_t> columns;
    for (std::size_t column = table.LeadingColumns(); column < table.Columns().size(); ++column) {
        if (std::find(keys.begin(), keys.end(), table.Columns()[column].Key) != keys.end()) columns.push_back(column);
    }
    for (const std::size_t row : grid.ShownRows()) {
        for (const std::size_t column : columns) {
            const CellAddress address = table.Address(row, column);
            if (!table.Value(row, column).empty()) now.emplace(address, table.Value(row, column));
            if (!table.Original(row, column).empty()) original.emplace(address, table.Original(row, column));
        }
    }
}

}  // namespace

// Each counts the rows again, so that the count line says why nothing is charted only while nothing is.
void TForm1::CheckBox6Click() { FilterFleet(); }

void TForm1::ComboBox9Change() { FilterFleet(); }

void TForm1::ComboBox10Change() { FilterFleet(); }

void TForm1::DrawFleetChart() {
    const bool shown = CheckBox6.Checked();
    const FleetGridRows* rows = FleetRows.get();
    const bool ships = rows == nullptr || rows->Table().Kind() == SheetKind::Ships;
    Grid1.SetVisible(!shown);
    Chart1.SetVisible(shown);
    for (const char* name : {"Label64", "ComboBox10"}) FindComponent(name)->SetVisible(shown);
    for (const char* name : {"Label63", "ComboBox9"}) FindComponent(name)->SetVisible(shown && ships);
    if (!shown) return;
    if (rows == nullptr) return Chart1.Clear();
    const FleetTable& table = rows->Table();
    const std::vector<std::string> keys = ChartableKeys(table);
    const SheetKind kind = table.Kind();
    FillKeys(ComboBox9, table, keys, ChartKeys, "speedmax");
    FillKeys(ComboBox10, table, keys, ChartKeys, ships ? "hp" : keys.empty() ? "" : keys.front());
    ChartKeys = keys;
    if (ComboBox9.ItemIndex() < 0 || ComboBox10.ItemIndex() < 0) return Chart1.Clear();
    const std::string& x = keys[static_cast<std::size_t>(ComboBox9.ItemIndex())];
    const std::string& y = keys[static_cast<std::size_t>(ComboBox10.ItemIndex())];
    Cells now, original;
    const bool perSecond = y == kDamagePerSecond;
    ChartCells(table, Grid1,
               ships       ? std::vector{x, y}
               : perSecond ? std::vector<std::string>{"damage", "refire delay (ms)"}
                           : std::vector{y},
               now, original);
    try {
        Chart1.SetChart(ships ? ShipScatter(now, original, x, y) : WeaponBars(now, original, kind, y));
    } catch (const Refusal& refusal) {
        // Nothing to draw (every row filtered out): the count line says so.
        Chart1.Clear();
        Label62.SetCaption(std::string("Nothing to chart: ") + refusal.what());
        return;
    }
    // The row selected in the grid stays chosen on the chart.
    const std::vector<std::size_t> selected = Grid1.SelectedRows();
    const Chart& chart = Chart1.GetChart();
    for (std::size_t i = 0; !selected.empty() && i < std::max(chart.Marks.size(), chart.Bars.size()); ++i) {
        const std::size_t item = ships ? chart.Marks[i].Item : chart.Bars[i].Item;
        if (item == selected.front()) Chart1.SetSelected(static_cast<int>(i));
    }
}

void TForm1::Chart1Pick(int item) {
    const Chart& chart = Chart1.GetChart();
    const auto index = static_cast<std::size_t>(item);
    const std::size_t row = chart.Kind == ChartKind::Bars ? chart.Bars[index].Item : chart.Marks[index].Item;
    if (const std::optional<std::size_t> place = Grid1.ShownPlace(row)) {
        Grid1.Select({*place});
        Grid1.SetFocusedCell(GridCell{*place, 0});
    }
}

}  // namespace tovarin
