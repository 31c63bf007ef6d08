#pragma once

#include <string>

#include "charts/chart.h"

// A chart written out: as an SVG picture (UTF-8, every text escaped; each ship or weapon a group of its class
// holding its marks and a title that names it and its values), or as a tab-separated table of the same values for
// scripts and screen readers.
namespace tovarin {

[[nodiscard]] std::string ChartSvg(const Chart& chart);

[[nodiscard]] std::string ChartTable(const Chart& chart);

}  // namespace tovarin
