#pragma once

#include <string>

#include "ui/controls.h"

namespace tovarin {
class TForm;
}

// What a person can do, and the only way input enters the program. Each call runs its event through the
// owning form's dispatcher, exactly as the real window does for a mouse click or a key. Reaching a control
// (clicking it, typing into it, its mnemonic) first moves the focus to it, as the window does: the box that
// had the focus runs its exit check.
namespace tovarin::UserInput {

void Type(TEdit& box, const std::string& text);   // replaces the text as typed; fires OnChange
void Leave(TEdit& box);                           // focus leaves the box; fires OnExit
void Choose(TComboBox& list, int index);          // picks an item; fires OnChange
void Select(TListBox& list, int index);           // clicks an entry; fires OnClick (-1: a click that leaves none selected)
void Click(TButton& button);                      // presses it; fires OnClick (a disabled button does nothing)
void Toggle(TCheckBox& box);                      // flips it; fires OnClick
void ShowPage(TPageControl& tabs, int page);      // chooses a tab; fires OnChange
void Close(TForm& form);                          // the window's close box: closes it unless OnCloseQuery says no

// Moves the focus to the control (a click on it, Tab, a mnemonic); the box that had it runs its exit check.
// When the check fires on the way to a button or a check box, the focus goes back to the box and the result
// is false: that control's action must not be carried out.
bool Focus(TControl& control);

// Alt and a letter (or the letter alone where the focused control takes no typing): the one shown control
// whose caption marks the letter with "&" is pressed, toggled or focused (a label focuses the control it
// names). When several shown controls share the letter, each press moves the focus to the next of them and
// presses none. False when no shown control has the letter.
bool PressMnemonic(TForm& form, char letter);

}  // namespace tovarin::UserInput
