#pragma once

#include <vector>

#include "ui/layout.h"

namespace tovarin {

inline constexpr int kMainClientWidth = 464;
inline constexpr int kMainClientHeight = 481;

// Every control of the main window: the tab control with its six pages and all their controls, "&Launch" and
// "E&xit", in creation order (a parent before its children).
[[nodiscard]] const std::vector<LayoutRow>& MainWindowLayout();

}  // namespace tovarin
