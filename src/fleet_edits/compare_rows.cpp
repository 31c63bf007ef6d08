#include "fleet_edits/compare_rows.h"

#include <algorithm>

namespace tovarin {

std::vector<std::size_t> DifferingColumns(const std::vector<std::vector<std::string>>& rows) {
    std::size_t width = 0;
    for (const std::vector<std::string>& row : rows) width = std::max(width, row.size());
    const auto text = [](const std::vector<std::string>& row, std::size_t column) {
        return column < row.size() ? row[column] : std::string();
    };
    std::vector<std::size_t> differing;
    for (std::size_t column = 0; column < width && rows.size() > 1; ++column) {
        const std::string first = text(rows.front(), column);
        if (std::any_of(rows.begin() + 1, rows.end(), [&](const auto& row) { return text(row, column) != first; })) {
            differing.push_back(column);
        }
    }
    return differing;
}

}  // namespace tovarin
