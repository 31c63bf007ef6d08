#include "charts/chart_shapes.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tovarin {

namespace {

// The plot's margins hold the tick values (left, bottom) and the axes' keys.
constexpr double kLeft = 80, kRight = 30, kTop = 20, kBottom = 70;
constexpr double kRadius = 4;
constexpr double kNameGap = 6, kNameRise = 7;  // a name beside its point: a little right or left, and up
constexpr double kNameClear = 3;               // a name below its point: this far from its edge
// A text's width is not measured (the SVG's reader picks its own font): a character is taken as this share of the
// font's size, a little over the average of the sans-serif fonts, and a line as reaching this far above and below
// its baseline.
constexpr double kCharWidth = 0.62, kAscent = 0.8, kDescent = 0.25;
constexpr double kPlaceCell = 48;  // the side of the cells in which placed names are looked up
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

// Where a ship's name may stand, tried in this order: right of its point, left, above, below.
enum class Side { Right, Left, Above, Below };

// The name's text shape on that side of the point at (x, y), its middle-anchored texts kept inside the plot.
Shape NameAt(Side side, const Frame& frame, int item, double x, double y, const std::string& name) {
    const double s = frame.Scale, size = kFont * s, width = TextWidth(name, size);
    const double besideY = y - kNameRise * s;
    const double middle = std::clamp(x, frame.Left + width / 2, std::max(frame.Left, frame.Right - width / 2));
    switch (side) {
        case Side::Right:
            return TextShape(ShapeRole::Name, item, x + kNameGap * s, besideY, name, TextAnchor::Start, size);
        case Side::Left:
            return TextShape(ShapeRole::Name, item, x - kNameGap * s, besideY, name, TextAnchor::End, size);
        case Side::Above:
            // A line over the names beside points, so that a point can carry a name on each of its four sides.
            return TextShape(ShapeRole::Name, item, middle, besideY - (kAscent + kDescent) * size, name,
                             TextAnchor::Middle, size);
        case Side::Below:
            break;
    }
    return TextShape(ShapeRole::Name, item, middle, y + (kRadius + kNameClear) * s + kAscent * size, name,
                     TextAnchor::Middle, size);
}

// The boxes that names must keep clear of, kept in square cells of the plot so that each new name is checked
// against its neighbours only: a fleet of thousands is still placed at once.
class TakenPlaces {
public:
    explicit TakenPlaces(const Frame& frame)
        : frame_(frame),
          cell_(kPlaceCell * frame.Scale),
          columns_(CellOf(frame.Right - frame.Left) + 1),
          rows_(CellOf(frame.Bottom - frame.Top) + 1),
          cells_(columns_ * rows_) {}

    [[nodiscard]] bool Free(const TextBox& box) const {
        const Span span = CellsOf(box);
        for (std::size_t row = span.Top; row <= span.Bottom; ++row) {
            for (std::size_t column = span.Left; column <= span.Right; ++column) {
                for (const std::size_t taken : cells_[row * columns_ + column]) {
                    if (boxes_[taken].Overlaps(box)) return false;
                }
            }
        }
        return true;
    }

    void Take(const TextBox& box) {
        boxes_.push_back(box);
        const Span span = CellsOf(box);
        for (std::size_t row = span.Top; row <= span.Bottom; ++row) {
            for (std::size_t column = span.Left; column <= span.Right; ++column) {
                cells_[row * columns_ + column].push_back(boxes_.size() - 1);
            }
        }
    }

private:
    struct Span {
        std::size_t Left, Right, Top, Bottom;
    };

    [[nodiscard]] std::size_t CellOf(double offset) const {
        return static_cast<std::size_t>(std::max(0.0, std::floor(offset / cell_)));
    }

    // The cells a box touches; a point's box at the plot's edge reaches a little past it, into the edge's cells.
    [[nodiscard]] Span CellsOf(const TextBox& box) const {
        return {std::min(columns_ - 1, CellOf(box.Left - frame_.Left)),
                std::min(columns_ - 1, CellOf(box.Right - frame_.Left)),
                std::min(rows_ - 1, CellOf(box.Top - frame_.Top)),
                std::min(rows_ - 1, CellOf(box.Bottom - frame_.Top))};
    }

    Frame frame_;
    double cell_;
    std::size_t columns_, rows_;
    std::vector<std::vector<std::size_t>> cells_;
    std::vector<TextBox> boxes_;
};

bool InsidePlot(const TextBox& box, const Frame& frame) {
    return box.Left >= frame.Left && box.Right <= frame.Right && box.Top >= frame.Top && box.Bottom <= frame.Bottom;
}

// Each name, in the marks' order, on the first side where it runs into no name placed before it and no point (nor
// original point) and stays inside the plot. A name with no such side is left out of the picture: its point keeps its
// title (the SVG's <title>, the window's tooltip), where a name drawn over another would leave both unreadable.
std::vector<std::optional<Shape>> PlaceNames(const Chart& chart, const Frame& frame,
                                             const std::vector<std::pair<double, double>>& points) {
    TakenPlaces taken{frame};
    const double r = kRadius * frame.Scale;
    for (const auto& [x, y] : points) taken.Take({x - r, y - r, x + r, y + r});
    for (const Mark& mark : chart.Marks) {  // a faint original is a point too
        if (!mark.OriginalX || !mark.OriginalY) continue;
        const double x = frame.X(chart, *mark.OriginalX), y = frame.Y(chart, *mark.OriginalY);
        taken.Take({x - r, y - r, x + r, y + r});
    }
    std::vector<std::optional<Shape>> names(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (const Side side : {Side::Right, Side::Left, Side::Above, Side::Below}) {
            Shape name =
                NameAt(side, frame, static_cast<int>(i), points[i].first, points[i].second, chart.Marks[i].Name);
            const TextBox box = TextExtent(name);
            if (InsidePlot(box, frame) && taken.Free(box)) {
                taken.Take(box);
                names[i] = std::move(name);
                break;
            }
        }
    }
    return names;
}

void DrawMarks(const Chart& chart, const Frame& frame, ChartPicture& picture) {
    const double s = frame.Scale;
    std::vector<std::pair<double, double>> points;
    points.reserve(chart.Marks.size());
    for (const Mark& mark : chart.Marks) points.emplace_back(frame.X(chart, mark.X), frame.Y(chart, mark.Y));
    std::vector<std::optional<Shape>> names = PlaceNames(chart, frame, points);
    for (std::size_t i = 0; i < chart.Marks.size(); ++i) {
        const Mark& mark = chart.Marks[i];
        const int item = static_cast<int>(i);
        const auto [x, y] = points[i];
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
        if (names[i]) picture.Shapes.push_back(std::move(*names[i]));
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

double TextWidth(const std::string& text, double fontSize) {
    // The game's names are in a one-byte encoding: a byte is a character.
    return static_cast<double>(text.size()) * kCharWidth * fontSize;
}

TextBox TextExtent(const Shape& text) {
    const double width = TextWidth(text.Text, text.FontSize);
    const double left = text.Anchor == TextAnchor::Start ? text.X
                        : text.Anchor == TextAnchor::End ? text.X - width
                                                         : text.X - width / 2;
    const double top = text.Centred ? text.Y - text.FontSize / 2 : text.Y - kAscent * text.FontSize;
    const double bottom = text.Centred ? text.Y + text.FontSize / 2 : text.Y + kDescent * text.FontSize;
    return {left, top, left + width, bottom};
}

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
