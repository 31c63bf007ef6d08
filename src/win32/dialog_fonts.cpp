#include "win32/dialog_fonts.h"

#include <map>
#include <string_view>

#include "ui/booster_dialog_layout.h"
#include "ui/main_window_layout.h"
#include "win32/caption_fit.h"

namespace tovarin {

namespace {

constexpr const wchar_t* kSystemDialogFace = L"MS Shell Dlg";  // every Windows maps it to its dialog font
// The design face first, then faces of the same build that Windows has had: its TrueType twin and the dialog face
// of later Windows. Under Wine without its own fonts none of them is there, and the font mapper makes the system's
// dialog face of a face of the host, most often DejaVu Sans, which is a fifth wider than the design face: its
// condensed cut shows the captions at a larger size. Last the system's dialog face, whatever it is.
constexpr const wchar_t* kFaces[] = {L"MS Sans Serif", L"Microsoft Sans Serif", L"Tahoma", L"DejaVu Sans Condensed",
                                     kSystemDialogFace};
constexpr int kDialogPoints = 8;
constexpr int kSmallestPoints = 6;  // below this a face is too small to read comfortably, whatever fits
constexpr int kTitlePoints = 14;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// `height` in pixels: the height of the characters without their internal leading, as points give it. The text is
// drawn sharp, as the design face (a bitmap face) draws it: a TrueType face smoothed at this small size turns its
// one-pixel strokes grey.
HFONT MakeFont(const wchar_t* face, int height, int weight) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

int PointsToPixels(int points, int dpi) { return MulDiv(points, dpi, 72); }

struct DialogFace {
    const wchar_t* Face;
    int Height;  // in pixels
};

// Whether the font mapper gives the face asked for (rather than another because it is not installed), and whether
// every caption of both windows fits its room in it.
struct FaceTrial {
    bool Installed;
    bool Fits;
};

FaceTrial Try(const wchar_t* face, int height, int dpi) {
    HFONT font = MakeFont(face, height, FW_NORMAL);
    if (font == nullptr) return {false, false};
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    wchar_t chosen[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, chosen);
    const bool installed = std::wstring_view(face) == kSystemDialogFace || lstrcmpiW(chosen, face) == 0;
    const bool fits =
        installed && CaptionsFit(screen, MainWindowLayout(), dpi) && CaptionsFit(screen, BoosterDialogLayout(), dpi);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return {installed, fits};
}

// The design face at the design size where it is installed and every caption fits in it. Otherwise the face and
// size that show every caption whole in the room the layout gives it, the larger size the better, and of two
// faces that fit at one size the earlier one. The window and its controls keep their design size either way.
DialogFace ChooseDialogFace(int dpi) {
    const int designHeight = PointsToPixels(kDialogPoints, dpi);
    const int smallestHeight = PointsToPixels(kSmallestPoints, dpi);
    DialogFace best{kSystemDialogFace, smallestHeight};  // nothing fits: the smallest size cuts the least
    int bestFitting = smallestHeight - 1;
    for (const wchar_t* face : kFaces) {
        for (int height = designHeight; height > bestFitting; --height) {
            const FaceTrial trial = Try(face, height, dpi);
            if (!trial.Installed) break;
            if (trial.Fits) {
                best = {face, height};
                bestFitting = height;
                break;
            }
        }
        if (bestFitting == designHeight) break;
    }
    return best;
}

}  // namespace

DialogFonts::DialogFonts() : dpi_(ScreenDpi()), normal_(nullptr), title_(nullptr) { Make(); }

DialogFonts::~DialogFonts() {
    DeleteObject(normal_);
    DeleteObject(title_);
}

void DialogFonts::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    DeleteObject(normal_);
    DeleteObject(title_);
    dpi_ = dpi;
    Make();
}

void DialogFonts::Make() {
    // The installed fonts stay as they are while the program runs: the choice is made once for each DPI.
    static std::map<int, DialogFace> chosen;
    if (!chosen.contains(dpi_)) chosen.emplace(dpi_, ChooseDialogFace(dpi_));
    const DialogFace& face = chosen.at(dpi_);
    normal_ = MakeFont(face.Face, face.Height, FW_NORMAL);
    // A face that has a true bold at every size, wherever the program runs.
    title_ = MakeFont(kSystemDialogFace, PointsToPixels(kTitlePoints, dpi_), FW_BOLD);
}

int DialogFonts::LineHeight() const {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, normal_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight > 0 ? metrics.tmHeight : Scale(13);
}

}  // namespace tovarin
