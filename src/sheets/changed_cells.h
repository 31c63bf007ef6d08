#pragma once

#include <string>
#include <vector>

// The cells that differ between two sheets of the same rows and columns: what "export --changed" writes and what a
// mod made of one's own changes holds. That relies on the import's rule that an empty cell or a missing column
// keeps the value.
namespace tovarin {

// Rows of cells, the header first and each row's name in its first column.
using Sheet = std::vector<std::vector<std::string>>;

// `now` less what it shares with `before`, a sheet of the same rows and columns: each cell that differs keeps its
// value in `now`, the others are empty, and rows and columns left without a value go. A cell that is empty on
// either side (a mount the ship lacks there, a record that cannot be read) is one the import cannot set or clear:
// it is left out and named in `leftOut` ("Kestrel, gun5").
[[nodiscard]] Sheet ChangedCells(const Sheet& before, const Sheet& now, std::vector<std::string>& leftOut);

}  // namespace tovarin
