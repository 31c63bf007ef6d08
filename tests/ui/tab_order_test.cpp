#include "ui/tab_order.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ui/booster_dialog_layout.h"
#include "ui/main_window_layout.h"

namespace tovarin {
namespace {

std::vector<std::string_view> Names(const std::vector<const LayoutRow*>& order) {
    std::vector<std::string_view> names;
    for (const LayoutRow* row : order) names.push_back(row->Name);
    return names;
}

TEST(TabOrderTest, SiblingsFollowTheirTabOrderNotTheirRowOrder) {
    const std::vector<LayoutRow> rows = {
        {"Second", ControlKind::Edit, "", 0, 0, 10, 10, "", 1},
        {"Unordered", ControlKind::Button, "", 0, 0, 10, 10, "", -1},
        {"First", ControlKind::Edit, "", 0, 0, 10, 10, "", 0},
        {"Third", ControlKind::CheckBox, "", 0, 0, 10, 10, "", 2},
    };
    EXPECT_EQ(Names(TabOrder(rows)), (std::vector<std::string_view>{"First", "Second", "Third", "Unordered"}));
}

TEST(TabOrderTest, AContainersControlsComeAtTheContainersPlace) {
    const std::vector<LayoutRow> rows = {
        {"Before", ControlKind::Button, "", 0, 0, 10, 10, "", 0},
        {"After", ControlKind::Button, "", 0, 0, 10, 10, "", 2},
        {"Group", ControlKind::GroupBox, "", 0, 0, 10, 10, "", 1},
        {"Inner2", ControlKind::Edit, "Group", 0, 0, 10, 10, "", 1},
        {"Inner1", ControlKind::ListBox, "Group", 0, 0, 10, 10, "", 0},
    };
    EXPECT_EQ(Names(TabOrder(rows)), (std::vector<std::string_view>{"Before", "Inner1", "Inner2", "After"}));
}

TEST(TabOrderTest, PagesFollowTheTabControlInPageOrder) {
    const std::vector<LayoutRow> rows = {
        {"Tabs", ControlKind::PageControl, "", 0, 0, 10, 10, "", 0},
        {"Page1", ControlKind::TabSheet, "Tabs", 0, 0, 0, 0, "One"},
        {"Page2", ControlKind::TabSheet, "Tabs", 0, 0, 0, 0, "Two"},
        {"OnPage2", ControlKind::Edit, "Page2", 0, 0, 10, 10, "", 0},
        {"OnPage1", ControlKind::ComboBox, "Page1", 0, 0, 10, 10, "", 0},
        {"Close", ControlKind::Button, "", 0, 0, 10, 10, "", 1},
    };
    EXPECT_EQ(Names(TabOrder(rows)), (std::vector<std::string_view>{"Tabs", "OnPage1", "OnPage2", "Close"}));
}

TEST(TabOrderTest, LabelsGroupsBevelsAndArrowsTakeNoFocus) {
    const std::vector<LayoutRow> rows = {
        {"Caption", ControlKind::Label, "", 0, 0, 10, 10, "&Name:", 0},
        {"Rule", ControlKind::Bevel, "", 0, 0, 10, 2},
        {"Box", ControlKind::Edit, "", 0, 0, 10, 10, "0", 1},
        {"Arrows", ControlKind::UpDown, "", 0, 0, 10, 10, "", 2},
        {"Text", ControlKind::Memo, "", 0, 0, 10, 10, "", 3},
    };
    EXPECT_EQ(Names(TabOrder(rows)), (std::vector<std::string_view>{"Box", "Text"}));
}

// Every control a person can focus is reached by Tab exactly once, in both windows of the program.
TEST(TabOrderTest, TheProgramsWindowsReachEveryFocusableControlOnce) {
    for (const auto* layout : {&MainWindowLayout(), &BoosterDialogLayout()}) {
        std::set<std::string_view> expected;
        for (const LayoutRow& row : *layout) {
            if (TakesFocus(row.Kind)) expected.insert(row.Name);
        }
        const std::vector<std::string_view> order = Names(TabOrder(*layout));
        EXPECT_EQ(std::set<std::string_view>(order.begin(), order.end()), expected);
        EXPECT_EQ(order.size(), expected.size());
    }
}

TEST(TabOrderTest, TheMainWindowStartsWithTheTabsAndEndsWithLaunchAndExit) {
    const std::vector<std::string_view> order = Names(TabOrder(MainWindowLayout()));
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order.front(), "PageControl1");
    EXPECT_EQ(order[order.size() - 2], "Button1");
    EXPECT_EQ(order.back(), "Exit");
}

}  // namespace
}  // namespace tovarin
