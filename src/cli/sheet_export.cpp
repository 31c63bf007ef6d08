#include "cli/sheet_export.h"

#include <algorithm>

#include "cli/command_files.h"
#include "gamefiles/csv.h"
#include "gamefiles/text_encoding.h"

namespace tovarin::cli {

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

Sheet ExportedSheet(const CommandArguments& arguments, Console& console, Sheet now,
                    const std::function<Sheet()>& before) {
    if (!arguments.Changed) return now;
    std::vector<std::string> leftOut;
    Sheet changed = ChangedCells(before(), now, leftOut);
    for (const std::string& cell : leftOut) {
        console.Err << cell << " left out: a sheet cannot set or clear a value that one side lacks\n";
    }
    return changed;
}

void WriteSheet(const Console& console, const std::string& path, const Sheet& sheet) {
    WriteGivenFile(console, path, FileBytesOfText(WriteCsv(sheet)));
}

}  // namespace tovarin::cli
