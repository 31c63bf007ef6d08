#include "ui/main_window_layout.h"

namespace tovarin {

const std::vector<LayoutRow>& MainWindowLayout() {
    static const std::vector<LayoutRow> rows = {
        {"PageControl1", ControlKind::PageControl, "", 8, 8, 449, 417, "", 0},
        {"TabSheet1", ControlKind::TabSheet, "PageControl1", 0, 0, 0, 0, "Ships"},
        {"TabSheet2", ControlKind::TabSheet, "PageControl1", 0, 0, 0, 0, "Add/Remove Guns"},
        {"TabSheet3", ControlKind::TabSheet, "PageControl1", 0, 0, 0, 0, "Ship Switcher"},
        {"TabSheet4", ControlKind::TabSheet, "PageControl1", 0, 0, 0, 0, "Guns"},
        {"TabSheet5", ControlKind::TabSheet, "PageControl1", 0, 0, 0, 0, "Missiles"},
        {"TabSheet6", ControlKind::TabSheet, "PageControl1", 0, 0, 0, 0, "About"},
        {"Button1", ControlKind::Button, "", 8, 432, 105, 25, "&Launch", 1},
        {"Exit", ControlKind::Button, "", 382, 432, 75, 25, "E&xit", 2},
    };
    return rows;
}

}  // namespace tovarin
