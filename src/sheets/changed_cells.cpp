#include "sheets/changed_cells.h"

#include <algorithm>

namespace tovarin {

Sheet ChangedCells(const Sheet& before, const Sheet& now, std::vector<std::string>& leftOut) {
    Sheet changed(1, now.at(0));
    std::vector<bool> kept(now[0].size(), false);
    kept[0] = true;
    for (std::size_t r = 1; r < now.size(); ++r) {
        std::vector<std::string> row(now[r].size());
        row[0] = now[r][0];
        for (std::size_t c = 1; c < row.size(); ++c) {
            const std::string& was = before.at(r).at(c);
            if (was == now[r][c]) continue;
            if (was.empty() || now[r][c].empty()) {
                leftOut.push_back(now[r][0] + ", " + now[0][c]);
                continue;
            }
            row[c] = now[r][c];
            kept[c] = true;
        }
        if (std::any_of(row.begin() + 1, row.end(), [](const std::string& cell) { return !cell.empty(); })) {
            changed.push_back(std::move(row));
        }
    }
    for (std::vector<std::string>& row : changed) {
        std::vector<std::string> cells;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (kept[c]) cells.push_back(std::move(row[c]));
        }
        row = std::move(cells);
    }
    return changed;
}

}  // namespace tovarin
