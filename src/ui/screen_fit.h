#pragma once

namespace tovarin {

// A rectangle on the screen, in pixels: left and top inclusive, right and bottom exclusive.
struct ScreenRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Where a window remembered from the last run goes now: at least `minWidth` by `minHeight`, no larger than the
// work area of the monitor nearest to it (where that is at least the smallest size), and wholly on that monitor, so
// that a window remembered on a monitor since unplugged, or at a larger size than the screen has now, is pulled
// back where the player sees it and can grab its title bar.
[[nodiscard]] ScreenRect FitOnScreen(ScreenRect saved, const ScreenRect& workArea, int minWidth, int minHeight);

}  // namespace tovarin
