#pragma once

#include <string>

#include "ui/chart_view.h"
#include "ui/controls.h"
#include "ui/grid.h"

namespace tovarin {
class TForm;
}

// What a person can do, and the only way input enters the program. Each call runs its event through the
// owning form's dispatcher, exactly as the real window does for a mouse click or a key. Reaching a control
// (clicking it, typing into it, its mnemonic) first moves the focus to it, as the window does: the box that
// had the focus runs its exit check.
namespace tovarin::UserInput {

void Type(TEdit& box, const std::string& text);  // replaces the text as typed; fires OnChange
void Leave(TEdit& box);                          // focus leaves the box; fires OnExit
// Picks an item: an arrow key on the closed list, or a click on an item of the open list, which closes it; fires
// OnChange.
void Choose(TComboBox& list, int index);
void DropDown(TComboBox& list);              // opens its list (a click on its arrow, F4, Alt+Down)
void Highlight(TComboBox& list, int index);  // an arrow key in the open list moves its selection; fires nothing
// Closes the open list: on its selection (Enter; fires OnChange when that is another item than the list opened
// on), or back on the item it opened on (keep false: Esc, a click elsewhere).
void CloseUp(TComboBox& list, bool keep);
void Select(TListBox& list, int index);       // clicks an entry; fires OnClick (-1: a click that leaves none selected)
void Click(TButton& button);                  // presses it; fires OnClick (a disabled button does nothing)
void Toggle(TCheckBox& box);                  // flips it; fires OnClick
void ShowPage(TPageControl& tabs, int page);  // chooses a tab; fires OnChange
void Close(TForm& form);                      // the window's close box: closes it unless OnCloseQuery says no
// A click on the chart at a place of its area: on a point or bar, that item becomes the chosen one and OnPick fires;
// elsewhere nothing happens (a miss keeps what was chosen).
void ClickAt(TChartView& chart, int x, int y);

// The grid (ui/grid.h), rows and cells by their shown places.
void ClickHead(TGrid& grid, std::size_t column);  // sorts by the column; again reverses
// Clicks a cell (with Ctrl or Shift: selects these rows); the selection and the focused cell follow; fires OnSelect.
void SelectRows(TGrid& grid, const std::vector<std::size_t>& rows, std::size_t column = 0);
// F2, Enter or a double-click on the focused cell opens it for editing; false when it cannot be edited.
bool StartEdit(TGrid& grid);
void TypeInCell(TGrid& grid, const std::string& text);  // replaces the open edit's text as typed
// Chooses the item of the open edit's drop-down list (its column's choices); false when there is no such item.
bool ChooseInCell(TGrid& grid, std::size_t item);
// Enter: fires OnEditCommit with the typed text; the edit closes when the handler took it. False when it stays open.
bool CommitEdit(TGrid& grid);
void CancelEdit(TGrid& grid);  // Esc: the edit closes, the value stays as it was
// The pointer rests on a cell: the tooltip it shows.
[[nodiscard]] std::string Hover(TGrid& grid, std::size_t row, std::size_t column);

// Moves the focus to the control (a click on it, Tab, a mnemonic); the box that had it runs its exit check.
// When the check keeps the focus (it points the player at the box), or fires on the way to a button or a check
// box, the focus stays in the box and the result is false: the control's action must not be carried out.
bool Focus(TControl& control);

// Enter presses the focused button, or else the form's default button; Esc presses the button marked for it.
// False when there is no such button.
bool PressEnter(TForm& form);
bool PressEscape(TForm& form);

// Alt and a letter (or the letter alone where the focused control takes no typing): the one shown control
// whose caption marks the letter with "&" is pressed, toggled or focused (a label focuses the control it
// names). When several shown controls share the letter, each press moves the focus to the next of them and
// presses none. False when no shown control has the letter.
bool PressMnemonic(TForm& form, char letter);

// A key with Ctrl (and Shift) held: the form's shortcut of the key (Ctrl+Z, Ctrl+Y). As in every Windows program,
// Ctrl+Z in an edit box with typing to undo is the box's own: it undoes the typing (the front-end's box does that)
// and the form's shortcut is not pressed. False when the form did not take the key.
bool PressShortcut(TForm& form, char key, bool ctrl, bool shift);

}  // namespace tovarin::UserInput
