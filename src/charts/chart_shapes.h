#pragma once

#include <string>
#include <utility>
#include <vector>

#include "charts/chart.h"

// A chart laid out in a box of pixels: the lines, circles, bars and texts that show it, each with what it shows.
// Both pictures of a chart are drawn from these: the SVG file writes them out, the window paints them. Where a
// mark lands is decided here alone.
namespace tovarin {

enum class ShapeKind { Line, Circle, Rect, Text, Polyline };

// What a shape shows; the writers choose its colour by it.
enum class ShapeRole {
    Axis,       // the two axis lines
    Tick,       // a tick's short line
    TickLabel,  // a tick's value
    AxisLabel,  // an axis's key
    Chain,      // the line through a value's steps
    Original,   // a changed ship's or weapon's original, faint
    Change,     // the arrow from the original to the current point
    Mark,       // a ship's or a step's point
    Bar,        // a weapon's bar
    Note,       // why a weapon has no bar
    Name,       // a ship's or weapon's name beside its mark
    Selected,   // a ring around the point or bar chosen in the window
};

enum class TextAnchor { Start, Middle, End };

struct Shape {
    ShapeKind Kind = ShapeKind::Line;
    ShapeRole Role = ShapeRole::Axis;
    int Item = -1;          // the chart's mark or bar it draws (Chart::Marks or Chart::Bars), -1 for the axes
    double X = 0, Y = 0;    // a line's start, a circle's centre, a bar's top left, a text's anchor
    double X2 = 0, Y2 = 0;  // a line's end; a bar's width and height; a circle's radius in X2
    std::vector<std::pair<double, double>> Points;  // a polyline's corners
    std::string Text;                               // a text's words, in the game's encoding
    TextAnchor Anchor = TextAnchor::Start;
    bool Centred = false;  // a text's middle rather than its baseline on Y
    double Rotation = 0;   // degrees, clockwise, about (X, Y)
    double FontSize = 11;
};

struct ChartPicture {
    double Width = 0, Height = 0;
    std::vector<Shape> Shapes;  // in the order they are drawn: later ones on top
};

// Where a text reaches on the picture, as far as it can be told without the font that draws it (an estimate
// by its characters' count, and unrotated).
struct TextBox {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    [[nodiscard]] bool Overlaps(const TextBox& other) const {
        return Left < other.Right && other.Left < Right && Top < other.Bottom && other.Top < Bottom;
    }
};
[[nodiscard]] double TextWidth(const std::string& text, double fontSize);
[[nodiscard]] TextBox TextExtent(const Shape& text);

// The chart in a box of width by height pixels; `scale` grows the margins, marks and texts with the screen's DPI.
[[nodiscard]] ChartPicture DrawChart(const Chart& chart, double width, double height, double scale = 1);

// The mark or bar drawn at this place (the topmost when several are), or -1.
[[nodiscard]] int ItemAt(const ChartPicture& picture, double x, double y);

}  // namespace tovarin
