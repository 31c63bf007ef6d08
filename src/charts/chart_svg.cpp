#include "charts/chart_svg.h"

#include <cstdio>
#include <sstream>

#include "charts/chart_shapes.h"
#include "gamefiles/text_encoding.h"

namespace tovarin {

namespace {

constexpr double kWidth = 800, kHeight = 500;

// The game's names are Windows-1252; the picture is UTF-8 XML.
void AppendEscaped(std::string& svg, const std::string& gameText) {
    for (const char c : Utf8FromWindows1252(gameText)) {
        switch (c) {
            case '&':
                svg += "&amp;";
                break;
            case '<':
                svg += "&lt;";
                break;
            case '>':
                svg += "&gt;";
                break;
            case '"':
                svg += "&quot;";
                break;
            default:
                svg += c;
        }
    }
}

// An attribute of pixels, to a tenth: ` name="12.5"`.
void AppendPx(std::string& svg, const char* name, double value) {
    char text[48];
    std::snprintf(text, sizeof text, " %s=\"%.1f\"", name, value);
    svg += text;
}

const char* Anchor(TextAnchor anchor) {
    switch (anchor) {
        case TextAnchor::Middle:
            return "middle";
        case TextAnchor::End:
            return "end";
        case TextAnchor::Start:
            break;
    }
    return "start";
}

void AppendText(std::string& svg, const Shape& shape) {
    svg += "<text";
    if (shape.Role == ShapeRole::Note) svg += " class=\"note\"";
    if (shape.Role == ShapeRole::AxisLabel) svg += " class=\"label\"";
    AppendPx(svg, "x", shape.X);
    AppendPx(svg, "y", shape.Y);
    AppendPx(svg, "font-size", shape.FontSize);
    if (shape.Anchor != TextAnchor::Start) svg += std::string(" text-anchor=\"") + Anchor(shape.Anchor) + '"';
    if (shape.Centred) svg += " dominant-baseline=\"middle\"";
    if (shape.Rotation != 0) {
        char rotate[96];
        std::snprintf(rotate, sizeof rotate, " transform=\"rotate(%.1f %.1f %.1f)\"", shape.Rotation, shape.X, shape.Y);
        svg += rotate;
    }
    svg += '>';
    AppendEscaped(svg, shape.Text);
    svg += "</text>";
}

void AppendShape(std::string& svg, const Shape& shape) {
    switch (shape.Kind) {
        case ShapeKind::Line:
            svg += shape.Role == ShapeRole::Change ? "<line class=\"change\"" : "<line";
            AppendPx(svg, "x1", shape.X);
            AppendPx(svg, "y1", shape.Y);
            AppendPx(svg, "x2", shape.X2);
            AppendPx(svg, "y2", shape.Y2);
            svg += shape.Role == ShapeRole::Change ? " stroke=\"#888\" marker-end=\"url(#arrow)\"/>"
                                                   : " stroke=\"#000\"/>";
            break;
        case ShapeKind::Circle:
        case ShapeKind::Rect:
            svg += shape.Kind == ShapeKind::Circle ? "<circle" : "<rect";
            if (shape.Role == ShapeRole::Original) svg += " class=\"original\"";
            AppendPx(svg, shape.Kind == ShapeKind::Circle ? "cx" : "x", shape.X);
            AppendPx(svg, shape.Kind == ShapeKind::Circle ? "cy" : "y", shape.Y);
            if (shape.Kind == ShapeKind::Circle) {
                AppendPx(svg, "r", shape.X2);
            } else {
                AppendPx(svg, "width", shape.X2);
                AppendPx(svg, "height", shape.Y2);
            }
            svg += shape.Role == ShapeRole::Original ? " fill=\"#888\" fill-opacity=\"0.4\"/>" : " fill=\"#1f4e99\"/>";
            break;
        case ShapeKind::Text:
            AppendText(svg, shape);
            break;
        case ShapeKind::Polyline:
            svg += "<polyline class=\"chain\" fill=\"none\" stroke=\"#1f4e99\" points=\"";
            for (const auto& [x, y] : shape.Points) {
                char point[64];
                std::snprintf(point, sizeof point, "%.1f,%.1f ", x, y);
                svg += point;
            }
            svg += "\"/>";
            break;
    }
}

const std::string& ItemTitle(const Chart& chart, int item) {
    const auto index = static_cast<std::size_t>(item);
    return chart.Kind == ChartKind::Bars ? chart.Bars[index].Title : chart.Marks[index].Title;
}

}  // namespace

std::string ChartSvg(const Chart& chart) {
    const ChartPicture picture = DrawChart(chart, kWidth, kHeight);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800\" "
        "height=\"500\" viewBox=\"0 0 800 500\" font-family=\"sans-serif\">\n<defs><marker id=\"arrow\" "
        "viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" markerWidth=\"6\" markerHeight=\"6\" orient=\"auto\">"
        "<path d=\"M0,0 L10,5 L0,10 z\" fill=\"#888\"/></marker></defs>\n<rect width=\"100%\" height=\"100%\" "
        "fill=\"#fff\"/>\n";
    svg.reserve(svg.size() + picture.Shapes.size() * 90);
    // Each ship or weapon is one group holding its marks and a title that names it, so that a browser's tooltip
    // and a script both find it.
    int group = -1;
    for (const Shape& shape : picture.Shapes) {
        if (shape.Item != group) {
            if (group >= 0) svg += "</g>\n";
            group = shape.Item;
            if (group >= 0) {
                svg += "<g class=\"" + chart.Item + "\"><title>";
                AppendEscaped(svg, ItemTitle(chart, group));
                svg += "</title>";
            }
        }
        AppendShape(svg, shape);
        if (group < 0) svg += '\n';
    }
    if (group >= 0) svg += "</g>\n";
    svg += "</svg>\n";
    return svg;
}

std::string ChartTable(const Chart& chart) {
    std::ostringstream table;
    const auto number = [](const std::optional<double>& value) { return value ? ChartNumber(*value) : ""; };
    if (chart.Kind == ChartKind::Scatter) {
        table << chart.Item << '\t' << chart.X.Label << '\t' << chart.Y.Label << "\toriginal " << chart.X.Label
              << "\toriginal " << chart.Y.Label << '\n';
        for (const Mark& mark : chart.Marks) {
            table << mark.Name << '\t' << ChartNumber(mark.X) << '\t' << ChartNumber(mark.Y) << '\t'
                  << number(mark.OriginalX) << '\t' << number(mark.OriginalY) << '\n';
        }
    } else if (chart.Kind == ChartKind::Bars) {
        table << chart.Item << '\t' << chart.Y.Label << "\toriginal " << chart.Y.Label << "\tnote\n";
        for (const Bar& bar : chart.Bars) {
            table << bar.Name << '\t' << number(bar.Value) << '\t' << number(bar.Original) << '\t' << bar.Note << '\n';
        }
    } else {
        table << "step\t" << chart.Y.Label << '\n';
        for (const Mark& mark : chart.Marks) table << mark.Name << '\t' << ChartNumber(mark.Y) << '\n';
    }
    return Utf8FromWindows1252(table.str());
}

}  // namespace tovarin
