#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "mods/mod_installation.h"
#include "mods/value_origin.h"

// The fleet as one table per sheet: a row per ship (or gun, or missile) in the catalogue's order, a column per value
// the sheet's export writes, each value as the files hold it now beside its kept original, and where it came from.
// What the window's Fleet page shows and what its charts and edits work on.
namespace tovarin {

struct FleetColumn {
    std::string Key;    // as the sheet's header names it ("speedmax"); "ship", "gun" or "missile" for the name
    std::string Label;  // as the editor's tab labels it ("Speed Max")
    bool Numeric = false;
};

class FleetTable {
public:
    // The sheet's rows of the installation as it is now. Refused as the installation refuses it (a ship or table
    // that cannot be read, naming the file).
    FleetTable(const ModInstallation& game, SheetKind kind);

    [[nodiscard]] SheetKind Kind() const { return kind_; }
    // The name, for ships the file that holds the ship's data, then the sheet's keys in the export's order.
    [[nodiscard]] const std::vector<FleetColumn>& Columns() const { return columns_; }
    // Columns before the sheet's keys: the name, and for ships the file.
    [[nodiscard]] std::size_t LeadingColumns() const { return leading_; }
    [[nodiscard]] std::size_t RowCount() const { return now_.size(); }
    // The row's name as the catalogue lists it.
    [[nodiscard]] const std::string& Name(std::size_t row) const { return now_[row][0]; }

    // The value as the files hold it now, as the export writes it ("" where the row has none: a mount the ship lacks,
    // a record that cannot be read).
    [[nodiscard]] const std::string& Value(std::size_t row, std::size_t column) const { return now_[row][column]; }
    // The value as the kept original holds it.
    [[nodiscard]] const std::string& Original(std::size_t row, std::size_t column) const {
        return original_[row][column];
    }
    [[nodiscard]] bool Changed(std::size_t row, std::size_t column) const {
        return now_[row][column] != original_[row][column];
    }
    [[nodiscard]] bool RowChanged(std::size_t row) const;

    // Where the value came from; empty for the name and file columns.
    [[nodiscard]] std::vector<OriginStep> Origin(std::size_t row, std::size_t column) const;
    // Where the sheets keep the value, as the mods and "why" name it.
    [[nodiscard]] CellAddress Address(std::size_t row, std::size_t column) const;

private:
    SheetKind kind_;
    std::vector<FleetColumn> columns_;
    std::size_t leading_ = 1;
    std::vector<std::vector<std::string>> now_;
    std::vector<std::vector<std::string>> original_;
    ModInstallation::CellStates states_;
    std::vector<ModValues> switchedOn_;
};

}  // namespace tovarin
