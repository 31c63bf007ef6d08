#include "charts/chart_shapes.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace tovarin {

namespace {

// The plot's margins hold the tick values (left, bottom) and the axes' keys.
constexpr double kLeft = 80, kRight = 30, kTop = 20, kBottom = 70;
constexpr double kRadius = 4;
constexpr double kNameGap = 6, kNameRise = 7, kNameLine = 13;  // a name beside its point; shared places stack
constexpr double kTickLength = 4, kTickGap = 2, kTickText = 16;
constexpr double kFont = 11, kSmallFont = 10;
constexpr double kHitSlack = 3;  // a click this near a point still counts: points are small

// Where the plot stands in the box, and where a value lands in it.
struct Frame {
    double Left, Right, Top, Bottom, Scale;

    static double Place(const Axis& axis, double value, double from, double to) {
        const double span = axis.Max - axis.Min;
        return span == 0 ? (from + to) / 2 : from + (value - axis.Min) / span * (to - from);
    }
    double X(const Chart& chart, double x) const { return Place(chart.X, x, Left, Right); }
    double Y(const Chart& chart, double y) const { return Place(chart.Y, y, Bottom, Top); }
};

Shape LineShape(ShapeRole role, int item, double x, double y, double x2, double y2) {
    Shape shape;
    shape.Kind = ShapeKind::Line;
    shape.Role = role;
    shape.Item = item;
    shape.X = x;
    shape.Y = y;
    shape.X2 = x2;
    shape.Y2 = y2;
    return shape;
}

Shape TextShape(ShapeRole role, int item, double x, double y, std::string text, TextAnchor anchor, double fontSize) {
    Shape shape;
    shape.Kind = ShapeKind::Text;
    shape.Role = role;
    shape.Item = item;
    shape.X = x;
    shape.Y = y;
    shape.Text = std::move(text);
    shape.Anchor = anchor;
    shape.FontSize = fontSize;
    return shape;
}

Shape CircleShape(ShapeRole role, int item, double x, double y, double radius) {
    Shape shape = LineShape(role, item, x, y, radius, 0);
    shape.Kind = ShapeKind::Circle;
    return shape;
}

void DrawAxes(const Chart& chart, const Frame& frame, ChartPicture& picture) {
    auto& shapes = picture.Shapes;
    const double s = frame.Scale;
    shapes.push_back(LineShape(ShapeRole::Axis, -1, frame.Left, frame.Bottom, frame.Right, frame.Bottom));
    shapes.push_back(LineShape(ShapeRole::Axis, -1, frame.Left, frame.Top, frame.Left, frame.Bottom));
    for (const Tick& tick : chart.Y.Ticks) {
        const double y = frame.Y(chart, tick.Value);
        shapes.push_back(LineShape(ShapeRole::Tick, -1, frame.Left - kTickLength * s, y, frame.Left, y));
        shapes.push_back(TextShape(ShapeRole::TickLabel, -1, frame.Left - (kTickLength + kTickGap) * s, y, tick.Label,
                                   TextAnchor::End, kFont * s));
        shapes.back().Centred = true;
    }
    for (const Tick& tick : chart.X.Ticks) {
        const double x = frame.X(chart, tick.Value);
        shapes.push_back(LineShape(ShapeRole::Tick, -1, x, frame.Bottom, x, frame.Bottom + kTickLength * s));
        shapes.push_back(TextShape(ShapeRole::TickLabel, -1, x, frame.Bottom + kTickText * s, tick.Label,
                                   TextAnchor::Middle, kFont * s));
    }
    // Bars are named under themselves, where an axis key ("gun") would only run into their names.
    if (chart.Kind != ChartKind::Bars) {
        shapes.push_back(TextShape(ShapeRole::AxisLabel, -1, (frame.Left + frame.Right) / 2, picture.Height - 20 * s,
                                   chart.X.Label, TextAnchor::Middle, kFont * s));
    }
    shapes.push_back(TextShape(ShapeRole::AxisLabel, -1, 16 * s, (frame.Top + frame.Bottom) / 2, chart.Y.Label,
                               TextAnchor::Middle, kFont * s));
    shapes.back().Rotation = -90;
}

void DrawChain(const Chart& chart, const Frame& frame, ChartPicture& picture) {
    Shape chain;
    chain.Kind = ShapeKind::Polyline;
    chain.Role = ShapeRole::Chain;
    for (std::size_t i = 0; i < chart.Marks.size(); ++i) {
        const double x = frame.X(chart, chart.Marks[i].X);
        // A value holds until the next step changes it: across, then up or down.
        if (i > 0) chain.Points.emplace_back(x, frame.Y(chart, chart.Marks[i - 1].Y));
        chain.Points.emplace_back(x, frame.Y(chart, chart.Marks[i].Y));
    }
    picture.Shapes.push_back(std::move(chain));
}

void DrawMarks(const Chart& chart, const Frame& frame, ChartPicture& picture) {
    const double s = frame.Scale;
    std::map<std::pair<long long, long long>, int> taken;  // names already at a pixel: the next one goes below
    for (std::size_t i = 0; i < chart.Marks.size(); ++i) {
        const Mark& mark = chart.Marks[i];
        const int item = static_cast<int>(i);
        const double x = frame.X(chart, mark.X), y = frame.Y(chart, mark.Y);
        if (mark.OriginalX && mark.OriginalY) {
            const double ox = frame.X(chart, *mark.OriginalX), oy = frame.Y(chart, *mark.OriginalY);
            picture.Shapes.push_back(CircleShape(ShapeRole::Original, item, ox, oy, kRadius * s));
            // The arrow's head stops at the point's edge, where the point does not cover it.
            const double length = std::hypot(x - ox, y - oy), stop = (kRadius + 1) * s;
            const double keep = length > 2 * stop ? (length - stop) / length : 1;
            picture.Shapes.push_back(
                LineShape(ShapeRole::Change, item, ox, oy, ox + (x - ox) * keep, oy + (y - oy) * keep));
        }
        picture.Shapes.push_back(CircleShape(ShapeRole::Mark, item, x, y, kRadius * s));
        const int before = taken[{std::llround(x), std::llround(y)}]++;
        // Names of points in the right third stand left of them, inside the picture rather than cut at its edge.
        const bool leftOfPoint = x > frame.Left + (frame.Right - frame.Left) * 2 / 3;
        picture.Shapes.push_back(TextShape(ShapeRole::Name, item, x + (leftOfPoint ? -kNameGap : kNameGap) * s,
                                           y - (kNameRise - kNameLine * before) * s, mark.Name,
                                           leftOfPoint ? TextAnchor::End : TextAnchor::Start, kFont * s));
    }
}

void DrawBars(const Chart& chart, const Frame& frame, ChartPicture& picture) {
    const double s = frame.Scale;
    const double slot = (frame.Right - frame.Left) / static_cast<double>(chart.Bars.size());
    const double zero = frame.Y(chart, 0);
    for (std::size_t i = 0; i < chart.Bars.size(); ++i) {
        const Bar& bar = chart.Bars[i];
        const int item = static_cast<int>(i);
        const double left = frame.Left + slot * static_cast<double>(i) + slot * 0.15;
        const auto rect = [&](ShapeRole role, double value) {
            const double top = frame.Y(chart, value);
            Shape shape = LineShape(role, item, left, std::min(top, zero), slot * 0.7, std::abs(zero - top));
            shape.Kind = ShapeKind::Rect;
            picture.Shapes.push_back(std::move(shape));
        };
        if (bar.Original) rect(ShapeRole::Original, *bar.Original);
        if (bar.Value) rect(ShapeRole::Bar, *bar.Value);
        if (!bar.Note.empty()) {
            picture.Shapes.push_back(
                TextShape(ShapeRole::Note, item, left, zero - 4 * s, bar.Note, TextAnchor::Start, kSmallFont * s));
        }
        picture.Shapes.push_back(TextShape(ShapeRole::Name, item, left + slot * 0.35, zero + 14 * s, bar.Name,
                                           TextAnchor::End, kSmallFont * s));
        picture.Shapes.back().Rotation = -35;
    }
}

}  // namespace

ChartPicture DrawChart(const Chart& chart, double width, double height, double scale) {
    ChartPicture picture{width, height, {}};
    // A box smaller than the margins still gets a plot of a pixel rather than one turned inside out.
    const double left = kLeft * scale, top = kTop * scale;
    const Frame frame{left, std::max(left + 1, width - kRight * scale), top,
                      std::max(top + 1, height - kBottom * scale), scale};
    DrawAxes(chart, frame, picture);
    if (chart.Kind == ChartKind::Steps && chart.Marks.size() > 1) DrawChain(chart, frame, picture);
    if (chart.Kind == ChartKind::Bars) {
        DrawBars(chart, frame, picture);
    } else {
        DrawMarks(chart, frame, picture);
    }
    return picture;
}

int ItemAt(const ChartPicture& picture, double x, double y) {
    for (auto shape = picture.Shapes.rbegin(); shape != picture.Shapes.rend(); ++shape) {
        if (shape->Item < 0) continue;
        if (shape->Kind == ShapeKind::Circle && shape->Role == ShapeRole::Mark &&
            std::hypot(x - shape->X, y - shape->Y) <= shape->X2 + kHitSlack) {
            return shape->Item;
        }
        if (shape->Kind == ShapeKind::Rect && x >= shape->X && x <= shape->X + shape->X2 && y >= shape->Y &&
            y <= shape->Y + shape->Y2) {
            return shape->Item;
        }
    }
    return -1;
}

}  // namespace tovarin
