#pragma once

#include <string>
#include <vector>

#include "ui/layout.h"

namespace tovarin {

// What a screen reader says for a control of a layout, as a person reads the window: a caption without its "&"
// (buttons, check boxes, groups), else the row's spoken name (a box under a column heading: "Speed Max"), else the
// label whose mnemonic reaches it, else the label standing left of it on its row, else the caption of the group
// that holds it ("Decoys"). A trailing colon is left out.
[[nodiscard]] std::string AccessibleName(const std::vector<LayoutRow>& rows, const LayoutRow& row);

// The caption of the group box holding the control, without its "&", or "" when it stands in no group: a screen
// reader says it after the name, so that a group reads as a group.
[[nodiscard]] std::string AccessibleGroup(const std::vector<LayoutRow>& rows, const LayoutRow& row);

}  // namespace tovarin
