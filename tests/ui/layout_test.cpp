#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "ships/booster_dialog.h"
#include "ui/booster_dialog_layout.h"
#include "ui/headless_platform.h"
#include "ui/main_window_layout.h"

namespace tovarin {
namespace {

enum class Window { Main, Booster };

const char* WindowName(Window window) { return window == Window::Main ? "main window" : "booster dialog"; }

const std::vector<LayoutRow>& LayoutOf(Window window) {
    return window == Window::Main ? MainWindowLayout() : BoosterDialogLayout();
}

const LayoutRow* FindRow(Window window, std::string_view name) {
    for (const LayoutRow& row : LayoutOf(window)) {
        if (row.Name == name) return &row;
    }
    return nullptr;
}

bool IsContainer(ControlKind kind) {
    return kind == ControlKind::PageControl || kind == ControlKind::TabSheet || kind == ControlKind::GroupBox;
}

bool TakesFocus(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::Bevel:
        case ControlKind::UpDown:
        case ControlKind::TabSheet:
            return false;
        default:
            return true;
    }
}

bool IsOfKind(const TControl& control, ControlKind kind) {
    switch (kind) {
        case ControlKind::PageControl:
            return dynamic_cast<const TPageControl*>(&control) != nullptr;
        case ControlKind::TabSheet:
            return dynamic_cast<const TTabSheet*>(&control) != nullptr;
        case ControlKind::GroupBox:
            return dynamic_cast<const TGroupBox*>(&control) != nullptr;
        case ControlKind::Label:
            return dynamic_cast<const TLabel*>(&control) != nullptr;
        case ControlKind::Bevel:
            return dynamic_cast<const TBevel*>(&control) != nullptr;
        case ControlKind::Edit:
            return dynamic_cast<const TEdit*>(&control) != nullptr;
        case ControlKind::ComboBox:
            return dynamic_cast<const TComboBox*>(&control) != nullptr;
        case ControlKind::ListBox:
            return dynamic_cast<const TListBox*>(&control) != nullptr;
        case ControlKind::CheckBox:
            return dynamic_cast<const TCheckBox*>(&control) != nullptr;
        case ControlKind::Button:
            return dynamic_cast<const TButton*>(&control) != nullptr;
        case ControlKind::UpDown:
            return dynamic_cast<const TUpDown*>(&control) != nullptr;
        case ControlKind::Memo:
            return dynamic_cast<const TMemo*>(&control) != nullptr;
    }
    return false;
}

bool Overlap(const LayoutRow& a, const LayoutRow& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

struct LayoutTest : ::testing::Test {
    HeadlessPlatform platform{"/x/"};
    TForm1 form1{platform};
    TForm3 form3{platform, form1};

    const TForm& FormOf(Window window) const {
        return window == Window::Main ? static_cast<const TForm&>(form1) : static_cast<const TForm&>(form3);
    }
    TControl& Control(Window window, std::string_view name) const {
        TControl* control = FormOf(window).FindComponent(name);
        if (control == nullptr) throw std::runtime_error("no control " + std::string(name));
        return *control;
    }
};

constexpr Window kWindows[] = {Window::Main, Window::Booster};

TEST_F(LayoutTest, EveryControlHasExactlyOneRowOfItsKind) {
    for (Window window : kWindows) {
        SCOPED_TRACE(WindowName(window));
        for (const TControl* control : FormOf(window).Components()) {
            if (dynamic_cast<const TFileDialog*>(control) != nullptr) continue;  // dialogs are not drawn
            SCOPED_TRACE(control->Name());
            const auto& layout = LayoutOf(window);
            EXPECT_EQ(std::count_if(layout.begin(), layout.end(),
                                    [&](const LayoutRow& row) { return row.Name == control->Name(); }),
                      1);
        }
        // A row for a control the form does not have would be silently skipped when the form is built.
        for (const LayoutRow& row : LayoutOf(window)) {
            SCOPED_TRACE(std::string(row.Name));
            const TControl* control = FormOf(window).FindComponent(row.Name);
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(IsOfKind(*control, row.Kind));
        }
    }
}

TEST_F(LayoutTest, EveryParentIsAContainerListedBeforeItsChildren) {
    for (Window window : kWindows) {
        SCOPED_TRACE(WindowName(window));
        std::map<std::string_view, ControlKind> seen;
        for (const LayoutRow& row : LayoutOf(window)) {
            SCOPED_TRACE(std::string(row.Name));
            if (!row.Parent.empty()) {
                ASSERT_TRUE(seen.contains(row.Parent)) << "parent " << row.Parent;
                const ControlKind parentKind = seen[row.Parent];
                EXPECT_TRUE(IsContainer(parentKind));
                // A tab control holds its pages and nothing else; a page stands in nothing but the tab control.
                EXPECT_EQ(parentKind == ControlKind::PageControl, row.Kind == ControlKind::TabSheet);
            }
            seen[row.Name] = row.Kind;
        }
    }
}

TEST_F(LayoutTest, EveryRowLiesWithinItsParentsClientArea) {
    const std::map<Window, std::pair<int, int>> clientAreas = {
        {Window::Main, {kMainClientWidth, kMainClientHeight}},
        {Window::Booster, {kBoosterClientWidth, kBoosterClientHeight}}};
    for (Window window : kWindows) {
        SCOPED_TRACE(WindowName(window));
        for (const LayoutRow& row : LayoutOf(window)) {
            SCOPED_TRACE(std::string(row.Name));
            auto [width, height] = clientAreas.at(window);
            int minTop = 0;
            if (const LayoutRow* parent = FindRow(window, row.Parent)) {
                width = parent->Width;
                height = parent->Height;
                // A group's caption runs along its top edge; nothing may cover it.
                if (parent->Kind == ControlKind::GroupBox && !parent->Caption.empty()) minTop = 14;
            }
            EXPECT_GT(row.Width, 0);
            EXPECT_GT(row.Height, 0);
            EXPECT_GE(row.Left, 0);
            EXPECT_GE(row.Top, minTop);
            EXPECT_LE(row.Left + row.Width, width);
            EXPECT_LE(row.Top + row.Height, height);
        }
    }
}

TEST_F(LayoutTest, SiblingsDoNotCoverEachOther) {
    for (Window window : kWindows) {
        SCOPED_TRACE(WindowName(window));
        const auto& layout = LayoutOf(window);
        for (auto a = layout.begin(); a != layout.end(); ++a) {
            // Rules are drawn across other controls' gaps, and the pages of the tab control share one place.
            if (a->Kind == ControlKind::Bevel || a->Kind == ControlKind::TabSheet) continue;
            for (auto b = a + 1; b != layout.end(); ++b) {
                if (b->Kind == ControlKind::Bevel || b->Parent != a->Parent) continue;
                EXPECT_FALSE(Overlap(*a, *b)) << a->Name << " and " << b->Name;
            }
        }
    }
}

TEST_F(LayoutTest, ControlsWithAGivenPlaceStandThere) {
    struct Case {
        Window InWindow;
        std::string_view Name;
        std::string_view Parent;
        int Left, Top, Width, Height;  // -1: not fixed
    };
    const Case cases[] = {
        {Window::Main, "PageControl1", "", 8, 8, 449, 417},
        {Window::Main, "Button1", "", 8, 432, 105, 25},
        {Window::Main, "Exit", "", 382, 432, 75, 25},
        {Window::Main, "ComboBox1", "TabSheet1", 288, 8, 145, -1},
        {Window::Main, "Bevel1", "TabSheet1", -1, 40, -1, -1},
        {Window::Main, "GroupBox1", "TabSheet1", 8, 48, 209, 169},
        {Window::Main, "GroupBox2", "TabSheet1", 8, 224, 209, 161},
        {Window::Main, "GroupBox4", "TabSheet1", 224, 48, 209, 129},
        {Window::Main, "GroupBox3", "TabSheet1", 224, 180, 209, 121},
        {Window::Main, "GroupBox5", "TabSheet1", 224, 302, 73, 41},
        {Window::Main, "GroupBox6", "TabSheet1", 224, 343, 73, 41},
        {Window::Main, "Button2", "TabSheet1", 304, 308, 129, 34},
        {Window::Main, "Button9", "TabSheet1", 304, 348, 129, -1},
        {Window::Main, "Button6", "TabSheet1", 304, 366, -1, 18},
        {Window::Main, "Button5", "TabSheet1", 368, 366, 65, 18},
        {Window::Main, "ListBox3", "TabSheet2", 8, 64, 201, 145},
        {Window::Main, "ListBox4", "TabSheet3", 8, 16, 160, 233},
        {Window::Main, "ListBox5", "TabSheet3", 272, 16, 160, 233},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name));
        const LayoutRow* row = FindRow(c.InWindow, c.Name);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->Parent, c.Parent);
        if (c.Left >= 0) {
            EXPECT_EQ(row->Left, c.Left);
        }
        if (c.Top >= 0) {
            EXPECT_EQ(row->Top, c.Top);
        }
        if (c.Width >= 0) {
            EXPECT_EQ(row->Width, c.Width);
        }
        if (c.Height >= 0) {
            EXPECT_EQ(row->Height, c.Height);
        }
    }
    // The rule runs across the Ships page below the ship list.
    EXPECT_GE(FindRow(Window::Main, "Bevel1")->Width, 400);
    // The three small buttons fill the corner edge to edge, each beginning where its neighbour ends.
    const LayoutRow& restore = *FindRow(Window::Main, "Button9");
    const LayoutRow& exportButton = *FindRow(Window::Main, "Button6");
    EXPECT_EQ(restore.Top + restore.Height, exportButton.Top);
    EXPECT_EQ(exportButton.Left + exportButton.Width, FindRow(Window::Main, "Button5")->Left);
}

TEST_F(LayoutTest, PagesStandInTheirOrder) {
    const std::string_view pages[] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4", "TabSheet5", "TabSheet6"};
    std::vector<std::string_view> listed;
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.Kind == ControlKind::TabSheet) listed.push_back(row.Name);
    }
    EXPECT_TRUE(std::equal(listed.begin(), listed.end(), std::begin(pages), std::end(pages)));
}

TEST_F(LayoutTest, ControlsShowTheirCaptions) {
    struct Case {
        Window InWindow;
        std::string_view Name;
        std::string_view Caption;
    };
    const Case cases[] = {
        {Window::Main, "TabSheet1", "Ships"},
        {Window::Main, "TabSheet2", "Add/Remove Guns"},
        {Window::Main, "TabSheet3", "Ship Switcher"},
        {Window::Main, "TabSheet4", "Guns"},
        {Window::Main, "TabSheet5", "Missiles"},
        {Window::Main, "TabSheet6", "About"},
        {Window::Main, "Button1", "&Launch"},
        {Window::Main, "Exit", "E&xit"},
        {Window::Main, "GroupBox1", "Flight Dynamics"},
        {Window::Main, "GroupBox2", "Armor/Shields"},
        {Window::Main, "GroupBox4", "Guns"},
        {Window::Main, "GroupBox3", "Missiles"},
        {Window::Main, "GroupBox5", "Decoys"},
        {Window::Main, "GroupBox6", "Mass"},
        {Window::Main, "CheckBox1", "Autos&lide"},
        {Window::Main, "CheckBox2", "&Booster"},
        {Window::Main, "Button11", "Edit B&ooster"},
        {Window::Main, "Label15", "Shields"},
        {Window::Main, "Label16", "Recharge rate (min/std/max):"},
        {Window::Main, "Button3", "Change"},
        {Window::Main, "Button4", "Change"},
        {Window::Main, "Button2", "&Save Modifications"},
        {Window::Main, "Button9", "&Restore Defaults"},
        {Window::Main, "Button6", "&Export..."},
        {Window::Main, "Button5", "&Import..."},
        {Window::Main, "Button13", "&Copy"},
        {Window::Main, "Button12", "&Delete"},
        {Window::Main, "Button14", "&Save Modifications"},
        {Window::Main, "GroupBox7", "Info"},
        {Window::Main, "Button10", "< Swap >"},
        {Window::Main, "GroupBox8", "Info"},
        {Window::Main, "Label8", "Select &a gun to edit:"},
        {Window::Main, "Button7", "Save Modifications"},
        {Window::Main, "Label21", "Select &a missile to edit:"},
        {Window::Main, "CheckBox3", "&Split up"},
        {Window::Main, "GroupBox9", ""},
        {Window::Main, "Button8", "Save Modifications"},
        {Window::Main, "GroupBox10", "Flags"},
        {Window::Main, "Flag1", "damages components"},
        {Window::Main, "Flag2", "damages turrets"},
        {Window::Main, "Flag3", "cannot lock on childobjects"},
        {Window::Main, "Flag4", "target must stay in view cone"},
        {Window::Main, "Flag5", "attack enemies only"},
        {Window::Main, "Flag6", "lock on childobjects only"},
        {Window::Main, "Flag7", "only lock on Corvane"},
        {Window::Main, "Flag8", "rear firing"},
        {Window::Main, "Flag9", "use lock range"},
        {Window::Main, "Flag10", "acquire new target"},
        {Window::Main, "Flag11", "rear aspect"},
        {Window::Main, "Flag12", "requires target"},
        {Window::Booster, "Button1", "OK"},
        {Window::Booster, "Label10",
         "* These values are used while the booster is attached but not in use. Once the booster is used up, the "
         "values from the main dialog are used."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name));
        EXPECT_EQ(Control(c.InWindow, c.Name).Caption(), c.Caption);
    }
}

// Each box is named by a label: on its row to its left, or just above it for column heads.
TEST_F(LayoutTest, EveryBoxHasItsLabelBesideOrAboveIt) {
    enum class Place { Left, Above };
    struct Case {
        Window InWindow;
        std::string_view Caption;
        std::string_view Box;
        Place At;
    };
    const Case cases[] = {
        {Window::Main, "Select &a ship to edit:", "ComboBox1", Place::Left},
        {Window::Main, "Speed:", "Edit1", Place::Left},
        {Window::Main, "Min", "Edit1", Place::Above},
        {Window::Main, "Std.", "Edit2", Place::Above},
        {Window::Main, "Max", "Edit15", Place::Above},
        {Window::Main, "Acceleration:", "Edit4", Place::Left},
        {Window::Main, "Aftb. Speed:", "Edit3", Place::Left},
        {Window::Main, "Aftb. Accell.:", "Edit6", Place::Left},
        {Window::Main, "Aftb. Fuel:", "Edit26", Place::Left},
        {Window::Main, "Y/P/R:", "Edit7", Place::Left},
        {Window::Main, "Rate of change:", "Edit25", Place::Left},
        {Window::Main, "Hitpoints:", "Edit27", Place::Left},
        {Window::Main, "Armor", "Edit10", Place::Above},
        {Window::Main, "Shields", "Edit17", Place::Above},
        {Window::Main, "Front", "Edit10", Place::Left},
        {Window::Main, "Right", "Edit11", Place::Left},
        {Window::Main, "Left", "Edit12", Place::Left},
        {Window::Main, "Aft", "Edit13", Place::Left},
        {Window::Main, "Recharge rate (min/std/max):", "Edit20", Place::Left},
        {Window::Main, "Gun Energy:", "Edit18", Place::Left},
        {Window::Main, "Recharge rate (min/std./max):", "Edit19", Place::Above},
        {Window::Main, "Select &a ship to edit:", "ComboBox6", Place::Above},
        {Window::Main, "Select &a gun to edit:", "ComboBox4", Place::Above},
        {Window::Main, "Speed:", "Edit30", Place::Left},
        {Window::Main, "Range:", "Edit31", Place::Left},
        {Window::Main, "Refire delay (ms):", "Edit34", Place::Left},
        {Window::Main, "Energy:", "Edit32", Place::Left},
        {Window::Main, "Damage:", "Edit33", Place::Left},
        {Window::Main, "Select &a missile to edit:", "ComboBox5", Place::Above},
        {Window::Main, "Lock Time (ms):", "Edit42", Place::Left},
        {Window::Main, "Speed:", "Edit37", Place::Left},
        {Window::Main, "Duration (ms):", "Edit38", Place::Left},
        {Window::Main, "Range:", "Edit39", Place::Left},
        {Window::Main, "Y/P:", "Edit36", Place::Left},
        {Window::Main, "Spin rate:", "Edit46", Place::Left},
        {Window::Main, "Acceleration:", "Edit40", Place::Left},
        {Window::Main, "Refire delay (ms):", "Edit43", Place::Left},
        {Window::Main, "Damage:", "Edit41", Place::Left},
        {Window::Main, "Spoof probability:", "Edit47", Place::Left},
        {Window::Main, "after ", "Edit48", Place::Left},
        {Window::Main, "into", "Edit49", Place::Left},
        {Window::Booster, "Speed:", "Edit1", Place::Left},
        {Window::Booster, "Accell. Standard Drive:", "Edit2", Place::Left},
        {Window::Booster, "Accell. Aftb./Booster:", "Edit3", Place::Left},
        {Window::Booster, "Y/P/R:", "Edit4", Place::Left},
        {Window::Booster, "YPR rate of change:", "Edit10", Place::Left},
        {Window::Booster, "Booster fuel:", "Edit12", Place::Left},
        {Window::Booster, "Booster deactivated*", "Edit2", Place::Above},
        {Window::Booster, "Booster activated", "Edit1", Place::Above},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Caption) + " / " + std::string(c.Box));
        const LayoutRow* box = FindRow(c.InWindow, c.Box);
        ASSERT_NE(box, nullptr);
        const auto& layout = LayoutOf(c.InWindow);
        const auto label = std::find_if(layout.begin(), layout.end(), [&](const LayoutRow& row) {
            return row.Kind == ControlKind::Label && row.Caption == c.Caption && row.Parent == box->Parent;
        });
        ASSERT_NE(label, layout.end()) << "no such label beside the box";
        if (c.At == Place::Left) {
            EXPECT_LE(label->Left + label->Width, box->Left);
            EXPECT_LT(label->Top, box->Top + box->Height);
            EXPECT_GT(label->Top + label->Height, box->Top);
        } else {
            EXPECT_LE(label->Top + label->Height, box->Top);
            EXPECT_LE(box->Top - (label->Top + label->Height), 24);
            EXPECT_LT(label->Left, box->Left + box->Width);
            EXPECT_GT(label->Left + label->Width, box->Left);
        }
    }
}

TEST_F(LayoutTest, BoxesOfOneRowRunLeftToRightAndListedRowsTopToBottom) {
    enum class Run { AlongARow, DownTheColumn };
    struct Case {
        Window InWindow;
        Run Along;
        std::vector<std::string_view> Names;
    };
    const Case cases[] = {
        {Window::Main, Run::AlongARow, {"Edit1", "Edit2", "Edit15"}},
        {Window::Main, Run::AlongARow, {"Edit7", "Edit5", "Edit8"}},
        {Window::Main, Run::AlongARow, {"Edit10", "Edit17"}},
        {Window::Main, Run::AlongARow, {"Edit13", "Edit16"}},
        {Window::Main, Run::AlongARow, {"Edit20", "Edit21", "Edit22"}},
        {Window::Main, Run::AlongARow, {"Edit19", "Edit23", "Edit24"}},
        {Window::Main, Run::AlongARow, {"Edit36", "Edit35"}},
        {Window::Main, Run::AlongARow, {"Edit49", "ComboBox7"}},
        {Window::Main, Run::AlongARow, {"ListBox4", "ListBox5"}},
        {Window::Booster, Run::AlongARow, {"Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"}},
        {Window::Booster, Run::AlongARow, {"Edit10", "Edit11"}},
        {Window::Main, Run::DownTheColumn, {"Edit1", "Edit4", "Edit3", "Edit6", "Edit26", "Edit7", "Edit25"}},
        {Window::Main, Run::DownTheColumn, {"Edit27", "Edit10", "Edit11", "Edit12", "Edit13", "Edit20"}},
        {Window::Main, Run::DownTheColumn, {"Edit30", "Edit31", "Edit34", "Edit32", "Edit33"}},
        {Window::Main,
         Run::DownTheColumn,
         {"ComboBox5", "Edit42", "Edit37", "Edit38", "Edit39", "Edit36", "Edit46", "Edit40", "Edit43", "Edit41",
          "Edit47", "CheckBox3", "GroupBox9"}},
        {Window::Main,
         Run::DownTheColumn,
         {"Flag1", "Flag2", "Flag3", "Flag4", "Flag5", "Flag6", "Flag7", "Flag8", "Flag9", "Flag10", "Flag11",
          "Flag12"}},
        {Window::Booster, Run::DownTheColumn, {"Edit1", "Edit3", "Edit7", "Edit11", "Edit12"}},
        {Window::Booster, Run::DownTheColumn, {"Label11", "Edit2", "Label9", "Edit4", "Edit10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Names.front()) + "..." + std::string(c.Names.back()));
        for (std::size_t i = 1; i < c.Names.size(); ++i) {
            const LayoutRow* before = FindRow(c.InWindow, c.Names[i - 1]);
            const LayoutRow* after = FindRow(c.InWindow, c.Names[i]);
            ASSERT_NE(before, nullptr);
            ASSERT_NE(after, nullptr);
            EXPECT_EQ(before->Parent, after->Parent);
            if (c.Along == Run::AlongARow) {
                EXPECT_EQ(before->Top, after->Top) << c.Names[i];
                EXPECT_LE(before->Left + before->Width, after->Left) << c.Names[i];
            } else {
                EXPECT_LE(before->Top + before->Height, after->Top) << c.Names[i];
            }
        }
    }
}

TEST_F(LayoutTest, UpDownArrowsStandRightOfTheBoxTheyStep) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"UpDown3", "Edit28"}, {"UpDown1", "Edit9"}, {"UpDown2", "Edit14"}};
    for (const auto& [arrowsName, boxName] : cases) {
        SCOPED_TRACE(std::string(arrowsName));
        const LayoutRow& arrows = *FindRow(Window::Main, arrowsName);
        const LayoutRow& box = *FindRow(Window::Main, boxName);
        EXPECT_EQ(arrows.Parent, box.Parent);
        EXPECT_EQ(arrows.Left, box.Left + box.Width);
        EXPECT_EQ(arrows.Top, box.Top);
        EXPECT_EQ(arrows.Height, box.Height);
        EXPECT_EQ(dynamic_cast<TUpDown&>(Control(Window::Main, arrowsName)).Associate().Name(), boxName);
    }
}

TEST_F(LayoutTest, TabOrdersNumberTheFocusableControlsOfEachParent) {
    for (Window window : kWindows) {
        SCOPED_TRACE(WindowName(window));
        std::map<std::string_view, std::vector<int>> ordersByParent;
        for (const LayoutRow& row : LayoutOf(window)) {
            SCOPED_TRACE(std::string(row.Name));
            if (TakesFocus(row.Kind)) {
                EXPECT_GE(row.TabOrder, 0);
                ordersByParent[row.Parent].push_back(row.TabOrder);
            } else {
                EXPECT_EQ(row.TabOrder, -1);
            }
        }
        for (auto& [parent, orders] : ordersByParent) {
            SCOPED_TRACE(std::string(parent));
            std::sort(orders.begin(), orders.end());
            for (std::size_t i = 0; i < orders.size(); ++i) EXPECT_EQ(orders[i], static_cast<int>(i));
        }
    }
}

TEST_F(LayoutTest, TabOrdersRunAsTheEditorsExpect) {
    struct Case {
        Window InWindow;
        std::vector<std::string_view> Order;  // tab orders 0, 1, 2, ... within one parent
    };
    const Case cases[] = {
        {Window::Main, {"PageControl1", "Button1", "Exit"}},
        {Window::Main,
         {"ComboBox1", "GroupBox1", "GroupBox2", "GroupBox4", "GroupBox3", "GroupBox5", "GroupBox6", "Button2",
          "Button9", "Button6", "Button5"}},
        {Window::Main, {"ComboBox6", "ListBox3", "Button13", "Button12", "Button14", "GroupBox7"}},
        {Window::Main, {"Edit30", "Edit31", "Edit34", "Edit32", "Edit33", "Button7", "ComboBox4"}},
        {Window::Main,
         {"Edit42", "Edit37", "Edit38", "Edit39", "Edit36", "Edit35", "Edit46", "Edit40", "Edit43", "Edit41", "Edit47",
          "CheckBox3", "GroupBox9", "Button8", "ComboBox5", "GroupBox10"}},
        {Window::Main, {"Edit48", "Edit49", "ComboBox7"}},
        {Window::Main,
         {"Flag1", "Flag2", "Flag3", "Flag4", "Flag5", "Flag6", "Flag7", "Flag8", "Flag9", "Flag10", "Flag11",
          "Flag12"}},
        {Window::Booster,
         {"Edit2", "Edit4", "Edit5", "Edit6", "Edit10", "Edit1", "Edit3", "Edit7", "Edit8", "Edit9", "Edit11", "Edit12",
          "Button1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Order.front()));
        for (std::size_t i = 0; i < c.Order.size(); ++i) {
            const LayoutRow* row = FindRow(c.InWindow, c.Order[i]);
            ASSERT_NE(row, nullptr) << c.Order[i];
            EXPECT_EQ(row->TabOrder, static_cast<int>(i)) << c.Order[i];
            EXPECT_EQ(row->Parent, FindRow(c.InWindow, c.Order.front())->Parent) << c.Order[i];
        }
    }
}

TEST_F(LayoutTest, DropDownListsShowTwelveRowsExceptTheSubMissileList) {
    for (const LayoutRow& row : MainWindowLayout()) {
        SCOPED_TRACE(std::string(row.Name));
        if (row.Kind != ControlKind::ComboBox) {
            EXPECT_EQ(row.DropDownRows, 0);
        } else {
            EXPECT_EQ(row.DropDownRows, row.Name == "ComboBox7" ? 8 : 12);
        }
    }
}

TEST_F(LayoutTest, PromptsWithAMnemonicFocusTheirList) {
    const std::map<std::string_view, std::string_view> expected = {
        {"ComboBox1", "TabSheet1"}, {"ComboBox6", "TabSheet2"}, {"ComboBox4", "TabSheet4"}, {"ComboBox5", "TabSheet5"}};
    std::map<std::string_view, std::string_view> found;  // focus control -> the prompt's page
    for (Window window : kWindows) {
        for (const LayoutRow& row : LayoutOf(window)) {
            SCOPED_TRACE(std::string(row.Name));
            const bool hasMnemonic = row.Kind == ControlKind::Label && row.Caption.find('&') != std::string_view::npos;
            EXPECT_EQ(hasMnemonic, !row.FocusControl.empty());
            if (!hasMnemonic) continue;
            const LayoutRow* target = FindRow(window, row.FocusControl);
            ASSERT_NE(target, nullptr);
            EXPECT_EQ(target->Parent, row.Parent);
            found[row.FocusControl] = row.Parent;
        }
    }
    EXPECT_EQ(found, expected);
}

TEST_F(LayoutTest, NumberBoxesStartWithZeroAndTheAboutFieldsPointToTheReadme) {
    for (Window window : kWindows) {
        SCOPED_TRACE(WindowName(window));
        for (const LayoutRow& row : LayoutOf(window)) {
            if (row.Kind != ControlKind::Edit) continue;
            SCOPED_TRACE(std::string(row.Name));
            const auto& box = dynamic_cast<const TEdit&>(Control(window, row.Name));
            const bool aboutField = window == Window::Main && (row.Name == "Edit44" || row.Name == "Edit45");
            EXPECT_EQ(row.ReadOnly, aboutField);
            EXPECT_EQ(box.ReadOnly(), aboutField);
            if (aboutField) {
                EXPECT_NE(box.Text().find("README.md"), std::string::npos) << box.Text();
            } else {
                EXPECT_EQ(box.Text(), "0");
            }
        }
    }
}

TEST_F(LayoutTest, AboutPageNamesTheProgramItsVersionAndItsTeam) {
    std::vector<const LayoutRow*> page;
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.Parent == "TabSheet6") page.push_back(&row);
    }
    const auto withCaption = [&](std::string_view caption) {
        return std::find_if(page.begin(), page.end(), [&](const LayoutRow* row) { return row->Caption == caption; });
    };
    const auto title = withCaption(std::string(kProgramTitle) + " " + kProgramVersion);
    ASSERT_NE(title, page.end());
    EXPECT_TRUE((*title)->Bold);
    EXPECT_NE(withCaption("The Tovarin team"), page.end());
    EXPECT_EQ(FindRow(Window::Main, "Label39")->Parent, "TabSheet6");
    for (const LayoutRow* row : page) {
        SCOPED_TRACE(std::string(row->Name));
        EXPECT_TRUE(row->Centred);
        // The page invents no address: contact and web page are found in the README.
        for (std::string_view address : {"@", "http", "www."}) {
            EXPECT_EQ(row->Caption.find(address), std::string_view::npos) << row->Caption;
        }
    }
}

TEST_F(LayoutTest, HelpTextsExplainTheirPagesWithDemoNames) {
    std::string gunSlotHelp;
    for (const std::string& line : form1.Memo1.Lines()) gunSlotHelp += line + "\n";
    std::string switcherHelp;
    for (const std::string& line : form1.Memo2.Lines()) switcherHelp += line + "\n";

    EXPECT_TRUE(FindRow(Window::Main, "Memo1")->ReadOnly);
    EXPECT_TRUE(FindRow(Window::Main, "Memo2")->ReadOnly);
    EXPECT_GT(form1.Memo1.Lines().size(), 5u);
    EXPECT_GT(form1.Memo2.Lines().size(), 3u);
    // The worked example follows the tab's own buttons and uses a ship and a gun of the demo installation.
    for (std::string_view words :
         {"Kestrel", "Mass Driver", "Copy", "bottom of the list", "Save Modifications", "Ships tab", "Change"}) {
        EXPECT_NE(gunSlotHelp.find(words), std::string::npos) << words;
    }
    for (std::string_view words : {"right list", "left list", "< Swap >", " = ", "un-swapped"}) {
        EXPECT_NE(switcherHelp.find(words), std::string::npos) << words;
    }
}

TEST_F(LayoutTest, BoosterDialogShowsFramelessCellsAndGreyCopies) {
    // The Y/P/R triples of both columns.
    const std::set<std::string_view> triples = {"Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"};
    for (const LayoutRow& row : BoosterDialogLayout()) {
        if (row.Kind != ControlKind::Edit) continue;
        SCOPED_TRACE(std::string(row.Name));
        const bool inTriple = triples.contains(row.Name);
        EXPECT_TRUE(row.Borderless);
        EXPECT_EQ(row.Height, 13);
        EXPECT_EQ(row.Width, inTriple ? 22 : 49);
    }
    const LayoutRow& standardSpeed = *FindRow(Window::Booster, "Label11");
    EXPECT_TRUE(standardSpeed.Grey);
    EXPECT_FALSE(standardSpeed.Visible);
    EXPECT_FALSE(form3.Label11.Visible());
    EXPECT_TRUE(FindRow(Window::Booster, "Label9")->Grey);
    EXPECT_TRUE(FindRow(Window::Booster, "Label10")->WordWrap);

    int raisedLines = 0;
    for (const LayoutRow& row : BoosterDialogLayout()) {
        if (row.Kind == ControlKind::Bevel && row.Raised && row.Width <= 2) ++raisedLines;
    }
    EXPECT_GE(raisedLines, 1);
}

TEST_F(LayoutTest, EscPressesExitAndOkOnly) {
    for (Window window : kWindows) {
        std::vector<std::string_view> cancelButtons;
        for (const LayoutRow& row : LayoutOf(window)) {
            if (row.Cancel) cancelButtons.push_back(row.Name);
        }
        EXPECT_EQ(cancelButtons, std::vector<std::string_view>{window == Window::Main ? "Exit" : "Button1"});
    }
}

TEST_F(LayoutTest, SplitUpGroupIsHiddenAtStart) {
    EXPECT_FALSE(FindRow(Window::Main, "GroupBox9")->Visible);
    EXPECT_FALSE(form1.GroupBox9.Visible());
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.Name != "GroupBox9") {
            EXPECT_TRUE(row.Visible) << row.Name;
        }
    }
}

}  // namespace
}  // namespace tovarin
