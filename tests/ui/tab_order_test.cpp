#include "ui/tab_order.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace tovarin {
namespace {

// Siblings follow their tab order, not their rows, and those without one come last; a container's controls come
// at the container's place, the pages' after the tab control in page order; labels, groups, rules and arrows
// take no focus.
TEST(TabOrder, FollowsTheOrderOfEachContainerDepthFirst) {
    using enum ControlKind;
    // clang-format off
    const std::vector<LayoutRow> rows = {
        {"Tabs", PageControl, "", 0, 0, 9, 9, "", 1},     {"Page1", TabSheet, "Tabs", 0, 0, 9, 9, "One"},
        {"Page2", TabSheet, "Tabs", 0, 0, 9, 9, "Two"},   {"OnPage2", Edit, "Page2", 0, 0, 9, 9, "", 0},
        {"OnPage1", ComboBox, "Page1", 0, 0, 9, 9, "", 0}, {"Close", Button, "", 0, 0, 9, 9, "", 3},
        {"Unordered", Button, "", 0, 0, 9, 9, "", -1},    {"Group", GroupBox, "", 0, 0, 9, 9, "", 2},
        {"Inner2", Edit, "Group", 0, 0, 9, 9, "", 1},     {"Inner1", ListBox, "Group", 0, 0, 9, 9, "", 0},
        {"Arrows", UpDown, "Group", 0, 0, 9, 9, "", 2},   {"Text", Memo, "Group", 0, 0, 9, 9, "", 3},
        {"First", CheckBox, "", 0, 0, 9, 9, "", 0},       {"Caption", Label, "", 0, 0, 9, 9, "&Name:"},
        {"Rule", Bevel, "", 0, 0, 9, 2}};
    // clang-format on
    std::vector<std::string_view> names;
    for (const LayoutRow* row : TabOrder(rows)) names.push_back(row->Name);
    EXPECT_EQ(names, (std::vector<std::string_view>{"First", "Tabs", "OnPage1", "OnPage2", "Inner1", "Inner2", "Text",
                                                    "Close", "Unordered"}));
}

}  // namespace
}  // namespace tovarin
