#pragma once

namespace tovarin {

class TButton;
class TForm;

// The buttons the dialog keys press, as in every Windows dialog: Enter the focused button, or else the form's
// default button (the one its layout marks; the main window has none, so Enter in a box does nothing there); Esc
// the button its layout marks (the main window's "E&xit", the booster dialog's "Cancel"). nullptr for none.
[[nodiscard]] TButton* EnterButton(const TForm& form);
[[nodiscard]] TButton* EscapeButton(const TForm& form);

}  // namespace tovarin
