#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/layout.h"

namespace tovarin {

// One row of a layout as the window shows it: the model's control, the Win32 control drawing it, and what
// that control shows now, so that only changes are pushed to it.
struct Widget {
    const LayoutRow* Row = nullptr;
    TControl* Control = nullptr;  // the model's control (the form creates one for every static row too)
    Widget* Parent = nullptr;     // the container (tab page or group box), nullptr for the window itself
    HWND Handle = nullptr;        // nullptr for a tab page: its tab control draws it
    int PageIndex = -1;           // tab pages: their place among the tabs
    RECT Bounds{};                // in the window's client area, in screen pixels

    std::string ShownText;                // caption, or a memo's lines joined
    std::vector<std::string> ShownItems;  // lists and drop-down lists
    bool ShownAllSelected = false;        // edit boxes: the model's whole-text selection, once shown
    unsigned ShownPicture = 0;            // charts: the model's picture version last painted
};

}  // namespace tovarin
