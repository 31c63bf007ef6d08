#pragma once

#include <string>
#include <vector>

#include "mods/fleet_table.h"
#include "ui/grid.h"

// The Fleet page's table as the grid's rows: the values as the files hold them, each changed one marked, and each
// cell's tooltip the chain of where its value came from.
namespace tovarin {

class FleetGridRows : public GridSource {
public:
    explicit FleetGridRows(FleetTable table) : table_(std::move(table)) {}

    [[nodiscard]] const FleetTable& Table() const { return table_; }
    // The grid's columns: headed by the labels of the editor's tab, each with the sheet's key for its head's tooltip.
    [[nodiscard]] std::vector<GridColumn> Columns() const;

    [[nodiscard]] std::size_t RowCount() const override { return table_.RowCount(); }
    [[nodiscard]] const std::string& Value(std::size_t row, std::size_t column) const override {
        return table_.Value(row, column);
    }
    [[nodiscard]] bool Changed(std::size_t row, std::size_t column) const override {
        return table_.Changed(row, column);
    }
    // "600 original → 660 Speed Ten → 710 your change"
    [[nodiscard]] std::string Tip(std::size_t row, std::size_t column) const override;

private:
    FleetTable table_;
};

// The arrow between the steps of a tooltip's chain, in UTF-8 as the window's tooltips take their texts.
inline constexpr const char* kOriginArrow = "\xE2\x86\x92";

}  // namespace tovarin
