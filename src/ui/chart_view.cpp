#include "ui/chart_view.h"

#include <algorithm>
#include <optional>

namespace tovarin {

namespace {

constexpr double kRingGap = 3;  // the ring stands clear of the mark so that the mark's colour still shows

// The ring around the chosen item's mark or bar, or nothing when it has none drawn.
std::optional<Shape> Ring(const ChartPicture& picture, int item, double scale) {
    for (const Shape& shape : picture.Shapes) {
        if (shape.Item != item) continue;
        if (shape.Kind == ShapeKind::Circle && shape.Role == ShapeRole::Mark) {
            Shape ring = shape;
            ring.Role = ShapeRole::Selected;
            ring.X2 += kRingGap * scale;
            return ring;
        }
        if (shape.Kind == ShapeKind::Rect && shape.Role == ShapeRole::Bar) {
            Shape ring = shape;
            ring.Role = ShapeRole::Selected;
            ring.X -= kRingGap * scale;
            ring.Y -= kRingGap * scale;
            ring.X2 += 2 * kRingGap * scale;
            ring.Y2 += 2 * kRingGap * scale;
            return ring;
        }
    }
    return std::nullopt;
}

}  // namespace

void TChartView::SetChart(Chart chart) {
    chart_ = std::move(chart);
    empty_ = false;
    selected_ = -1;
    Redraw();
}

void TChartView::Clear() {
    chart_ = {};
    empty_ = true;
    selected_ = -1;
    Redraw();
}

void TChartView::SetSize(int width, int height, double scale) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    scale_ = scale > 0 ? scale : 1;
    Redraw();
}

void TChartView::SetSelected(int item) {
    const auto count = static_cast<int>(chart_.Kind == ChartKind::Bars ? chart_.Bars.size() : chart_.Marks.size());
    selected_ = item >= 0 && item < count ? item : -1;
    Redraw();
}

int TChartView::ItemAt(int x, int y) const { return tovarin::ItemAt(picture_, x, y); }

std::string TChartView::TipAt(int x, int y) const {
    const int item = ItemAt(x, y);
    if (item < 0) return "";
    const auto index = static_cast<std::size_t>(item);
    return chart_.Kind == ChartKind::Bars ? chart_.Bars[index].Title : chart_.Marks[index].Title;
}

void TChartView::Redraw() {
    picture_ = empty_ ? ChartPicture{width_, height_, {}} : DrawChart(chart_, width_, height_, scale_);
    if (selected_ >= 0) {
        if (std::optional<Shape> ring = Ring(picture_, selected_, scale_)) picture_.Shapes.push_back(std::move(*ring));
    }
    ++version_;
}

}  // namespace tovarin
