#pragma once

#include <vector>

#include "ui/layout.h"

// The Fleet page's dialogs: "Change Many at Once" with its preview, and "Make a Mod from My Changes".
namespace tovarin {

inline constexpr int kBulkChangeClientWidth = 420;
inline constexpr int kBulkChangeClientHeight = 300;
inline constexpr int kMakeModClientWidth = 340;
inline constexpr int kMakeModClientHeight = 170;

// Every control of the dialogs, a parent before its children.
[[nodiscard]] const std::vector<LayoutRow>& BulkChangeDialogLayout();
[[nodiscard]] const std::vector<LayoutRow>& MakeModDialogLayout();

}  // namespace tovarin
