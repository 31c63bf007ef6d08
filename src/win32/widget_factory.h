#pragma once

#include <windows.h>

#include "ui/controls.h"
#include "win32/dialog_fonts.h"
#include "win32/widget.h"

namespace tovarin {

// Creates the Win32 control that draws a widget, hidden, at its bounds in the window; nullptr for a tab page.
// A label without a size in its row is fitted to its caption (and its bounds updated).
[[nodiscard]] HWND CreateControlWindow(Widget& widget, HWND window, int id, const DialogFonts& fonts);

// Whether a widget is a label of one line that grows to show its whole caption, as the designer's labels do.
[[nodiscard]] bool SizesToCaption(const Widget& widget);
// Fits such a label's bounds (and its control, once created) to its caption in the font.
void FitLabel(Widget& widget, HFONT font);

// Sizes a drop-down list to its bounds' width, its opened list to the rows its layout names.
void SizeDropDown(HWND combo, const Widget& widget);

// Draws a bevel (an owner-drawn static) as its row says.
void DrawBevel(const DRAWITEMSTRUCT& item, const LayoutRow& row);

// Binds up-down arrows to their edit box: the arrows step the box's number within the model's range.
void BindUpDown(HWND arrows, HWND box, const TUpDown& model);

// Adds a page's tab to its tab control.
void AddTab(HWND tabControl, int index, const std::string& caption);

}  // namespace tovarin
