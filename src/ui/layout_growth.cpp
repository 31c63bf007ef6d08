#include "ui/layout_growth.h"

#include <algorithm>
#include <string_view>

namespace tovarin {

namespace {

struct Extra {
    int Width = 0;
    int Height = 0;
};

// As the window scales its design: rounded to the nearest pixel.
int Scale(int designPixels, int dpi) { return (designPixels * dpi + 48) / 96; }

bool ShowsRows(const LayoutRow& row) { return row.Kind == ControlKind::ListBox || row.Kind == ControlKind::Memo; }

// A list or memo cut to whole rows: the pixels below its last whole row are left to its parent's face.
int WholeRows(int height, int rowHeight) {
    if (rowHeight <= 0 || height <= kListFrame) return height;
    return kListFrame + (height - kListFrame) / rowHeight * rowHeight;
}

}  // namespace

std::vector<PlacedRow> ArrangeLayout(const std::vector<LayoutRow>& rows, int designWidth, int designHeight,
                                     int clientWidth, int clientHeight, const LayoutMetrics& metrics) {
    const int dpi = metrics.Dpi > 0 ? metrics.Dpi : 96;
    const Extra window{std::max(0, clientWidth - Scale(designWidth, dpi)),
                       std::max(0, clientHeight - Scale(designHeight, dpi))};
    std::vector<PlacedRow> placed(rows.size());
    std::vector<Extra> grown(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LayoutRow& row = rows[i];
        Extra parent = window;
        for (std::size_t p = 0; p < i; ++p) {
            if (!row.Parent.empty() && rows[p].Name == row.Parent) parent = grown[p];
        }
        const Growth& g = row.Grows;
        PlacedRow& box = placed[i];
        box.Left = Scale(row.Left, dpi) + parent.Width * g.MoveX / 100;
        box.Top = Scale(row.Top, dpi) + parent.Height * g.MoveY / 100;
        box.Width = Scale(row.Width, dpi) + parent.Width * g.GrowX / 100;
        box.Height = Scale(row.Height, dpi) + parent.Height * g.GrowY / 100;
        grown[i] = {box.Width - Scale(row.Width, dpi), box.Height - Scale(row.Height, dpi)};
        if (ShowsRows(row)) box.Height = WholeRows(box.Height, metrics.RowHeight);
    }
    return placed;
}

}  // namespace tovarin
