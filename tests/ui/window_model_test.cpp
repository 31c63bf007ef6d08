// The window model the front-ends draw: which changes fire events, the layouts, the tab order, the platform texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/booster_dialog_layout.h"
#include "ui/fleet_dialogs_layout.h"
#include "ui/headless_platform.h"
#include "ui/main_window_layout.h"
#include "ui/mnemonics.h"
#include "ui/platform_texts.h"
#include "ui/tab_order.h"
#include "ui/user_input.h"
#include "window/booster_dialog.h"
#include "window/fleet_dialogs.h"
#include "window/form1.h"

namespace tovarin {
namespace {

using namespace std::string_literals;
using Names = std::vector<std::string_view>;

// The handlers fill boxes and lists from code; they rely on which of those changes fire events and which do not,
// and on a replaced list item losing its selection. A drop-down list chooses when it closes on another item, not
// while the arrow keys move through its open list, nor when Esc closes it.
// Errors reach the player in the error box with a full stop; ending the program passes through.
TEST(Controls, OnlyARealChangeFiresAndTheDispatcherShowsErrors) {
    HeadlessPlatform platform{"/nowhere/"};
    TForm form{platform};
    TEdit box{form, "Box"};
    TComboBox list{form, "List"};
    TCheckBox check{form, "Check"};
    TButton button{form, "Button"};
    int fired = 0;
    box.OnChange = check.OnClick = list.OnChange = button.OnClick = [&] { ++fired; };
    box.SetText("0");  // the box starts with "0"
    check.SetChecked(false);
    list.Items() = {"a", "b"};
    list.SetItemIndex(1);
    EXPECT_EQ(fired, 0);
    box.SetText("12");
    check.SetChecked(true);
    UserInput::Choose(list, 0);
    list.SetItem(0, "c");  // the window deletes and inserts the item, so its selection goes
    EXPECT_EQ(list.ItemIndex(), -1);
    for (const bool keep : {false, true}) {
        UserInput::DropDown(list);
        UserInput::Highlight(list, 1);
        UserInput::CloseUp(list, keep);
        EXPECT_EQ(list.ItemIndex(), keep ? 1 : -1);
    }
    box.SetReadOnly(true);
    UserInput::Type(box, "5");
    EXPECT_EQ(box.Text(), "12") << "a read-only box takes no typing";
    button.SetEnabled(false);
    UserInput::Click(button);
    EXPECT_EQ(fired, 4) << "the four changes fire, a disabled button cannot be pressed";

    button.SetEnabled(true);
    button.OnClick = [] { throw ERangeError(); };
    UserInput::Click(button);
    button.OnClick = [&] { platform.Halt(0); };
    EXPECT_THROW(UserInput::Click(button), ProgramEnded);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].kind, HeadlessPlatform::Box::Kind::Error);
    EXPECT_EQ(platform.Boxes[0].text, "Range check error.");
}

bool Overlap(const LayoutRow& a, const LayoutRow& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

Names NamesOf(const std::vector<const LayoutRow*>& rows) {
    Names names;
    for (const LayoutRow* row : rows) names.push_back(row->Name);
    return names;
}

// The layouts are data a front-end draws as they stand; what makes them drawable is checked here rule by rule,
// not restated row by row.
TEST(Layout, EveryControlHasOneRowThatFitsItsParentAndEveryFocusableOneIsReachedByTabOnce) {
    HeadlessPlatform platform{"/x/"};
    TForm1 form1{platform};
    TForm3 form3{platform, form1};
    TBulkChangeDialog bulk{platform, form1, {}};
    TMakeModDialog makeMod{platform, form1};
    // clang-format off
    const struct { const TForm& Form; const std::vector<LayoutRow>& Rows; int Width, Height; } windows[] = {
        {form1, MainWindowLayout(), kMainClientWidth, kMainClientHeight},
        {form3, BoosterDialogLayout(), kBoosterClientWidth, kBoosterClientHeight},
        {bulk, BulkChangeDialogLayout(), kBulkChangeClientWidth, kBulkChangeClientHeight},
        {makeMod, MakeModDialogLayout(), kMakeModClientWidth, kMakeModClientHeight}};
    // clang-format on
    for (const auto& window : windows) {
        SCOPED_TRACE(window.Form.Caption());
        // The window's client area holds the top-level rows as a group without a caption would.
        const LayoutRow clientArea{"", ControlKind::GroupBox, "", 0, 0, window.Width, window.Height};
        std::map<std::string_view, const LayoutRow*> listed{{"", &clientArea}};
        std::set<std::pair<std::string_view, int>> tabOrders;
        std::multiset<std::string_view> focusable;
        for (const LayoutRow& row : window.Rows) {
            SCOPED_TRACE(std::string(row.Name));
            // A row for a control the form does not have would be silently skipped when the form is built.
            const TControl* control = window.Form.FindComponent(row.Name);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->Visible(), row.Visible);
            // The form takes captions and the edit boxes' texts from the layout.
            const auto* edit = dynamic_cast<const TEdit*>(control);
            const std::string shown = edit != nullptr ? edit->Text() : control->Caption();
            EXPECT_TRUE(row.Kind == ControlKind::Memo || shown == row.Caption) << shown;
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
            listed[row.Name] = &row;
        }
        EXPECT_EQ(std::ranges::count_if(window.Rows, &LayoutRow::Cancel), 1) << "one button answers Esc";
        for (const TControl* control : window.Form.Components()) {
            if (dynamic_cast<const TFileDialog*>(control) != nullptr) continue;  // dialogs are not drawn
            EXPECT_TRUE(listed.contains(control->Name())) << control->Name();
        }
        // Rules are drawn across other controls' gaps, the pages of the tab control share one place, and so do
        // controls shown only instead of each other.
        for (auto a = window.Rows.begin(); a != window.Rows.end(); ++a) {
            if (a->Kind == ControlKind::Bevel || a->Kind == ControlKind::TabSheet) continue;
            for (auto b = a + 1; b != window.Rows.end(); ++b) {
                EXPECT_TRUE(b->Kind == ControlKind::Bevel || b->Parent != a->Parent || TakeTurns(*a, *b) ||
                            !Overlap(*a, *b))
                    << a->Name << " and " << b->Name;
            }
        }
        const Names reached = NamesOf(TabOrder(window.Rows));
        EXPECT_EQ(std::multiset(reached.begin(), reached.end()), focusable);
    }
    // The main window's Tab runs from the tabs through the pages to the bottom row, left to right.
    const Names order = NamesOf(TabOrder(MainWindowLayout()));
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ(Names({order.front(), order.end()[-4], order.end()[-3], order.end()[-2], order.back()}),
              Names({"PageControl1", "Button1", "Undo", "Redo", "Exit"}));
}

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
    EXPECT_EQ(NamesOf(TabOrder(rows)),
              Names({"First", "Tabs", "OnPage1", "OnPage2", "Inner1", "Inner2", "Text", "Close", "Unordered"}));
}

// On every tab Tab runs from the chooser through the fields to the tab's own buttons (the Info text may follow them;
// the About page has no fields); and every button and check box a player sees there has a letter of its own ("&Save
// Modifications" the same one on every tab), so that Alt and the letter presses it rather than only moving the focus.
TEST(Layout, EveryTabRunsFromItsChooserToItsButtonsAndEachControlHasALetterOfItsOwn) {
    HeadlessPlatform platform{"/x/"};
    TForm1 form{platform};
    for (TControl* control : form.Components()) control->SetEnabled(true);
    form.GroupBox9.SetVisible(true);
    const Names choosers = {"ComboBox1", "ComboBox6", "ListBox4", "ComboBox4",
                            "ComboBox5", "ListBox6",  "Button15", "ComboBox8"};
    for (int page = 0; page < static_cast<int>(choosers.size()); ++page) {
        SCOPED_TRACE(page);
        form.PageControl1.SetActivePageIndex(page);
        Names order;
        bool buttons = false;  // the page's own buttons reached
        for (const LayoutRow* row : TabOrder(MainWindowLayout())) {
            if (row->Parent.empty() || !ShownAndEnabled(form, *form.FindComponent(row->Name))) continue;
            order.push_back(row->Name);
            buttons = buttons || (row->Kind == ControlKind::Button && row->Parent.starts_with("TabSheet"));
            EXPECT_TRUE(!buttons || row->Kind == ControlKind::Button || row->Kind == ControlKind::Memo) << row->Name;
        }
        EXPECT_EQ(order.front(), choosers[static_cast<std::size_t>(page)]);
        std::set<const TControl*> lettered;
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            const std::vector<TControl*> targets = MnemonicTargets(form, letter);
            EXPECT_LE(targets.size(), 1u) << letter;
            lettered.insert(targets.begin(), targets.end());
        }
        for (const TControl* control : form.Components()) {
            const bool pressed = dynamic_cast<const TButton*>(control) || dynamic_cast<const TCheckBox*>(control);
            EXPECT_TRUE(!pressed || !ShownAndEnabled(form, *control) || lettered.contains(control)) << control->Name();
        }
    }
    for (const TButton* save : {&form.Button2, &form.Button14, &form.Button7, &form.Button8}) {
        EXPECT_EQ(save->Caption(), "&Save Modifications");
    }
}

TEST(PlatformTexts, FiltersGetNulsAndSystemMessagesLoseTheirEnding) {
    EXPECT_EQ(NulSeparatedFilter("A|*.a|B|*.B"), "A\0*.a\0B\0*.B\0\0"s);
    EXPECT_EQ(NulSeparatedFilter(""), "\0\0"s);
    const std::pair<std::string, std::string> rows[] = {
        {"Access is denied. \r\n", "Access is denied"},
        {"Two lines.\r\nSecond line...\r\n\r\n", "Two lines.\r\nSecond line"},
        {"No ending", "No ending"},
        {" .\r\n", ""}};
    for (const auto& [given, shown] : rows) EXPECT_EQ(TrimSystemMessage(given), shown) << given;
}

}  // namespace
}  // namespace tovarin
