#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gamefiles/ini_file.h"
#include "gun_slots/gun_slot_table.h"
#include "ships/ship_state.h"
#include "ui/chart_view.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/grid.h"
#include "window/undo_history.h"
#include "window/unsaved_changes.h"

namespace tovarin {

class TForm3;
class FleetGridRows;
struct BulkChange;
struct CellAddress;
struct EditPlan;
struct Fleet;
struct ModInfo;
enum class SheetKind;

// The main window: every control of every tab, the game folder, the catalogue and switch-file handles, the
// loaded ship's state and the gun slot table. Members are grouped by tab, in tab order. The handlers are
// defined beside this file, one file per tab or dialog (see the comment above each group).
class TForm1 : public TForm {
public:
    explicit TForm1(Platform& platform);
    ~TForm1() override;

    // ---- Window and start-up (window/startup.cpp, window/field_checks.cpp) ------------------------------------------
    TPageControl PageControl1{*this, "PageControl1"};
    TTabSheet TabSheet1{*this, "TabSheet1"};  // "Ships"
    TTabSheet TabSheet2{*this, "TabSheet2"};  // "Add/Remove Guns"
    TTabSheet TabSheet3{*this, "TabSheet3"};  // "Ship Switcher"
    TTabSheet TabSheet4{*this, "TabSheet4"};  // "Guns"
    TTabSheet TabSheet5{*this, "TabSheet5"};  // "Missiles"
    TTabSheet TabSheet7{*this, "TabSheet7"};  // "Mods"
    TTabSheet TabSheet6{*this, "TabSheet6"};  // "About"
    TTabSheet TabSheet8{*this, "TabSheet8"};  // "Fleet"
    TButton Button1{*this, "Button1"};        // "&Launch"
    TButton Undo{*this, "Undo"};              // "Undo (&Z)", naming the step it undoes
    TButton Redo{*this, "Redo"};              // "Redo (&Y)", naming the step it redoes
    TButton Exit{*this, "Exit"};              // "E&xit", also pressed by Esc
    TStatusLine StatusLine{*this, "StatusLine"};
    TSaveDialog SaveDialog1{*this, "SaveDialog1"};
    TOpenDialog OpenDialog1{*this, "OpenDialog1"};

    void FormCreate();
    void FormDestroy();
    void ExitClick();
    void Button1Click();
    void PageControl1Change();
    bool Edit1Exit(TEdit& box);
    // The box's value as its field in the file can hold it; a text it cannot hold is refused (Exception) with a
    // message that names the box by its label ("Decoys: 300 is more than 255"), the same on every road.
    [[nodiscard]] std::int32_t CheckedValue(const TEdit& box) const;
    // Says on the status line what the last action did and to which file ("Kestrel saved: Ships\kestrel.iff").
    // Every change to the game's files and every profile written or read says so there, without a box to click.
    void ShowStatus(std::string text);
    // A file of the game folder by its path in it ("Ships\kestrel.iff"); a file elsewhere by its whole path.
    [[nodiscard]] std::string InGameFolder(const std::string& path) const;

    std::string GameFolder;   // with its trailing separator
    TIniFile Catalogue;       // vskinfo.dat or nwinfo.dat
    TIniFile SwitchFile;      // Ships\switch.dat
    std::string GameExe;      // catalogue Info/Run, relative to the game folder
    TForm3* Form3 = nullptr;  // the booster dialog, created after this window

    // ---- "Ships" tab ------------------------------------------------------------------------------------------------
    TComboBox ComboBox1{*this, "ComboBox1"};  // ship names
    // "Flight Dynamics"
    TGroupBox GroupBox1{*this, "GroupBox1"};
    TEdit Edit1{*this, "Edit1"};              // speed min
    TEdit Edit2{*this, "Edit2"};              // speed standard
    TEdit Edit15{*this, "Edit15"};            // speed max
    TEdit Edit4{*this, "Edit4"};              // acceleration
    TEdit Edit3{*this, "Edit3"};              // afterburner speed
    TEdit Edit6{*this, "Edit6"};              // afterburner acceleration
    TEdit Edit26{*this, "Edit26"};            // afterburner fuel
    TEdit Edit7{*this, "Edit7"};              // Y
    TEdit Edit5{*this, "Edit5"};              // P
    TEdit Edit8{*this, "Edit8"};              // R
    TEdit Edit25{*this, "Edit25"};            // Y/P/R rate of change
    TCheckBox CheckBox1{*this, "CheckBox1"};  // "Autos&lide"
    TCheckBox CheckBox2{*this, "CheckBox2"};  // "&Booster"
    TButton Button11{*this, "Button11"};      // "Edit B&ooster"
    // "Armor/Shields"
    TGroupBox GroupBox2{*this, "GroupBox2"};
    TEdit Edit27{*this, "Edit27"};     // hitpoints
    TLabel Label14{*this, "Label14"};  // "Armor"
    TLabel Label17{*this, "Label17"};  // "Front", a row of armour and shields
    TLabel Label18{*this, "Label18"};  // "Right", armour only
    TLabel Label19{*this, "Label19"};  // "Left", armour only
    TLabel Label20{*this, "Label20"};  // "Aft", a row of armour and shields
    TEdit Edit10{*this, "Edit10"};     // armour front
    TEdit Edit11{*this, "Edit11"};     // armour right
    TEdit Edit12{*this, "Edit12"};     // armour left
    TEdit Edit13{*this, "Edit13"};     // armour aft
    TLabel Label15{*this, "Label15"};  // "Shields"
    TEdit Edit17{*this, "Edit17"};     // shield front
    TEdit Edit16{*this, "Edit16"};     // shield aft
    TLabel Label16{*this, "Label16"};  // "Recharge rate (min/std/max):"
    TEdit Edit20{*this, "Edit20"};     // shield recharge min
    TEdit Edit21{*this, "Edit21"};     // shield recharge standard
    TEdit Edit22{*this, "Edit22"};     // shield recharge max
    // "Guns"
    TGroupBox GroupBox4{*this, "GroupBox4"};
    TListBox ListBox1{*this, "ListBox1"};     // gun mounts, then turrets
    TComboBox ComboBox2{*this, "ComboBox2"};  // gun names
    TEdit Edit28{*this, "Edit28"};            // ammunition of the selected mount
    TUpDown UpDown3{*this, "UpDown3", Edit28, 0, 32767, 10};
    TButton Button3{*this, "Button3"};  // "Change"
    TEdit Edit18{*this, "Edit18"};      // gun energy
    TEdit Edit19{*this, "Edit19"};      // gun recharge min
    TEdit Edit23{*this, "Edit23"};      // gun recharge standard
    TEdit Edit24{*this, "Edit24"};      // gun recharge max
    // "Missiles"
    TGroupBox GroupBox3{*this, "GroupBox3"};
    TListBox ListBox2{*this, "ListBox2"};     // missile mounts
    TComboBox ComboBox3{*this, "ComboBox3"};  // missile names
    TEdit Edit9{*this, "Edit9"};              // missiles on the selected mount
    TUpDown UpDown1{*this, "UpDown1", Edit9, 0, 255, 1};
    TButton Button4{*this, "Button4"};  // "Change"
    // "Decoys" and "Mass"
    TGroupBox GroupBox5{*this, "GroupBox5"};
    TEdit Edit14{*this, "Edit14"};  // decoys
    TUpDown UpDown2{*this, "UpDown2", Edit14, 0, 255, 1};
    TGroupBox GroupBox6{*this, "GroupBox6"};
    TEdit Edit29{*this, "Edit29"};      // mass
    TButton Button2{*this, "Button2"};  // "&Save Modifications"
    TButton Button9{*this, "Button9"};  // "&Restore Defaults"
    TButton Button6{*this, "Button6"};  // "&Export..."
    TButton Button5{*this, "Button5"};  // "&Import..."

    // The loaded ship (window/ships_tab.cpp fills it and writes it back).
    ShipState Ship;
    std::array<std::uint8_t, kMaxGunMounts> GunMountTypes{};
    std::array<std::uint16_t, kMaxGunMounts> GunMountAmmo{};
    std::array<std::uint8_t, kMaxMissileMounts> MissileMountTypes{};
    // The ship file's bytes as the shown ship was read from them: a save first checks that the file still holds them.
    std::vector<std::uint8_t> ShipBytesAsRead;

    // window/ships_tab.cpp
    void ComboBox1Change();
    void LoadShip(const std::string& key);
    // Loads Ship.ShipFile again, without looking its name up anew: a save reloads the file it wrote.
    void LoadShipFile();
    void Button2Click();
    void ListBox1Click();
    void Button3Click();
    void ListBox2Click();
    void Button4Click();
    // window/booster_dialog.cpp
    void CheckBox2Click();
    void Button11Click();
    // window/profiles.cpp
    void Button6Click();
    void Button5Click();
    void Button9Click();
    void ExportProfile(const std::string& path);
    void ImportProfile(const std::string& path);

    // ---- "Add/Remove Guns" tab (window/gun_slots_tab.cpp) -----------------------------------------------------------
    TComboBox ComboBox6{*this, "ComboBox6"};  // ship names
    TListBox ListBox3{*this, "ListBox3"};     // gun slots
    TButton Button13{*this, "Button13"};      // "&Copy"
    TButton Button12{*this, "Button12"};      // "&Delete"
    TButton Button14{*this, "Button14"};      // "&Save Modifications"
    TGroupBox GroupBox7{*this, "GroupBox7"};  // "Info"
    TMemo Memo1{*this, "Memo1"};

    GunSlotTable GunSlots;  // the ship's slots as the list shows them
    // The ship file and its catalogue section as the slot table was read from them: a slot save writes both.
    std::vector<std::uint8_t> SlotShipAsRead;
    std::vector<std::pair<std::string, std::string>> SlotSectionAsRead;

    void ComboBox6Change();
    void LoadGunSlots();
    void Button13Click();
    void Button12Click();
    void Button14Click();

    // ---- "Ship Switcher" tab (window/switcher_tab.cpp) --------------------------------------------------------------
    TListBox ListBox4{*this, "ListBox4"};     // left: the ship to be replaced
    TListBox ListBox5{*this, "ListBox5"};     // right: the ship to fly
    TButton Button10{*this, "Button10"};      // "< Swap >"
    TGroupBox GroupBox8{*this, "GroupBox8"};  // "Info"
    TMemo Memo2{*this, "Memo2"};

    void BuildSwitcherLists();
    void Button10Click();

    // ---- "Guns" tab (window/guns_tab.cpp) ---------------------------------------------------------------------------
    TLabel Label8{*this, "Label8"};           // "Select &a gun to edit:"
    TComboBox ComboBox4{*this, "ComboBox4"};  // gun names
    TEdit Edit30{*this, "Edit30"};            // speed
    TEdit Edit31{*this, "Edit31"};            // range
    TEdit Edit34{*this, "Edit34"};            // refire delay (ms)
    TEdit Edit32{*this, "Edit32"};            // energy
    TEdit Edit33{*this, "Edit33"};            // damage
    TButton Button7{*this, "Button7"};        // "Save Modifications"

    int LoadedGun = -1;  // the gun whose record the boxes show, -1 while no record was read whole
    // The bytes of that gun's record in the gun table as the boxes were loaded from them: a save first checks that
    // the table still holds them, so a change another program made to this gun is never written over. Changes to
    // other guns are kept by the save as they are.
    std::vector<std::uint8_t> GunRecordAsRead;

    void ComboBox4Change();
    void LoadGun(std::uint8_t index);
    void Button7Click();

    // ---- "Missiles" tab (window/missiles_tab.cpp) -------------------------------------------------------------------
    TLabel Label21{*this, "Label21"};           // "Select &a missile to edit:"
    TComboBox ComboBox5{*this, "ComboBox5"};    // missile names
    TEdit Edit42{*this, "Edit42"};              // lock time (ms)
    TEdit Edit37{*this, "Edit37"};              // speed
    TEdit Edit38{*this, "Edit38"};              // duration (ms)
    TEdit Edit39{*this, "Edit39"};              // range
    TEdit Edit36{*this, "Edit36"};              // Y
    TEdit Edit35{*this, "Edit35"};              // P
    TEdit Edit46{*this, "Edit46"};              // spin rate
    TEdit Edit40{*this, "Edit40"};              // acceleration
    TEdit Edit43{*this, "Edit43"};              // refire delay (ms)
    TEdit Edit41{*this, "Edit41"};              // damage
    TEdit Edit47{*this, "Edit47"};              // spoof probability (%)
    TCheckBox CheckBox3{*this, "CheckBox3"};    // "&Split up"
    TGroupBox GroupBox9{*this, "GroupBox9"};    // the split-up group, hidden at start
    TEdit Edit48{*this, "Edit48"};              // split-up delay (ms)
    TEdit Edit49{*this, "Edit49"};              // number of sub-missiles
    TComboBox ComboBox7{*this, "ComboBox7"};    // sub-missile type
    TGroupBox GroupBox10{*this, "GroupBox10"};  // "Flags"
    TCheckBox Flag1{*this, "Flag1"};
    TCheckBox Flag2{*this, "Flag2"};
    TCheckBox Flag3{*this, "Flag3"};
    TCheckBox Flag4{*this, "Flag4"};
    TCheckBox Flag5{*this, "Flag5"};
    TCheckBox Flag6{*this, "Flag6"};
    TCheckBox Flag7{*this, "Flag7"};
    TCheckBox Flag8{*this, "Flag8"};
    TCheckBox Flag9{*this, "Flag9"};
    TCheckBox Flag10{*this, "Flag10"};
    TCheckBox Flag11{*this, "Flag11"};
    TCheckBox Flag12{*this, "Flag12"};
    TButton Button8{*this, "Button8"};  // "Save Modifications"

    int LoadedMissile = -1;  // the missile whose record the controls show, -1 while none was read whole
    std::vector<std::uint8_t> MissileRecordAsRead;  // as GunRecordAsRead, in the missile table

    void ComboBox5Change();
    void LoadMissile(std::uint8_t index);
    void ShowMissileFlags(std::uint16_t flags);
    [[nodiscard]] std::uint16_t CollectMissileFlags() const;
    void CheckBox3Click();
    void Button8Click();

    // ---- "Mods" tab (window/mods_tab.cpp) ---------------------------------------------------------------------------
    TListBox ListBox6{*this, "ListBox6"};           // the mods of "Tovarin Mods" in load order
    TCheckBox CheckBox4{*this, "CheckBox4"};        // "Switched o&n": the selected mod
    TButton Button16{*this, "Button16"};            // "&Up"
    TButton Button17{*this, "Button17"};            // "&Down"
    TButton Button18{*this, "Button18"};            // "&Add..."
    TButton Button19{*this, "Button19"};            // "&Remove"
    TGroupBox GroupBox11{*this, "GroupBox11"};      // "Conflicts"
    TMemo Memo3{*this, "Memo3"};                    // one line per value two switched-on mods set differently
    TButton Button20{*this, "Button20"};            // "A&pply"
    TOpenDialog OpenDialog2{*this, "OpenDialog2"};  // a mod's mod.ini, or a sheet
    TButton Button21{*this, "Button21"};            // "&Export List..."
    TButton Button22{*this, "Button22"};            // "&Import List..."
    TSaveDialog SaveDialog2{*this, "SaveDialog2"};  // a list of mods to write
    TOpenDialog OpenDialog3{*this, "OpenDialog3"};  // a list of mods to read
    // Reads the mods folder again (a person may have unpacked a mod or edited the load order meanwhile) and shows
    // the load order, the selected mod's switch and the conflicts.
    void ShowMods();
    // Asks to apply when mods were switched, moved or added since the last Apply; false when the player stays.
    bool MayLeaveModsUnapplied();
    bool ModsNotAppliedYet = false;  // as the page last showed it
    void ListBox6Click();
    void CheckBox4Click();
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button21Click();
    void Button22Click();

    // ---- "About" tab (window/about_tab.cpp) -------------------------------------------------------------------------
    TLabel Label39{*this, "Label39"};     // "for " + the game's display name
    TButton Button15{*this, "Button15"};  // "Restore &Original Files..."

    void Button15Click();
    // Every tab shows the files as they are now, with the same choices as before (after a restore or an apply).
    void ReloadEveryTab();

    // ---- "Fleet" tab (window/fleet_tab.cpp)
    // ---------------------------------------------------------------------------
    TComboBox ComboBox8{*this, "ComboBox8"};    // "Ships", "Guns", "Missiles": the table shown
    TEdit Edit50{*this, "Edit50", ""};          // keeps the rows whose name holds this text
    TCheckBox CheckBox5{*this, "CheckBox5"};    // "&Changed only": the rows with a value other than its original
    TGrid Grid1{*this, "Grid1"};                // the table: a row per ship or weapon, a column per value
    TLabel Label62{*this, "Label62"};           // "8 ships, 3 shown", or why the fleet cannot be shown
    TCheckBox CheckBox6{*this, "CheckBox6"};    // "Char&t": the shown rows as a chart in the grid's place
    TComboBox ComboBox9{*this, "ComboBox9"};    // the scatter's X: a numeric column (ships only)
    TComboBox ComboBox10{*this, "ComboBox10"};  // the scatter's Y, or the bars' field
    TChartView Chart1{*this, "Chart1"};
    TButton Button23{*this, "Button23"};      // "&Reset to Original"
    TButton Button24{*this, "Button24"};      // "Change &Many..."
    TButton Button25{*this, "Button25"};      // "Make a Mo&d from My Changes..."
    TCheckBox CheckBox7{*this, "CheckBox7"};  // "Show &selected only": the rows chosen, side by side

    static constexpr int kFleetPage = 7;
    std::unique_ptr<FleetGridRows> FleetRows;  // what Grid1 shows, as last read

    // Reads the installation again and shows the chosen table with the filter: when the page is shown, and after
    // any change to the game's files made while it is shown.
    void ShowFleet();
    void ComboBox8Change();
    void Edit50Change();
    void CheckBox5Click();
    // Applies the name filter, "Changed only" and "Show selected only" to the rows read, and marks the heads of the
    // columns in which the rows compared differ.
    void FilterFleet();
    // (window/fleet_chart.cpp) Shows the grid or the chart, the axes' lists filled from the table's columns.
    void CheckBox6Click();
    void ComboBox9Change();
    void ComboBox10Change();
    // Draws the chart of the rows the grid shows, from the chosen columns; a click on a point selects its row.
    void DrawFleetChart();
    void Chart1Pick(int item);
    std::vector<std::string> ChartKeys;  // the columns the axes' lists offer, by their keys, in the lists' order
    // The source rows "Show selected only" keeps, by row: chosen when the box was ticked, kept while the same table
    // is read again.
    std::vector<bool> FleetCompared;
    void CheckBox7Click();
    // The rows the page's buttons act on: the selected ones, or every shown one when none is selected.
    [[nodiscard]] std::vector<std::size_t> FleetRowsActedOn() const;
    // The focused cell's column when it holds a value (not the name or the file).
    [[nodiscard]] std::optional<std::size_t> FleetValueColumn() const;
    // The values "&Reset to Original" puts back: the focused column's in the rows acted on when a value is focused,
    // else every changed value of those rows.
    [[nodiscard]] std::vector<CellAddress> FleetCellsToReset() const;
    // Says in the status line what "&Reset to Original" and "Change &Many..." would act on, as the selection changes.
    void Grid1Select();
    void Button23Click();
    void Button24Click();
    void Button25Click();

    // ---- The Fleet page's edits (window/fleet_edits.cpp, window/fleet_dialogs.cpp) ---------------------------------
    // The game as the core's fleet edits see it: the catalogue's lists, the files as they are now.
    [[nodiscard]] Fleet FleetNow() const;
    // Before a write to these ships or weapons: an editor that shows one of them with unsaved changes is asked about
    // first, as choosing another item does; false when the player stays.
    bool MayWriteFleetItems(SheetKind kind, const std::vector<std::string>& items);
    // After such a write, the editors that show one of them read it again.
    void ReloadFleetItems(SheetKind kind, const std::vector<std::string>& items);
    // A cell typed into: written as "ship set", "guns set" or "missiles set" writes it, as one step of the undo.
    // False when the player chose to stay with the unsaved edits of its item.
    bool WriteFleetCell(const CellAddress& cell, const std::string& text);
    // Enter in a cell of the grid: the value written, the page read again; a refused text keeps the edit open.
    bool Grid1EditCommit(std::size_t row, std::size_t column, const std::string& text);
    [[nodiscard]] std::vector<std::string> Grid1EditChoices(std::size_t column) const;
    // "Reset to original" for these cells: their original bytes, as one change and one step of the undo; the
    // values it cannot put back are said in a box.
    void ResetToOriginal(const std::vector<CellAddress>& cells);
    // Opens "Change Many at Once" on one column of these rows.
    void ChangeManyAtOnce(SheetKind kind, std::vector<std::size_t> items, std::size_t column);
    [[nodiscard]] EditPlan PlanFleetChange(const BulkChange& change) const;
    // Writes a previewed plan as one change of its files and one step of the undo.
    void WriteFleetPlan(const EditPlan& plan);
    // Opens "Make a Mod from My Changes"; its OK makes the mod.
    void MakeModFromMyChanges();
    void MakeModOfChanges(const ModInfo& info);

    // ---- Undo and redo (window/undo_buttons.cpp)
    // ---------------------------------------------------------------------
    UndoHistory History;  // the changes this run of the window made to the game's files

    void UndoClick();
    void RedoClick();
    // Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo.
    bool FormShortCut(char key, bool shift);
    // The buttons name the steps they undo and redo, and are greyed while there is none.
    void ShowUndoButtons();
    // Held by each handler that changes game files, for the length of its action: the step it makes is named so.
    [[nodiscard]] ChangeRecording RecordStep(std::string name);

    // ---- Unsaved changes and the caption (window/unsaved_changes.cpp) -----------------------------------------------
    // What an editor showed when it had loaded its item, to tell the player's changes from it.
    struct LoadedItem {
        std::string Name;  // as its list names it
        int Index = -1;    // in its list
        std::vector<std::string> Values;
    };
    std::array<std::optional<LoadedItem>, kEditorCount> LoadedItems;
    int PageShown = 0;  // the tab shown before the player chose another

    // The item the shown tab edits, marked "*" while it has unsaved changes, then "Tovarin 1.0".
    [[nodiscard]] std::string Caption() const override;
    void KeepLoadedValues(Editor editor);
    [[nodiscard]] bool Modified(Editor editor) const;
    // Asks "Save changes to ...?" when the editor has unsaved changes; false when the player is to stay: Cancel,
    // or Yes with a save that did not succeed.
    bool AskToSave(Editor editor);
    // Asked at the start of the events that leave an item. On false nothing happens; a list shows its previous
    // choice again.
    bool MayLeave(TComboBox& list, std::initializer_list<Editor> editors);
    bool MayChangePage();
    bool MaySwap();
    // Closing the window, and restoring the originals (which loads every tab again), leave every item.
    bool MayLeaveEveryItem();
    // "Restore Defaults" replaces the Ships tab's boxes: typed values not yet saved are asked about first.
    bool MayRestoreDefaults();
    // Reads the editor's item again and puts back what the player had changed from what was loaded.
    void ReloadKeepingEdits(Editor editor);
    // The refusal of a save whose `file` another program `changed` since the editor read it: the item is read again,
    // keeping the player's edits, so that a second save writes them over the other program's values.
    void RefuseIfChanged(Editor editor, const std::string& file, bool changed);

    // ---- The archive patch (window/startup.cpp) ---------------------------------------------------------------------
    void InstallPatch();
    void RemovePatch();

    // An error about a file names it, a game file by its path in the game folder ("Ships\kestrel.iff: ...").
    [[nodiscard]] std::string ErrorText(const Exception& error) const override;

    // The path of a file in the game folder, named with backslashes ("Ships\switch.dat").
    [[nodiscard]] std::string GameFile(std::string_view relativeName) const;
    // The loaded ship's file.
    [[nodiscard]] std::string ShipPath() const;

private:
    void BindEvents();
    void UndoOrRedo(bool redo);
};

// The question at the first start in a game folder: whether to install into the game (`game` is the catalogue's
// name for it). It says what installing changes and that No ends the program.
[[nodiscard]] std::string InstallQuestion(const std::string& game);

}  // namespace tovarin
