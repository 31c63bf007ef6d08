#pragma once

#include <string>

#include "win32/widget.h"

namespace tovarin {

// The text a Win32 control holds now, as the program's text (win32/wide_text.h: ProgramText).
[[nodiscard]] std::string WindowText(HWND control);

// Shows the model's state in one control: its caption, text, lines, items, selection or check. Only what
// differs is changed, so a box being typed in keeps its caret. The caller keeps the window from treating the
// notifications this causes as input.
void ShowControlState(Widget& widget);

// Shows a page of a tab control as the chosen one.
void ShowActivePage(HWND tabs, int page);

}  // namespace tovarin
