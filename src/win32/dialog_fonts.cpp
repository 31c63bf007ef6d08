#include "win32/dialog_fonts.h"

namespace tovarin {

namespace {

constexpr const char* kDesignFace = "MS Sans Serif";
constexpr const char* kSystemDialogFace = "MS Shell Dlg";  // every Windows maps it to its dialog font
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

// The window's design font; where it is missing, the system's dialog font.
const char* DialogFace(int dpi) {
    HFONT probe = MakeFont(kDesignFace, kDialogPoints, dpi, FW_NORMAL);
    const bool present = probe != nullptr && HasFace(probe, kDesignFace);
    if (probe != nullptr) DeleteObject(probe);
    return present ? kDesignFace : kSystemDialogFace;
}

}  // namespace

DialogFonts::DialogFonts() : dpi_(ScreenDpi()) {
    normal_ = MakeFont(DialogFace(dpi_), kDialogPoints, dpi_, FW_NORMAL);
    // A face that has a true bold at every size, wherever the program runs.
    title_ = MakeFont(kSystemDialogFace, kTitlePoints, dpi_, FW_BOLD);
}

DialogFonts::~DialogFonts() {
    DeleteObject(normal_);
    DeleteObject(title_);
}

}  // namespace tovarin
