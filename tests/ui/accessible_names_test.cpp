// What a screen reader says for each control of the windows.
#include "ui/accessible_names.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/booster_dialog_layout.h"
#include "ui/fleet_dialogs_layout.h"
#include "ui/main_window_layout.h"
#include "ui/tab_order.h"

namespace tovarin {
namespace {

const LayoutRow& Row(const std::vector<LayoutRow>& rows, std::string_view name) {
    for (const LayoutRow& row : rows) {
        if (row.Name == name) return row;
    }
    throw std::out_of_range(std::string(name));
}

// Every control that takes the focus has a name of its own within its group, never its control's name; a box
// is named by its label and column, by the label whose letter reaches it, by the label on its row or by its group.
TEST(AccessibleNames, EveryFocusableControlSaysWhatItIsAndInWhichGroup) {
    const std::vector<LayoutRow>& main = MainWindowLayout();
    const struct {
        std::string_view Control, Name, Group;
    } expected[] = {{"Edit15", "Speed Max", "Flight Dynamics"}, {"Edit4", "Acceleration", "Flight Dynamics"},
                    {"Edit28", "Ammunition", "Guns"},           {"Edit14", "Decoys", "Decoys"},
                    {"ComboBox1", "Select a ship to edit", ""}, {"ListBox4", "Ship to be replaced", ""},
                    {"Button2", "Save Modifications", ""},      {"CheckBox1", "Autoslide", "Flight Dynamics"},
                    {"Memo3", "Conflicts", "Conflicts"}};
    for (const auto& row : expected) {
        SCOPED_TRACE(std::string(row.Control));
        EXPECT_EQ(AccessibleName(main, Row(main, row.Control)), row.Name);
        EXPECT_EQ(AccessibleGroup(main, Row(main, row.Control)), row.Group);
    }
    for (const std::vector<LayoutRow>* rows :
         {&main, &BoosterDialogLayout(), &BulkChangeDialogLayout(), &MakeModDialogLayout()}) {
        std::set<std::string> named;
        for (const LayoutRow* row : TabOrder(*rows)) {
            SCOPED_TRACE(std::string(row->Name));
            const std::string name = AccessibleName(*rows, *row);
            EXPECT_TRUE(!name.empty() && (name != row->Name || !row->Caption.empty()));
            // Within a page and its group: the Ships, Guns and Missiles pages each have their own "Speed".
            std::string_view page = row->Parent;
            while (!page.empty() && Row(*rows, page).Kind != ControlKind::TabSheet) page = Row(*rows, page).Parent;
            const std::string where = std::string(page) + "/" + AccessibleGroup(*rows, *row) + "/";
            EXPECT_TRUE(named.insert(where + name).second) << "a second \"" << name << "\"";
        }
    }
}

}  // namespace
}  // namespace tovarin
