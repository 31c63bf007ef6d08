#pragma once

#include <string>

#include "ui/controls.h"

// What a person can do, and the only way input enters the program. Each call runs its event through the
// owning form's dispatcher, exactly as the real window does for a mouse click or a key.
namespace tovarin::UserInput {

void Type(TEdit& box, const std::string& text);   // replaces the text as typed; fires OnChange
void Leave(TEdit& box);                           // focus leaves the box; fires OnExit
void Choose(TComboBox& list, int index);          // picks an item; fires OnChange
void Select(TListBox& list, int index);           // clicks an entry; fires OnClick (-1: a click that leaves none selected)
void Click(TButton& button);                      // presses it; fires OnClick (a disabled button does nothing)
void Toggle(TCheckBox& box);                      // flips it; fires OnClick
void ShowPage(TPageControl& tabs, int page);      // chooses a tab; fires OnChange

}  // namespace tovarin::UserInput
