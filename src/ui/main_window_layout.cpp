#include "ui/main_window_layout.h"

#include <string_view>

#include "ui/layout_rows.h"

namespace tovarin {

namespace {

// The Ships tab holds most of a ship on one page, so its boxes are compact: 17 pixels high, one row every 19.
constexpr int kShipBox = 17;
// The other tabs have room for boxes of the usual height.
constexpr int kBox = 21;

constexpr std::string_view kGunSlotHelp =
    "This page adds gun slots to a ship and removes them. Every gun of a ship sits in a gun slot.\n"
    "\n"
    "The list shows the ship's gun slots as they are now. Each slot is named after its place on the ship, and "
    "these names differ from ship to ship. A slot's place cannot be changed: a copied slot sits exactly where "
    "the slot it was copied from sits.\n"
    "\n"
    "Copy adds a copy of the selected slot at the bottom of the list; Delete removes the selected slot. The "
    "ship changes only when you press Save Modifications.\n"
    "\n"
    "Example: giving the Kestrel one more gun\n"
    "1. Choose Kestrel in the list above.\n"
    "2. Select the slot whose place the new gun is to share, for example one on the left wing.\n"
    "3. Press Copy. A new entry is added at the bottom of the list.\n"
    "4. Press Save Modifications.\n"
    "5. Go to the Ships tab and choose Kestrel if it is not shown. The new gun is the last one in the Guns "
    "list: select it, choose its type, say Mass Driver, press Change and then Save Modifications.";

constexpr std::string_view kShipSwitcherHelp =
    "The Ship Switcher lets you fly ships that cannot normally be flown, in the game or in its simulator.\n"
    "\n"
    "Choose the ship you want to fly in the right list and the ship it is to replace in the left list, then "
    "press < Swap >. Both entries then show the two names joined by \" = \": \"Kestrel = Marauder\" when the "
    "Marauder replaces the Kestrel. Wherever the game would bring the one ship, it now brings the other, and "
    "the other way round.\n"
    "\n"
    "To undo a swap, select the two swapped ships again and press < Swap > once more: everything is as it was "
    "before. A ship that is already swapped cannot be swapped with another one until it has been un-swapped.\n"
    "\n"
    "This is harder to describe than to do: try it out and watch the lists.";

}  // namespace

const std::vector<LayoutRow>& MainWindowLayout() {
    using namespace rows;
    static const std::vector<LayoutRow> layout = {
        // The tab control fills the window; "&Launch" keeps to its bottom left corner, "E&xit" to its bottom right,
        // and the status line below them grows with the window's width.
        GrowWith(Spoken({"PageControl1", ControlKind::PageControl, "", 8, 8, 449, 417, "", 0}, "Pages"), 100, 100),
        GrowWith({"TabSheet1", ControlKind::TabSheet, "PageControl1", 4, 24, 441, 389, "Ships"}, 100, 100),
        GrowWith({"TabSheet2", ControlKind::TabSheet, "PageControl1", 4, 24, 441, 389, "Add/Remove Guns"}, 100, 100),
        GrowWith({"TabSheet3", ControlKind::TabSheet, "PageControl1", 4, 24, 441, 389, "Ship Switcher"}, 100, 100),
        GrowWith({"TabSheet4", ControlKind::TabSheet, "PageControl1", 4, 24, 441, 389, "Guns"}, 100, 100),
        GrowWith({"TabSheet5", ControlKind::TabSheet, "PageControl1", 4, 24, 441, 389, "Missiles"}, 100, 100),
        GrowWith({"TabSheet7", ControlKind::TabSheet, "PageControl1", 4, 24, 441, 389, "Mods"}, 100, 100),
        GrowWith({"TabSheet6", ControlKind::TabSheet, "PageControl1", 4, 24, 441, 389, "About"}, 100, 100),
        GrowWith({"TabSheet8", ControlKind::TabSheet, "PageControl1", 4, 24, 441, 389, "Fleet"}, 100, 100),
        MoveWith(Button("Button1", "", 8, 432, 105, 25, "&Launch", 1), 0, 100),
        // Undo and Redo name their step once there is one (window/undo_buttons.cpp), and share the room the window
        // grows by, so that a long name has room.
        Follow(Button("Undo", "", 120, 432, 127, 25, "Undo (&Z)", 2), 0, 50, 100, 0),
        Follow(Button("Redo", "", 251, 432, 125, 25, "Redo (&Y)", 3), 50, 50, 100, 0),
        MoveWith(PressedByEsc(Button("Exit", "", 382, 432, 75, 25, "E&xit", 4)), 100, 100),
        Follow({"StatusLine", ControlKind::StatusLine, "", 8, 462, 449, kLabelHeight}, 0, 100, 100, 0),

        // ---- "Ships" ----
        // The left column keeps its size; the right one, with the lists of mounts, takes the room the window grows
        // by, and the buttons keep to the page's bottom right corner.
        MoveWith(Prompt("Label1", "TabSheet1", 176, 12, 108, "Select &a ship to edit:", "ComboBox1"), 100, 0),
        MoveWith(DropDown("ComboBox1", "TabSheet1", 288, 8, 145, 0), 100, 0),
        GrowWith(Rule("Bevel1", "TabSheet1", 8, 40, 425, 2), 100, 0),

        Group("GroupBox1", "TabSheet1", 8, 48, 209, 169, "Flight Dynamics", 1),
        Label("Label2", "GroupBox1", 90, 14, 34, "Min"),
        Label("Label3", "GroupBox1", 128, 14, 34, "Std."),
        Label("Label4", "GroupBox1", 166, 14, 34, "Max"),
        Label("Label5", "GroupBox1", 8, 31, 78, "Speed:"),
        Spoken(NumberBox("Edit1", "GroupBox1", 90, 29, 34, kShipBox, 0), "Speed Min"),
        Spoken(NumberBox("Edit2", "GroupBox1", 128, 29, 34, kShipBox, 1), "Speed Std."),
        Spoken(NumberBox("Edit15", "GroupBox1", 166, 29, 34, kShipBox, 2), "Speed Max"),
        Label("Label6", "GroupBox1", 8, 50, 78, "Acceleration:"),
        NumberBox("Edit4", "GroupBox1", 90, 48, 34, kShipBox, 3),
        Label("Label7", "GroupBox1", 8, 69, 78, "Aftb. Speed:"),
        NumberBox("Edit3", "GroupBox1", 90, 67, 34, kShipBox, 4),
        Label("Label9", "GroupBox1", 8, 88, 78, "Aftb. Accell.:"),
        NumberBox("Edit6", "GroupBox1", 90, 86, 34, kShipBox, 5),
        Label("Label10", "GroupBox1", 8, 107, 78, "Aftb. Fuel:"),
        NumberBox("Edit26", "GroupBox1", 90, 105, 34, kShipBox, 6),
        Label("Label11", "GroupBox1", 8, 126, 78, "Y/P/R:"),
        Spoken(NumberBox("Edit7", "GroupBox1", 90, 124, 34, kShipBox, 7), "Yaw"),
        Spoken(NumberBox("Edit5", "GroupBox1", 128, 124, 34, kShipBox, 8), "Pitch"),
        Spoken(NumberBox("Edit8", "GroupBox1", 166, 124, 34, kShipBox, 9), "Roll"),
        Label("Label12", "GroupBox1", 8, 145, 78, "Rate of change:"),
        NumberBox("Edit25", "GroupBox1", 90, 143, 34, kShipBox, 10),
        // The switches share the rows of the single values, in a column of their own.
        Check("CheckBox1", "GroupBox1", 128, 48, 72, "A&utoslide", 11),
        Check("CheckBox2", "GroupBox1", 128, 67, 72, "&Booster", 12),
        Button("Button11", "GroupBox1", 128, 86, 72, 19, "Edit B&ooster", 13),

        Group("GroupBox2", "TabSheet1", 8, 224, 209, 161, "Armor/Shields", 2),
        Label("Label13", "GroupBox2", 8, 18, 78, "Hitpoints:"),
        NumberBox("Edit27", "GroupBox2", 90, 16, 34, kShipBox, 0),
        Label("Label14", "GroupBox2", 90, 37, 34, "Armor"),
        Label("Label15", "GroupBox2", 128, 37, 40, "Shields"),
        Label("Label17", "GroupBox2", 8, 53, 78, "Front"),
        Spoken(NumberBox("Edit10", "GroupBox2", 90, 51, 34, kShipBox, 1), "Armor Front"),
        Spoken(NumberBox("Edit17", "GroupBox2", 128, 51, 34, kShipBox, 5), "Shields Front"),
        Label("Label18", "GroupBox2", 8, 72, 78, "Right"),
        Spoken(NumberBox("Edit11", "GroupBox2", 90, 70, 34, kShipBox, 2), "Armor Right"),
        Label("Label19", "GroupBox2", 8, 91, 78, "Left"),
        Spoken(NumberBox("Edit12", "GroupBox2", 90, 89, 34, kShipBox, 3), "Armor Left"),
        Label("Label20", "GroupBox2", 8, 110, 78, "Aft"),
        Spoken(NumberBox("Edit13", "GroupBox2", 90, 108, 34, kShipBox, 4), "Armor Aft"),
        Spoken(NumberBox("Edit16", "GroupBox2", 128, 108, 34, kShipBox, 6), "Shields Aft"),
        WrappedLabel("Label16", "GroupBox2", 8, 130, 78, 26, "Recharge rate (min/std/max):"),
        Spoken(NumberBox("Edit20", "GroupBox2", 90, 134, 34, kShipBox, 7), "Shield recharge rate min"),
        Spoken(NumberBox("Edit21", "GroupBox2", 128, 134, 34, kShipBox, 8), "Shield recharge rate std."),
        Spoken(NumberBox("Edit22", "GroupBox2", 166, 134, 34, kShipBox, 9), "Shield recharge rate max"),

        // The mount lists take the groups' growth; the boxes of the chosen mount keep to the group's right edge.
        // The mount's number box is named "Ammunition" above it; the missiles' group gives up the row for it.
        Follow(Group("GroupBox4", "TabSheet1", 224, 48, 209, 145, "Guns", 3), 0, 100, 0, 50),
        GrowWith(Spoken(List("ListBox1", "GroupBox4", 8, 16, 90, 82, 0), "Gun mounts"), 100, 100),
        MoveWith(Spoken(DropDown("ComboBox2", "GroupBox4", 103, 16, 98, 1), "Gun of the mount"), 100, 0),
        MoveWith(Prompt("Label52", "GroupBox4", 103, 41, 98, "A&mmunition:", "Edit28"), 100, 0),
        MoveWith(NumberBox("Edit28", "GroupBox4", 103, 56, 36, kShipBox, 2), 100, 0),
        MoveWith(Arrows("UpDown3", "GroupBox4", 139, 56, kShipBox), 100, 0),
        MoveWith(Button("Button3", "GroupBox4", 157, 55, 44, 19, "&Change", 3), 100, 0),
        MoveWith(Label("Label22", "GroupBox4", 103, 79, 60, "Gun Energy:"), 100, 0),
        MoveWith(NumberBox("Edit18", "GroupBox4", 165, 77, 36, kShipBox, 4), 100, 0),
        MoveWith(Label("Label23", "GroupBox4", 8, 100, 193, "Recharge rate (min/std./max):"), 0, 100),
        MoveWith(Spoken(NumberBox("Edit19", "GroupBox4", 8, 115, 44, kShipBox, 5), "Gun recharge rate min"), 0, 100),
        MoveWith(Spoken(NumberBox("Edit23", "GroupBox4", 56, 115, 44, kShipBox, 6), "Gun recharge rate std."), 0, 100),
        MoveWith(Spoken(NumberBox("Edit24", "GroupBox4", 104, 115, 44, kShipBox, 7), "Gun recharge rate max"), 0, 100),

        Follow(Group("GroupBox3", "TabSheet1", 224, 196, 209, 105, "Missiles", 4), 0, 100, 50, 50),
        GrowWith(Spoken(List("ListBox2", "GroupBox3", 8, 16, 90, 82, 0), "Missile mounts"), 100, 100),
        MoveWith(Spoken(DropDown("ComboBox3", "GroupBox3", 103, 16, 98, 1), "Missile of the mount"), 100, 0),
        MoveWith(Spoken(NumberBox("Edit9", "GroupBox3", 103, 40, 36, kShipBox, 2), "Missiles on the mount"), 100, 0),
        MoveWith(Arrows("UpDown1", "GroupBox3", 139, 40, kShipBox), 100, 0),
        MoveWith(Button("Button4", "GroupBox3", 157, 39, 44, 19, "C&hange", 3), 100, 0),

        MoveWith(Group("GroupBox5", "TabSheet1", 224, 302, 73, 41, "Decoys", 5), 0, 100),
        NumberBox("Edit14", "GroupBox5", 8, 16, 42, kShipBox, 0),
        Arrows("UpDown2", "GroupBox5", 50, 16, kShipBox),

        MoveWith(Group("GroupBox6", "TabSheet1", 224, 343, 73, 41, "Mass", 6), 0, 100),
        NumberBox("Edit29", "GroupBox6", 8, 16, 57, kShipBox, 0),

        // "&Restore Defaults" ends where "&Export..." begins, and "&Export..." where "&Import..." begins, so the
        // three small buttons tile the corner without covering each other's edge.
        MoveWith(Button("Button2", "TabSheet1", 304, 308, 129, 34, "&Save Modifications", 7), 100, 100),
        MoveWith(Button("Button9", "TabSheet1", 304, 348, 129, 18, "&Restore Defaults", 8), 100, 100),
        MoveWith(Button("Button6", "TabSheet1", 304, 366, 64, 18, "&Export...", 9), 100, 100),
        MoveWith(Button("Button5", "TabSheet1", 368, 366, 65, 18, "&Import...", 10), 100, 100),

        // ---- "Add/Remove Guns" ----
        Prompt("Label24", "TabSheet2", 8, 16, 201, "Select &a ship to edit:", "ComboBox6"),
        DropDown("ComboBox6", "TabSheet2", 8, 32, 201, 0),
        // The slot list grows down, its buttons below it; the help beside it takes the rest.
        GrowWith(Spoken(List("ListBox3", "TabSheet2", 8, 64, 201, 145, 1), "Gun slots"), 0, 100),
        MoveWith(Button("Button13", "TabSheet2", 8, 216, 97, 25, "&Copy", 2), 0, 100),
        MoveWith(Button("Button12", "TabSheet2", 112, 216, 97, 25, "&Delete", 3), 0, 100),
        MoveWith(Button("Button14", "TabSheet2", 8, 360, 201, 25, "&Save Modifications", 4), 0, 100),
        GrowWith(Group("GroupBox7", "TabSheet2", 216, 8, 217, 377, "Info", 5), 100, 100),
        GrowWith(
            Spoken(HelpText("Memo1", "GroupBox7", 8, 16, 201, 353, kGunSlotHelp, 0), "Adding and removing gun slots"),
            100, 100),

        // ---- "Ship Switcher" ----
        // Each list has a heading saying which ship it chooses; the two share the page's growth, "< Swap >" between.
        Prompt("Label53", "TabSheet3", 8, 8, 160, "Ship to be re&placed:", "ListBox4"),
        GrowWith(List("ListBox4", "TabSheet3", 8, 24, 160, 225, 0), 50, 100),
        MoveWith(Prompt("Label54", "TabSheet3", 272, 8, 160, "Ship to &fly instead:", "ListBox5"), 50, 0),
        Follow(List("ListBox5", "TabSheet3", 272, 24, 160, 225, 1), 50, 50, 0, 100),
        MoveWith(Button("Button10", "TabSheet3", 180, 120, 80, 25, "< S&wap >", 2), 50, 50),
        Follow(Group("GroupBox8", "TabSheet3", 8, 256, 425, 129, "Info", 3), 0, 100, 100, 0),
        GrowWith(Spoken(HelpText("Memo2", "GroupBox8", 8, 16, 409, 105, kShipSwitcherHelp, 0),
                        "How the Ship Switcher works"),
                 100, 0),

        // ---- "Guns" ----
        Prompt("Label8", "TabSheet4", 8, 16, 177, "Select &a gun to edit:", "ComboBox4"),
        DropDown("ComboBox4", "TabSheet4", 8, 32, 177, 0),
        Label("Label25", "TabSheet4", 8, 72, 100, "Speed:"),
        NumberBox("Edit30", "TabSheet4", 112, 68, 73, kBox, 1),
        Label("Label26", "TabSheet4", 8, 100, 100, "Range:"),
        NumberBox("Edit31", "TabSheet4", 112, 96, 73, kBox, 2),
        Label("Label27", "TabSheet4", 8, 128, 100, "Refire delay (ms):"),
        NumberBox("Edit34", "TabSheet4", 112, 124, 73, kBox, 3),
        Label("Label28", "TabSheet4", 8, 156, 100, "Energy:"),
        NumberBox("Edit32", "TabSheet4", 112, 152, 73, kBox, 4),
        Label("Label29", "TabSheet4", 8, 184, 100, "Damage:"),
        NumberBox("Edit33", "TabSheet4", 112, 180, 73, kBox, 5),
        Button("Button7", "TabSheet4", 8, 216, 177, 25, "&Save Modifications", 6),

        // ---- "Missiles" ----
        Prompt("Label21", "TabSheet5", 8, 16, 177, "Select &a missile to edit:", "ComboBox5"),
        DropDown("ComboBox5", "TabSheet5", 8, 32, 177, 0),
        Label("Label30", "TabSheet5", 8, 66, 100, "Lock Time (ms):"),
        NumberBox("Edit42", "TabSheet5", 112, 62, 73, kBox, 1),
        Label("Label31", "TabSheet5", 8, 89, 100, "Speed:"),
        NumberBox("Edit37", "TabSheet5", 112, 85, 73, kBox, 2),
        Label("Label32", "TabSheet5", 8, 112, 100, "Duration (ms):"),
        NumberBox("Edit38", "TabSheet5", 112, 108, 73, kBox, 3),
        Label("Label33", "TabSheet5", 8, 135, 100, "Range:"),
        NumberBox("Edit39", "TabSheet5", 112, 131, 73, kBox, 4),
        Label("Label34", "TabSheet5", 8, 158, 100, "Y/P:"),
        Spoken(NumberBox("Edit36", "TabSheet5", 112, 154, 34, kBox, 5), "Yaw"),
        Spoken(NumberBox("Edit35", "TabSheet5", 151, 154, 34, kBox, 6), "Pitch"),
        Label("Label35", "TabSheet5", 8, 181, 100, "Spin rate:"),
        NumberBox("Edit46", "TabSheet5", 112, 177, 73, kBox, 7),
        Label("Label36", "TabSheet5", 8, 204, 100, "Acceleration:"),
        NumberBox("Edit40", "TabSheet5", 112, 200, 73, kBox, 8),
        Label("Label37", "TabSheet5", 8, 227, 100, "Refire delay (ms):"),
        NumberBox("Edit43", "TabSheet5", 112, 223, 73, kBox, 9),
        Label("Label38", "TabSheet5", 8, 250, 100, "Damage:"),
        NumberBox("Edit41", "TabSheet5", 112, 246, 73, kBox, 10),
        Label("Label40", "TabSheet5", 8, 273, 100, "Spoof probability:"),
        NumberBox("Edit47", "TabSheet5", 112, 269, 73, kBox, 11),
        Check("CheckBox3", "TabSheet5", 8, 298, 97, "S&plit up", 12),
        Hide(Group("GroupBox9", "TabSheet5", 8, 318, 232, 67, "", 13)),
        Label("Label41", "GroupBox9", 8, 18, 28, "after "),
        Spoken(NumberBox("Edit48", "GroupBox9", 40, 14, 50, kBox, 0), "Split up after (ms)"),
        Label("Label42", "GroupBox9", 94, 18, 16, "ms"),
        Label("Label43", "GroupBox9", 8, 44, 28, "into"),
        Spoken(NumberBox("Edit49", "GroupBox9", 40, 40, 30, kBox, 1), "Split up into how many"),
        Spoken(DropDown("ComboBox7", "GroupBox9", 76, 40, 145, 2, 8), "Split up into which missile"),
        Group("GroupBox10", "TabSheet5", 248, 8, 185, 274, "Flags", 14),
        Check("Flag1", "GroupBox10", 8, 18, 169, "&damages components", 0),
        Check("Flag2", "GroupBox10", 8, 39, 169, "damages &turrets", 1),
        Check("Flag3", "GroupBox10", 8, 60, 169, "&cannot lock on childobjects", 2),
        Check("Flag4", "GroupBox10", 8, 81, 169, "target must stay in &view cone", 3),
        Check("Flag5", "GroupBox10", 8, 102, 169, "attack &enemies only", 4),
        Check("Flag6", "GroupBox10", 8, 123, 169, "loc&k on childobjects only", 5),
        Check("Flag7", "GroupBox10", 8, 144, 169, "&only lock on Corvane", 6),
        Check("Flag8", "GroupBox10", 8, 165, 169, "rear &firing", 7),
        Check("Flag9", "GroupBox10", 8, 186, 169, "&use lock range", 8),
        Check("Flag10", "GroupBox10", 8, 207, 169, "acquire &new target", 9),
        Check("Flag11", "GroupBox10", 8, 228, 169, "&rear aspect", 10),
        Check("Flag12", "GroupBox10", 8, 249, 169, "re&quires target", 11),
        Button("Button8", "TabSheet5", 248, 360, 185, 25, "&Save Modifications", 15),

        // ---- "Mods" ----
        // The load order fills the page's width so that a mod's name and what it changes fit on its row.
        // The load order and the conflicts share the page's growth; the buttons keep to the right edge.
        Prompt("Label50", "TabSheet7", 8, 12, 425, "&Mods, in load order (a later mod's value wins):", "ListBox6"),
        GrowWith(List("ListBox6", "TabSheet7", 8, 28, 425, 145, 0), 100, 50),
        MoveWith(Check("CheckBox4", "TabSheet7", 8, 184, 121, "Switched o&n", 1), 0, 50),
        MoveWith(Button("Button16", "TabSheet7", 136, 180, 69, 25, "&Up", 2), 100, 50),
        MoveWith(Button("Button17", "TabSheet7", 212, 180, 69, 25, "&Down", 3), 100, 50),
        MoveWith(Button("Button18", "TabSheet7", 288, 180, 69, 25, "&Add...", 4), 100, 50),
        MoveWith(Button("Button19", "TabSheet7", 364, 180, 69, 25, "&Remove", 5), 100, 50),
        Follow(Group("GroupBox11", "TabSheet7", 8, 212, 425, 111, "Conflicts", 6), 0, 100, 50, 50),
        GrowWith(HelpText("Memo3", "GroupBox11", 8, 16, 409, 87, "", 0), 100, 100),
        // A whole set of mods passed on as one file, and set again from one.
        MoveWith(Button("Button21", "TabSheet7", 8, 328, 121, 25, "&Export List...", 8), 0, 100),
        MoveWith(Button("Button22", "TabSheet7", 136, 328, 121, 25, "&Import List...", 9), 0, 100),
        Follow(WrappedLabel("Label51", "TabSheet7", 8, 360, 297, 26,
                            "Apply lays the switched-on mods over the original files; your own changes stay on top."),
               0, 100, 100, 0),
        MoveWith(Button("Button20", "TabSheet7", 312, 360, 121, 25, "A&pply", 7), 100, 100),

        // ---- "About" ----
        // Label39 gets "for " and the game's name at start-up; until then it stays empty rather than guess.
        GrowWith(InLargeBold(CentreText({"Label44", ControlKind::Label, "TabSheet6", 8, 56, 425, 32, "Tovarin 1.0"})),
                 100, 0),
        GrowWith(CentreText(Label("Label39", "TabSheet6", 8, 104, 425, "")), 100, 0),
        GrowWith(CentreText(Label("Label45", "TabSheet6", 8, 136, 425, "Released in December 2026")), 100, 0),
        GrowWith(CentreText(Label("Label46", "TabSheet6", 8, 168, 425, "The Tovarin team")), 100, 0),
        // Plain lines, not fields: there is nothing to press or copy, and the README of the release package says how
        // to reach the project.
        GrowWith(CentreText(Label("Label47", "TabSheet6", 8, 208, 425,
                                  "Questions, bug reports and news: the project's issue tracker.")),
                 100, 0),
        GrowWith(CentreText(Label("Label48", "TabSheet6", 8, 228, 425,
                                  "README.txt in Tovarin's package tells how to reach it.")),
                 100, 0),
        MoveWith(Button("Button15", "TabSheet6", 136, 312, 169, 25, "Restore &Original Files...", 0), 50, 0),

        // ---- "Fleet" ----
        // Which table, the name filter and "Changed only" above the grid, which takes the room the window grows by.
        Prompt("Label60", "TabSheet8", 8, 12, 33, "S&how:", "ComboBox8"),
        DropDown("ComboBox8", "TabSheet8", 44, 8, 89, 0, 3),
        Prompt("Label61", "TabSheet8", 144, 12, 53, "&Name has:", "Edit50"),
        {"Edit50", ControlKind::Edit, "TabSheet8", 200, 8, 121, kBox, "", 1},
        MoveWith(Check("CheckBox5", "TabSheet8", 336, 10, 97, "&Changed only", 2), 100, 0),
        GrowWith(Spoken({"Grid1", ControlKind::Grid, "TabSheet8", 8, 36, 425, 289, "", 3}, "Fleet values"), 100, 100),
        // "Char&t" shows the same rows as a chart in the grid's place: ships as a scatter of the two columns chosen
        // above it, guns and missiles as bars of one.
        Hide(InPlaceOf(Prompt("Label63", "TabSheet8", 8, 40, 41, "&Across:", "ComboBox9"), "Grid1")),
        Hide(InPlaceOf(DropDown("ComboBox9", "TabSheet8", 52, 36, 160, 4, 16), "Grid1")),
        Hide(InPlaceOf(Prompt("Label64", "TabSheet8", 224, 40, 21, "&Up:", "ComboBox10"), "Grid1")),
        Hide(InPlaceOf(DropDown("ComboBox10", "TabSheet8", 248, 36, 160, 5, 16), "Grid1")),
        Hide(InPlaceOf(Spoken(ChartArea("Chart1", "TabSheet8", 8, 64, 425, 261), "Fleet chart"), "Grid1")),
        // "Show selected only" below the grid, beside the count of the rows shown (and why the fleet cannot be shown
        // when it cannot) and the chart's switch; the buttons that write the grid's selection keep to the page's
        // bottom left corner.
        MoveWith(Check("CheckBox7", "TabSheet8", 8, 334, 129, "Show &selected only", 6), 0, 100),
        Follow(Label("Label62", "TabSheet8", 144, 336, 209, ""), 0, 100, 100, 0),
        MoveWith(Check("CheckBox6", "TabSheet8", 360, 334, 73, "Char&t", 7), 100, 100),
        MoveWith(Button("Button23", "TabSheet8", 8, 360, 113, 25, "&Reset to Original", 8), 0, 100),
        MoveWith(Button("Button24", "TabSheet8", 128, 360, 97, 25, "Change &Many...", 9), 0, 100),
        MoveWith(Button("Button25", "TabSheet8", 232, 360, 185, 25, "Make a Mo&d from My Changes...", 10), 0, 100),
    };
    return layout;
}

}  // namespace tovarin
