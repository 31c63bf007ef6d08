#pragma once

#include <vector>

#include "ui/layout.h"

namespace tovarin {

// What the growth of a layout needs to know of the screen: its DPI (the layouts are designed at 96) and the height
// of a list's or memo's row in the font the window uses, in screen pixels.
struct LayoutMetrics {
    int Dpi = 96;
    int RowHeight = 13;  // the design face's line at 96 DPI
};

// A control's place relative to its parent's client area, in screen pixels.
struct PlacedRow {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Where every row of a layout stands (in the order of the rows) when its window's client area is `clientWidth`
// by `clientHeight` screen pixels and was designed `designWidth` by `designHeight` at 96 DPI. A client area
// smaller than designed counts as the designed one: that is the window's smallest size. Each row follows its
// parent's growth by its Growth; a list or memo is as high as its whole rows (inside its frame) fill.
[[nodiscard]] std::vector<PlacedRow> ArrangeLayout(const std::vector<LayoutRow>& rows, int designWidth,
                                                   int designHeight, int clientWidth, int clientHeight,
                                                   const LayoutMetrics& metrics);

// The frame a list or memo draws around its rows (two pixels on each side at any DPI).
inline constexpr int kListFrame = 4;

}  // namespace tovarin
