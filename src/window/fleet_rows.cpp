#include "window/fleet_rows.h"

namespace tovarin {

std::vector<GridColumn> FleetGridRows::Columns() const {
    std::vector<GridColumn> columns;
    for (const FleetColumn& column : table_.Columns()) columns.push_back({column.Label, column.Key, column.Numeric});
    return columns;
}

std::string FleetGridRows::Tip(std::size_t row, std::size_t column) const {
    return OriginText(table_.Origin(row, column), kOriginArrow);
}

}  // namespace tovarin
