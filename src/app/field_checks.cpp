#include "app/form1.h"
#include "gamefiles/numbers.h"
#include "ui/platform.h"

namespace tovarin {

// Any numeric box: a text that is no integer is replaced by the largest value the game takes well.
void TForm1::Edit1Exit(TEdit& box) {
    if (TryStrToInt(box.Text())) return;
    GetPlatform().ShowMessage("Out of range. Please try a value less than 2000000001.");
    box.SetText("2000000000");
}

// Boxes for one-byte counts (decoys, missiles per mount, sub-missiles): anything above 255 becomes 255.
void TForm1::Edit28Exit(TEdit& box) {
    const auto value = TryStrToInt(box.Text());
    if (!value) {
        GetPlatform().ShowMessage("Out of range. Please try a value less than 256.");
        return;
    }
    if (*value > 255) box.SetText("255");
}

}  // namespace tovarin
