#pragma once

#include "charts/chart.h"

namespace tovarin::testkit {

// The Kestrel made faster (speedmax 600 to 700, hp 320), the Warden unchanged (400, 900): speedmax 400 to 700 and
// hp 200 to 1000 on the axes.
inline Chart TwoShipScatter() {
    Cells original;
    original[{SheetKind::Ships, 0, 0, "Kestrel", "speedmax"}] = "600";
    original[{SheetKind::Ships, 0, 1, "Kestrel", "hp"}] = "320";
    original[{SheetKind::Ships, 1, 0, "Warden", "speedmax"}] = "400";
    original[{SheetKind::Ships, 1, 1, "Warden", "hp"}] = "900";
    Cells now = original;
    now[{SheetKind::Ships, 0, 0, "Kestrel", "speedmax"}] = "700";
    return ShipScatter(now, original, "speedmax", "hp");
}

}  // namespace tovarin::testkit
