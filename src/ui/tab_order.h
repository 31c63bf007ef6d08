#pragma once

#include <vector>

#include "ui/layout.h"

namespace tovarin {

// Whether a kind of control can hold the input focus (and so has a place in the Tab order).
[[nodiscard]] bool TakesFocus(ControlKind kind);

// The controls that take the focus, in the order the Tab key visits them: the children of each parent by
// their tab order (those without one after the rest, in layout order), the controls inside a container at the
// container's own place, the pages of a tab control in page order right after the tab control.
[[nodiscard]] std::vector<const LayoutRow*> TabOrder(const std::vector<LayoutRow>& rows);

}  // namespace tovarin
