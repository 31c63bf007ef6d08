#include "win32/caption_fit.h"

#include <string_view>

#include "win32/wide_text.h"

namespace tovarin {

namespace {

// What the controls draw around a caption, in design pixels: a button's edge and focus frame on each side, the
// square of a check box, a group box's title inset from its corners on each side, a tab's padding on each side
// and the tab control's edge, an edit box's frame. The number boxes are as wide as the design face's digits need:
// ten digits of 6 pixels.
constexpr int kButtonInset = 3;
constexpr int kCheckSquare = 13;
constexpr int kGroupTitleInset = 8;
constexpr int kTabPadding = 4;
constexpr int kTabControlEdge = 4;
constexpr int kFieldInsets = 4;
constexpr int kDesignDigitsWidth = 60;

// The caption's extent in the selected font; with `wrapWidth`, broken into lines at blanks within that width.
SIZE Extent(HDC dc, std::string_view caption, int wrapWidth = 0) {
    RECT text{0, 0, wrapWidth, 0};
    const UINT lines = wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE;
    const std::wstring shown = Wide(caption);
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text, DT_CALCRECT | lines);
    return {text.right, text.bottom};
}

class Room {
public:
    Room(HDC dc, int dpi) : dc_(dc), dpi_(dpi) {
        SIZE zero{};
        GetTextExtentPoint32W(dc, L"0", 1, &zero);
        checkGap_ = zero.cx / 2 + 2;  // a check box's text starts half a digit after its square, framed when focused
    }

    [[nodiscard]] bool Fits(const LayoutRow& row, const std::vector<LayoutRow>& rows) const {
        const int width = Scale(row.Width);
        switch (row.Kind) {
            case ControlKind::Label:
                return row.Bold || LabelFits(row);
            case ControlKind::Button:
                return Extent(dc_, row.Caption).cx + 2 * Scale(kButtonInset) <= width;
            case ControlKind::CheckBox:
                return Scale(kCheckSquare) + checkGap_ + Extent(dc_, row.Caption).cx <= width;
            case ControlKind::GroupBox:
                return Extent(dc_, row.Caption).cx + 2 * Scale(kGroupTitleInset) <= width;
            case ControlKind::Edit:
                if (!row.ReadOnly) return Extent(dc_, "0123456789").cx <= Scale(kDesignDigitsWidth);
                return Extent(dc_, row.Caption).cx + Scale(kFieldInsets) <= width;
            case ControlKind::PageControl:
                return TabsWidth(row, rows) <= width;
            default:
                return true;
        }
    }

private:
    [[nodiscard]] int Scale(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }

    [[nodiscard]] bool LabelFits(const LayoutRow& row) const {
        if (!row.WordWrap) return Extent(dc_, row.Caption).cx <= Scale(row.Width);
        const SIZE lines = Extent(dc_, row.Caption, Scale(row.Width));
        return lines.cx <= Scale(row.Width) && lines.cy <= Scale(row.Height);
    }

    [[nodiscard]] int TabsWidth(const LayoutRow& tabControl, const std::vector<LayoutRow>& rows) const {
        int width = Scale(kTabControlEdge);
        for (const LayoutRow& page : rows) {
            if (page.Kind != ControlKind::TabSheet || page.Parent != tabControl.Name) continue;
            width += Extent(dc_, page.Caption).cx + 2 * Scale(kTabPadding);
        }
        return width;
    }

    HDC dc_;
    int dpi_;
    int checkGap_;
};

}  // namespace

bool CaptionsFit(HDC dc, const std::vector<LayoutRow>& rows, int dpi) {
    const Room room(dc, dpi);
    for (const LayoutRow& row : rows) {
        if (!room.Fits(row, rows)) return false;
    }
    return true;
}

}  // namespace tovarin
