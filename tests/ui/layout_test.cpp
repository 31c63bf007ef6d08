#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "ships/booster_dialog.h"
#include "ui/booster_dialog_layout.h"
#include "ui/headless_platform.h"
#include "ui/main_window_layout.h"
#include "ui/tab_order.h"

// The layouts are data a front-end draws as they stand; what makes them drawable is checked here rule by rule,
// not restated row by row.
namespace tovarin {
namespace {

// The front-end draws each row as the widget of its kind, so the row's kind must be the control's class.
// clang-format off
const std::map<ControlKind, std::type_index> kClassOfKind = {
    {ControlKind::PageControl, typeid(TPageControl)}, {ControlKind::TabSheet, typeid(TTabSheet)},
    {ControlKind::GroupBox, typeid(TGroupBox)},       {ControlKind::Label, typeid(TLabel)},
    {ControlKind::Bevel, typeid(TBevel)},             {ControlKind::Edit, typeid(TEdit)},
    {ControlKind::ComboBox, typeid(TComboBox)},       {ControlKind::ListBox, typeid(TListBox)},
    {ControlKind::CheckBox, typeid(TCheckBox)},       {ControlKind::Button, typeid(TButton)},
    {ControlKind::UpDown, typeid(TUpDown)},           {ControlKind::Memo, typeid(TMemo)}};
// clang-format on

bool Overlap(const LayoutRow& a, const LayoutRow& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

TEST(Layout, EveryControlHasOneRowThatFitsItsParentAndEveryFocusableOneIsReachedByTabOnce) {
    HeadlessPlatform platform{"/x/"};
    TForm1 form1{platform};
    TForm3 form3{platform, form1};
    const struct {
        const TForm& Form;
        const std::vector<LayoutRow>& Rows;
        int Width, Height;
    } windows[] = {{form1, MainWindowLayout(), kMainClientWidth, kMainClientHeight},
                   {form3, BoosterDialogLayout(), kBoosterClientWidth, kBoosterClientHeight}};
    for (const auto& window : windows) {
        SCOPED_TRACE(window.Form.Caption());
        // The window's client area holds the top-level rows as a group without a caption would.
        const LayoutRow clientArea{"", ControlKind::GroupBox, "", 0, 0, window.Width, window.Height};
        std::map<std::string_view, const LayoutRow*> listed{{"", &clientArea}};
        std::set<std::pair<std::string_view, int>> tabOrders;
        std::set<std::string_view> focusable;
        int escButtons = 0;
        for (const LayoutRow& row : window.Rows) {
            SCOPED_TRACE(std::string(row.Name));
            // A row for a control the form does not have would be silently skipped when the form is built.
            const TControl* control = window.Form.FindComponent(row.Name);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(std::type_index(typeid(*control)), kClassOfKind.at(row.Kind));
            EXPECT_EQ(control->Visible(), row.Visible);
            // The form takes captions and the edit boxes' texts from the layout.
            if (row.Kind != ControlKind::Memo) {
                const auto* edit = dynamic_cast<const TEdit*>(control);
                EXPECT_EQ(edit != nullptr ? edit->Text() : control->Caption(), row.Caption);
            }
            EXPECT_FALSE(listed.contains(row.Name)) << "a second row";
            ASSERT_TRUE(listed.contains(row.Parent)) << "parent " << row.Parent;
            const LayoutRow& parent = *listed[row.Parent];
            EXPECT_TRUE(parent.Kind == ControlKind::PageControl || parent.Kind == ControlKind::TabSheet ||
                        parent.Kind == ControlKind::GroupBox);
            // A tab control holds its pages and nothing else; a page stands in nothing but the tab control.
            EXPECT_EQ(parent.Kind == ControlKind::PageControl, row.Kind == ControlKind::TabSheet);
            // A group's caption runs along its top edge; nothing may cover it.
            const int minTop = parent.Kind == ControlKind::GroupBox && !parent.Caption.empty() ? 14 : 0;
            EXPECT_TRUE(row.Width > 0 && row.Height > 0 && row.Left >= 0 && row.Top >= minTop &&
                        row.Left + row.Width <= parent.Width && row.Top + row.Height <= parent.Height);
            EXPECT_TRUE(row.TabOrder < 0 || tabOrders.emplace(row.Parent, row.TabOrder).second) << "tab order";
            if (TakesFocus(row.Kind)) focusable.insert(row.Name);
            escButtons += row.Cancel ? 1 : 0;
            listed[row.Name] = &row;
        }
        EXPECT_EQ(escButtons, 1);
        for (const TControl* control : window.Form.Components()) {
            if (dynamic_cast<const TFileDialog*>(control) != nullptr) continue;  // dialogs are not drawn
            EXPECT_TRUE(listed.contains(control->Name())) << control->Name();
        }
        // Rules are drawn across other controls' gaps, and the pages of the tab control share one place.
        for (auto a = window.Rows.begin(); a != window.Rows.end(); ++a) {
            if (a->Kind == ControlKind::Bevel || a->Kind == ControlKind::TabSheet) continue;
            for (auto b = a + 1; b != window.Rows.end(); ++b) {
                EXPECT_TRUE(b->Kind == ControlKind::Bevel || b->Parent != a->Parent || !Overlap(*a, *b))
                    << a->Name << " and " << b->Name;
            }
        }
        std::multiset<std::string_view> reached;
        for (const LayoutRow* row : TabOrder(window.Rows)) reached.insert(row->Name);
        EXPECT_EQ(reached, std::multiset<std::string_view>(focusable.begin(), focusable.end()));
    }
    // The main window's Tab runs from the tabs through the pages to Launch and Exit.
    const std::vector<const LayoutRow*> order = TabOrder(MainWindowLayout());
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order.front()->Name, "PageControl1");
    EXPECT_EQ(order[order.size() - 2]->Name, "Button1");
    EXPECT_EQ(order.back()->Name, "Exit");
}

}  // namespace
}  // namespace tovarin
