#include "win32/dialog_fonts.h"

#include <string>

namespace tovarin {

namespace {

constexpr int kDialogPoints = 8;
constexpr int kTitlePoints = 14;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

HFONT MakeFont(const char* face, int points, int dpi, int weight) {
    LOGFONTA font{};
    font.lfHeight = -MulDiv(points, dpi, 72);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// Whether the font mapper gave the face asked for, or something else because it is not installed.
bool HasFace(HFONT font, const char* face) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    char chosen[LF_FACESIZE] = {};
    GetTextFaceA(screen, LF_FACESIZE, chosen);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return lstrcmpiA(chosen, face) == 0;
}

// The window's design font; where it is missing, "MS Shell Dlg", which every Windows maps to its dialog font.
const char* DialogFace(int dpi) {
    static constexpr const char* kDesignFace = "MS Sans Serif";
    HFONT probe = MakeFont(kDesignFace, kDialogPoints, dpi, FW_NORMAL);
    const bool present = probe != nullptr && HasFace(probe, kDesignFace);
    if (probe != nullptr) DeleteObject(probe);
    return present ? kDesignFace : "MS Shell Dlg";
}

}  // namespace

DialogFonts::DialogFonts() : dpi_(ScreenDpi()) {
    const char* face = DialogFace(dpi_);
    normal_ = MakeFont(face, kDialogPoints, dpi_, FW_NORMAL);
    title_ = MakeFont(face, kTitlePoints, dpi_, FW_BOLD);
}

DialogFonts::~DialogFonts() {
    DeleteObject(normal_);
    DeleteObject(title_);
}

}  // namespace tovarin
