#include "gamefiles/numbers.h"
#include "ui/platform.h"
#include "window/form1.h"

// The checks that run when a numeric box loses the focus. A check that replaces or refuses the text says so
// (false): a button that was taking the focus is then not pressed, so that no action runs on a value the player
// did not type.
namespace tovarin {

// Any numeric box: a text that is no integer is replaced by the largest value the game takes well.
bool TForm1::Edit1Exit(TEdit& box) {
    if (TryStrToInt(box.Text())) return true;
    GetPlatform().ShowMessage("Out of range. Please try a value less than 2000000001.");
    box.SetText("2000000000");
    return false;
}

// Boxes for one-byte counts (decoys, missiles per mount, sub-missiles): anything above 255 becomes 255.
bool TForm1::Edit28Exit(TEdit& box) {
    const auto value = TryStrToInt(box.Text());
    if (!value) {
        GetPlatform().ShowMessage("Out of range. Please try a value less than 256.");
        return false;
    }
    if (*value <= 255) return true;
    box.SetText("255");
    return false;
}

}  // namespace tovarin
