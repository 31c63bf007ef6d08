#pragma once

#include <vector>

#include "ui/layout.h"

namespace tovarin {

inline constexpr int kBoosterClientWidth = 335;
inline constexpr int kBoosterClientHeight = 200;

// Every control of the "Edit Booster" dialog, a parent before its children.
[[nodiscard]] const std::vector<LayoutRow>& BoosterDialogLayout();

}  // namespace tovarin
