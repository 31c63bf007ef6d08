#pragma once

#include <windows.h>

#include <vector>

#include "ui/layout.h"

namespace tovarin {

// Whether the font selected into `dc` shows every caption of a layout whole in the room its control gives it at
// `dpi` (the layout is designed at 96): a label within its row (wrapped ones within its lines), a button's caption
// inside its edges, a check box's beside its box, a group box's title between its corners, all tabs side by side
// in their tab control, a read-only field's text inside its frame; and a number box's digits no wider than the
// design face's. Large bold captions have a font of their own.
[[nodiscard]] bool CaptionsFit(HDC dc, const std::vector<LayoutRow>& rows, int dpi);

}  // namespace tovarin
