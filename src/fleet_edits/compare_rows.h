#pragma once

#include <cstddef>
#include <string>
#include <vector>

// "Show selected only" on the Fleet page: the chosen rows side by side, with the columns in which they differ
// marked, so that two ships are compared at a glance.
namespace tovarin {

// The places of the columns in which the rows' texts are not all the same. An empty text (a part or mount one
// ship lacks) differs from any value; a row shorter than the others lacks the columns beyond its end. Fewer than
// two rows differ nowhere.
[[nodiscard]] std::vector<std::size_t> DifferingColumns(const std::vector<std::vector<std::string>>& rows);

}  // namespace tovarin
