#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "app/form1.h"
#include "ships/booster_dialog.h"
#include "ui/booster_dialog_layout.h"
#include "ui/headless_platform.h"
#include "ui/main_window_layout.h"

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

const LayoutRow& RowOf(const std::vector<LayoutRow>& rows, std::string_view name) {
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const LayoutRow& r) { return r.Name == name; });
    if (row == rows.end()) throw std::out_of_range("no row " + std::string(name));
    return *row;
}

struct Window {
    const TForm& Form;
    const std::vector<LayoutRow>& Rows;
    int Width, Height;
    std::string_view CancelButton;   // the button the Esc key presses
    std::string_view HiddenAtStart;  // shown only when the program's state asks for it
};

struct LayoutTest : ::testing::Test {
    HeadlessPlatform platform{"/x/"};
    TForm1 form1{platform};
    TForm3 form3{platform, form1};
    const Window main{form1, MainWindowLayout(), kMainClientWidth, kMainClientHeight, "Exit", "GroupBox9"};
    const Window booster{form3, BoosterDialogLayout(), kBoosterClientWidth, kBoosterClientHeight, "Button1", "Label11"};
};

TEST_F(LayoutTest, EveryControlHasOneRowThatDescribesIt) {
    for (const Window& window : {main, booster}) {
        SCOPED_TRACE(window.Form.Caption());
        // The window's client area holds the top-level rows as a group without a caption would.
        const LayoutRow clientArea{"", ControlKind::GroupBox, "", 0, 0, window.Width, window.Height};
        std::map<std::string_view, const LayoutRow*> listed{{"", &clientArea}};
        for (const LayoutRow& row : window.Rows) {
            SCOPED_TRACE(std::string(row.Name));
            // A row for a control the form does not have would be silently skipped when the form is built.
            const TControl* control = window.Form.FindComponent(row.Name);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(std::type_index(typeid(*control)), kClassOfKind.at(row.Kind));
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
            // Drop-down lists open on twelve rows; the sub-missile list stands low on its page and opens on eight.
            EXPECT_EQ(row.DropDownRows, row.Kind != ControlKind::ComboBox ? 0 : row.Name == "ComboBox7" ? 8 : 12);
            EXPECT_EQ(row.Cancel, row.Name == window.CancelButton);
            EXPECT_EQ(control->Visible(), row.Name != window.HiddenAtStart);
            listed[row.Name] = &row;
        }
        for (const TControl* control : window.Form.Components()) {
            if (dynamic_cast<const TFileDialog*>(control) != nullptr) continue;  // dialogs are not drawn
            EXPECT_TRUE(listed.contains(control->Name())) << control->Name();
        }
    }
}

TEST_F(LayoutTest, SiblingsDoNotCoverEachOther) {
    for (const Window& window : {main, booster}) {
        SCOPED_TRACE(window.Form.Caption());
        for (auto a = window.Rows.begin(); a != window.Rows.end(); ++a) {
            // Rules are drawn across other controls' gaps, and the pages of the tab control share one place.
            if (a->Kind == ControlKind::Bevel || a->Kind == ControlKind::TabSheet) continue;
            for (auto b = a + 1; b != window.Rows.end(); ++b) {
                if (b->Kind == ControlKind::Bevel || b->Parent != a->Parent) continue;
                EXPECT_FALSE(a->Left < b->Left + b->Width && b->Left < a->Left + a->Width &&
                             a->Top < b->Top + b->Height && b->Top < a->Top + a->Height)
                    << a->Name << " and " << b->Name;
            }
        }
    }
}

TEST_F(LayoutTest, ControlsWithAGivenPlaceStandThere) {
    struct Case {
        std::string_view Name, Parent;
        int Place[4];  // left, top, width, height; -1: not fixed
    };
    // clang-format off
    const Case cases[] = {
        {"PageControl1", "", {8, 8, 449, 417}},          {"Button1", "", {8, 432, 105, 25}},
        {"Exit", "", {382, 432, 75, 25}},                {"ComboBox1", "TabSheet1", {288, 8, 145, -1}},
        {"Bevel1", "TabSheet1", {-1, 40, -1, -1}},       {"GroupBox1", "TabSheet1", {8, 48, 209, 169}},
        {"GroupBox2", "TabSheet1", {8, 224, 209, 161}},  {"GroupBox4", "TabSheet1", {224, 48, 209, 129}},
        {"GroupBox3", "TabSheet1", {224, 180, 209, 121}}, {"GroupBox5", "TabSheet1", {224, 302, 73, 41}},
        {"GroupBox6", "TabSheet1", {224, 343, 73, 41}},  {"Button2", "TabSheet1", {304, 308, 129, 34}},
        {"Button9", "TabSheet1", {304, 348, 129, -1}},   {"Button6", "TabSheet1", {304, 366, -1, 18}},
        {"Button5", "TabSheet1", {368, 366, 65, 18}},    {"ListBox3", "TabSheet2", {8, 64, 201, 145}},
        {"ListBox4", "TabSheet3", {8, 16, 160, 233}},    {"ListBox5", "TabSheet3", {272, 16, 160, 233}}};
    // clang-format on
    for (const Case& c : cases) {
        const LayoutRow& row = RowOf(main.Rows, c.Name);
        EXPECT_EQ(row.Parent, c.Parent) << c.Name;
        const int actual[] = {row.Left, row.Top, row.Width, row.Height};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.Place[i] < 0 ? -1 : actual[i], c.Place[i]) << c.Name << ": left, top, width, height " << i;
    }
}

TEST_F(LayoutTest, PagesAndNamedControlsShowTheirCaptions) {
    std::vector<std::string_view> pages;
    for (const LayoutRow& row : main.Rows) {
        if (row.Kind == ControlKind::TabSheet) pages.push_back(row.Caption);
    }
    EXPECT_EQ(pages, (std::vector<std::string_view>{"Ships", "Add/Remove Guns", "Ship Switcher", "Guns", "Missiles",
                                                    "About"}));
    // clang-format off
    const std::pair<std::string_view, std::string_view> mainCaptions[] = {
        {"Button1", "&Launch"}, {"Exit", "E&xit"}, {"GroupBox1", "Flight Dynamics"}, {"GroupBox2", "Armor/Shields"},
        {"GroupBox4", "Guns"}, {"GroupBox3", "Missiles"}, {"GroupBox5", "Decoys"}, {"GroupBox6", "Mass"},
        {"CheckBox1", "Autos&lide"}, {"CheckBox2", "&Booster"}, {"Button11", "Edit B&ooster"}, {"Label15", "Shields"},
        {"Label16", "Recharge rate (min/std/max):"}, {"Button3", "Change"}, {"Button4", "Change"},
        {"Button2", "&Save Modifications"}, {"Button9", "&Restore Defaults"}, {"Button6", "&Export..."},
        {"Button5", "&Import..."}, {"Button13", "&Copy"}, {"Button12", "&Delete"}, {"Button14", "&Save Modifications"},
        {"GroupBox7", "Info"}, {"Button10", "< Swap >"}, {"GroupBox8", "Info"}, {"Label8", "Select &a gun to edit:"},
        {"Button7", "Save Modifications"}, {"Label21", "Select &a missile to edit:"}, {"CheckBox3", "&Split up"},
        {"GroupBox9", ""}, {"Button8", "Save Modifications"}, {"GroupBox10", "Flags"},
        {"Flag1", "damages components"}, {"Flag2", "damages turrets"}, {"Flag3", "cannot lock on childobjects"},
        {"Flag4", "target must stay in view cone"}, {"Flag5", "attack enemies only"},
        {"Flag6", "lock on childobjects only"}, {"Flag7", "only lock on Corvane"}, {"Flag8", "rear firing"},
        {"Flag9", "use lock range"}, {"Flag10", "acquire new target"}, {"Flag11", "rear aspect"},
        {"Flag12", "requires target"}, {"Button15", "Restore &Original Files..."}};
    // clang-format on
    for (const auto& [name, caption] : mainCaptions) EXPECT_EQ(RowOf(main.Rows, name).Caption, caption) << name;
    EXPECT_EQ(form3.Button1.Caption(), "OK");  // the form takes its captions from the layout
    EXPECT_EQ(RowOf(booster.Rows, "Label10").Caption,
              "* These values are used while the booster is attached but not in use. Once the booster is used up, "
              "the values from the main dialog are used.");
}

TEST_F(LayoutTest, TabOrdersRunAsTheEditorsExpect) {
    // clang-format off
    const std::pair<const Window*, std::vector<std::string_view>> orders[] = {
        {&main, {"Edit30", "Edit31", "Edit34", "Edit32", "Edit33", "Button7", "ComboBox4"}},
        {&main, {"Edit42", "Edit37", "Edit38", "Edit39", "Edit36", "Edit35", "Edit46", "Edit40", "Edit43", "Edit41",
                 "Edit47", "CheckBox3", "GroupBox9", "Button8", "ComboBox5", "GroupBox10"}},
        {&main, {"Edit48", "Edit49", "ComboBox7"}},
        {&booster, {"Edit2", "Edit4", "Edit5", "Edit6", "Edit10", "Edit1", "Edit3", "Edit7", "Edit8", "Edit9",
                    "Edit11", "Edit12", "Button1"}}};
    // clang-format on
    for (const auto& [window, order] : orders) {
        for (std::size_t i = 0; i < order.size(); ++i) {
            const LayoutRow& row = RowOf(window->Rows, order[i]);
            EXPECT_EQ(row.TabOrder, static_cast<int>(i)) << order[i];
            EXPECT_EQ(row.Parent, RowOf(window->Rows, order.front()).Parent) << order[i];
        }
    }
}

}  // namespace
}  // namespace tovarin
