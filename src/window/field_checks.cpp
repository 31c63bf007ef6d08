#include "gamefiles/numbers.h"
#include "ui/platform.h"
#include "window/form1.h"

// The checks that run when a numeric box loses the focus. A check that replaces or refuses the text says so
// (false): a button that was taking the focus is then not pressed, so that no action runs on a value the player
// did not type.
namespace tovarin {

namespace {

// The messages say what is wrong but not where: the box keeps the focus with its whole text selected, so that the
// player sees which box they mean and can type over it.
void PointAt(TEdit& box) {
    box.SetFocus();
    box.SelectAll();
}

}  // namespace

// Any numeric box: a text that is no integer is refused, and the box holds again what it held before the edit (a
// value loaded, saved or typed and accepted), never a value the player did not type. A box the player has not
// changed is left alone, even one a load left empty.
bool TForm1::Edit1Exit(TEdit& box) {
    if (box.Text() == box.CheckedText() || TryStrToInt(box.Text())) return true;
    GetPlatform().ShowMessage("Out of range. Please try a value less than 2000000001.");
    box.SetText(box.CheckedText());
    PointAt(box);
    return false;
}

// Boxes for one-byte counts (decoys, missiles per mount, sub-missiles): anything above 255 becomes 255.
bool TForm1::Edit28Exit(TEdit& box) {
    const auto value = TryStrToInt(box.Text());
    if (!value) {
        GetPlatform().ShowMessage("Out of range. Please try a value less than 256.");
        PointAt(box);
        return false;
    }
    if (*value <= 255) return true;
    box.SetText("255");
    return false;
}

}  // namespace tovarin
