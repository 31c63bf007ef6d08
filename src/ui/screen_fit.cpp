#include "ui/screen_fit.h"

#include <algorithm>

namespace tovarin {

namespace {

// One axis: the extent is at least the smallest one and at most the area's, and the start within the area.
void Fit(int& start, int& end, int areaStart, int areaEnd, int smallest) {
    const int extent = std::max(smallest, std::min(end - start, areaEnd - areaStart));
    start = std::max(areaStart, std::min(start, areaEnd - extent));
    end = start + extent;
}

}  // namespace

ScreenRect FitOnScreen(ScreenRect saved, const ScreenRect& workArea, int minWidth, int minHeight) {
    Fit(saved.Left, saved.Right, workArea.Left, workArea.Right, minWidth);
    Fit(saved.Top, saved.Bottom, workArea.Top, workArea.Bottom, minHeight);
    return saved;
}

}  // namespace tovarin
