#pragma once

#include <string_view>

namespace tovarin {

enum class ControlKind {
    PageControl,
    TabSheet,
    GroupBox,
    Label,
    Bevel,
    Edit,
    ComboBox,
    ListBox,
    CheckBox,
    Button,
    UpDown,
    Memo,
    StatusLine,  // one line of text saying what the last action did; shortened in the middle of a path
    Grid,        // rows and columns of values (ui/grid.h), drawn as a virtual list view
};

// How a control follows its parent when the window is larger than designed, in percent of the parent's growth: the
// left (top) edge moves by Move, the width (height) grows by Grow. All zero: the control keeps its place at the
// parent's top left and its size. Lists and memos that grow show whole rows only.
struct Growth {
    int MoveX = 0;
    int GrowX = 0;
    int MoveY = 0;
    int GrowY = 0;
};

// One control of a window: where it stands and what it starts with. Positions are in pixels relative to the
// parent's client area (the form's, a tab page's or a group box's), as the window is designed at 96 DPI.
struct LayoutRow {
    std::string_view Name;
    ControlKind Kind;
    std::string_view Parent;  // "" for the form itself
    int Left;
    int Top;
    int Width;
    int Height;
    std::string_view Caption = {};  // caption, an edit box's initial text, or a memo's text ("\n" between lines)
    int TabOrder = -1;              // within the parent; -1 for controls that take no focus
    int DropDownRows = 0;           // drop-down lists: rows shown when opened
    bool Visible = true;
    bool ReadOnly = false;               // edit boxes and memos
    bool Grey = false;                   // text drawn greyed (the booster dialog's copies of other values)
    bool Borderless = false;             // edit boxes without a frame
    bool Bold = false;                   // large bold type (the About page's title)
    std::string_view FocusControl = {};  // labels: the control their "&" mnemonic focuses
    bool WordWrap = false;               // labels: text broken into lines at blanks within the row's width
    bool Centred = false;                // labels and edit boxes: text centred in the row's width
    bool Cancel = false;                 // buttons: the one the Esc key presses
    bool Default = false;                // buttons: the one the Enter key presses when no button has the focus
    bool Raised = false;                 // bevels: drawn raised rather than sunk
    Growth Grows = {};                   // how it follows its parent beyond the design size
    std::string_view SpokenName = {};    // what a screen reader calls it, where its label alone would not say it
};

}  // namespace tovarin
