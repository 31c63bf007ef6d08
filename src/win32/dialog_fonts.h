#pragma once

#include <windows.h>

namespace tovarin {

// The fonts and the scale of the program's windows. The layouts are designed at 96 DPI in "MS Sans Serif"
// 8 pt; on a screen of another DPI every position, size and font grows with it. A window moved to a monitor of
// another scale makes its fonts again at that monitor's DPI.
class DialogFonts {
public:
    DialogFonts();
    ~DialogFonts();
    DialogFonts(const DialogFonts&) = delete;
    DialogFonts& operator=(const DialogFonts&) = delete;

    // "MS Sans Serif" 8 pt; where it is missing, a face and size in which every caption fits its control.
    [[nodiscard]] HFONT Normal() const { return normal_; }
    // Large bold type, for the program's name on the About page.
    [[nodiscard]] HFONT Title() const { return title_; }
    // Design pixels (96 DPI) in screen pixels.
    [[nodiscard]] int Scale(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }
    [[nodiscard]] int Dpi() const { return dpi_; }
    // The height of a line of text in the normal font: a list's row, a memo's line.
    [[nodiscard]] int LineHeight() const;
    // Makes the fonts again for a screen of this DPI.
    void SetDpi(int dpi);

private:
    void Make();

    int dpi_;
    HFONT normal_;
    HFONT title_;
};

}  // namespace tovarin
