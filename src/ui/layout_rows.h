#pragma once

#include <string_view>

#include "ui/layout.h"

// Builders for layout rows: each kind of control with its usual height and defaults, so that a layout reads as a
// table of names, positions and captions. Sizes are those of the window's 8-point dialog font at 96 DPI.
namespace tovarin::rows {

inline constexpr int kLabelHeight = 13;
inline constexpr int kDropDownHeight = 21;
inline constexpr int kCheckBoxHeight = 17;
inline constexpr int kUpDownWidth = 15;
inline constexpr int kDropDownRows = 12;

constexpr LayoutRow Label(std::string_view name, std::string_view parent, int left, int top, int width,
                          std::string_view caption) {
    return {name, ControlKind::Label, parent, left, top, width, kLabelHeight, caption};
}

// A label whose "&" mnemonic moves the focus to the control it names.
constexpr LayoutRow Prompt(std::string_view name, std::string_view parent, int left, int top, int width,
                           std::string_view caption, std::string_view focusControl) {
    LayoutRow row = Label(name, parent, left, top, width, caption);
    row.FocusControl = focusControl;
    return row;
}

// A label of several lines, broken at blanks.
constexpr LayoutRow WrappedLabel(std::string_view name, std::string_view parent, int left, int top, int width,
                                 int height, std::string_view caption) {
    LayoutRow row{name, ControlKind::Label, parent, left, top, width, height, caption};
    row.WordWrap = true;
    return row;
}

// An edit box for a whole number; every one starts with "0".
constexpr LayoutRow NumberBox(std::string_view name, std::string_view parent, int left, int top, int width, int height,
                              int tabOrder) {
    return {name, ControlKind::Edit, parent, left, top, width, height, "0", tabOrder};
}

constexpr LayoutRow DropDown(std::string_view name, std::string_view parent, int left, int top, int width, int tabOrder,
                             int dropDownRows = kDropDownRows) {
    return {name, ControlKind::ComboBox, parent, left, top, width, kDropDownHeight, "", tabOrder, dropDownRows};
}

constexpr LayoutRow List(std::string_view name, std::string_view parent, int left, int top, int width, int height,
                         int tabOrder) {
    return {name, ControlKind::ListBox, parent, left, top, width, height, "", tabOrder};
}

constexpr LayoutRow Check(std::string_view name, std::string_view parent, int left, int top, int width,
                          std::string_view caption, int tabOrder) {
    return {name, ControlKind::CheckBox, parent, left, top, width, kCheckBoxHeight, caption, tabOrder};
}

constexpr LayoutRow Button(std::string_view name, std::string_view parent, int left, int top, int width, int height,
                           std::string_view caption, int tabOrder) {
    return {name, ControlKind::Button, parent, left, top, width, height, caption, tabOrder};
}

// Up-down arrows standing directly right of their box, as high as the box.
constexpr LayoutRow Arrows(std::string_view name, std::string_view parent, int left, int top, int height) {
    return {name, ControlKind::UpDown, parent, left, top, kUpDownWidth, height};
}

constexpr LayoutRow Group(std::string_view name, std::string_view parent, int left, int top, int width, int height,
                          std::string_view caption, int tabOrder) {
    return {name, ControlKind::GroupBox, parent, left, top, width, height, caption, tabOrder};
}

// A horizontal or vertical line; one of width and height is its thickness.
constexpr LayoutRow Rule(std::string_view name, std::string_view parent, int left, int top, int width, int height) {
    return {name, ControlKind::Bevel, parent, left, top, width, height};
}

// A read-only text of several lines ("\n" between them) with a scroll bar.
constexpr LayoutRow HelpText(std::string_view name, std::string_view parent, int left, int top, int width, int height,
                             std::string_view text, int tabOrder) {
    LayoutRow row{name, ControlKind::Memo, parent, left, top, width, height, text, tabOrder};
    row.ReadOnly = true;
    return row;
}

// A painted chart filling what its parent gains in both directions.
constexpr LayoutRow ChartArea(std::string_view name, std::string_view parent, int left, int top, int width,
                              int height) {
    LayoutRow row{name, ControlKind::ChartView, parent, left, top, width, height};
    row.Grows = {0, 100, 0, 100};
    return row;
}

// The control follows its parent's growth: see Growth.
constexpr LayoutRow Follow(LayoutRow row, int moveX, int growX, int moveY, int growY) {
    row.Grows = {moveX, growX, moveY, growY};
    return row;
}

// Stays at the parent's right (bottom) edge where 100, or keeps to the middle where 50.
constexpr LayoutRow MoveWith(LayoutRow row, int moveX, int moveY) { return Follow(row, moveX, 0, moveY, 0); }

// Grows with the parent, its top left where it is.
constexpr LayoutRow GrowWith(LayoutRow row, int growX, int growY) { return Follow(row, 0, growX, 0, growY); }

// What a screen reader calls the control where its label does not say it (a box under a column heading).
constexpr LayoutRow Spoken(LayoutRow row, std::string_view name) {
    row.SpokenName = name;
    return row;
}

constexpr LayoutRow Hide(LayoutRow row) {
    row.Visible = false;
    return row;
}

// Shown in the other control's place while that one is hidden (the Fleet page's chart where its grid stands).
constexpr LayoutRow InPlaceOf(LayoutRow row, std::string_view other) {
    row.Instead = other;
    return row;
}

constexpr LayoutRow GreyOut(LayoutRow row) {
    row.Grey = true;
    return row;
}

constexpr LayoutRow WithoutFrame(LayoutRow row) {
    row.Borderless = true;
    return row;
}

constexpr LayoutRow CentreText(LayoutRow row) {
    row.Centred = true;
    return row;
}

constexpr LayoutRow InLargeBold(LayoutRow row) {
    row.Bold = true;
    return row;
}

constexpr LayoutRow PressedByEsc(LayoutRow row) {
    row.Cancel = true;
    return row;
}

constexpr LayoutRow PressedByEnter(LayoutRow row) {
    row.Default = true;
    return row;
}

constexpr LayoutRow DrawnRaised(LayoutRow row) {
    row.Raised = true;
    return row;
}

}  // namespace tovarin::rows
