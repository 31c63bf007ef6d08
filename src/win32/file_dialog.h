#pragma once

#include <windows.h>

#include "ui/controls.h"

namespace tovarin {

// Shows the standard save dialog (for a TSaveDialog) or open dialog, set up from the model's title, filter,
// default extension, initial folder and options; true and the dialog's FileName set when the user confirmed.
[[nodiscard]] bool ExecuteFileDialog(TFileDialog& dialog, HWND owner);

}  // namespace tovarin
