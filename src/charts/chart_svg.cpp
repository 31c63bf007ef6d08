#include "charts/chart_svg.h"

#include <cstdio>
#include <map>
#include <sstream>

#include "gamefiles/text_encoding.h"

namespace tovarin {

namespace {

constexpr double kWidth = 800, kHeight = 500;
constexpr double kLeft = 80, kRight = 30, kTop = 20, kBottom = 70;

// The game's names are Windows-1252; the picture is UTF-8 XML.
std::string Escaped(const std::string& gameText) {
    std::string text;
    for (const char c : Utf8FromWindows1252(gameText)) {
        switch (c) {
            case '&':
                text += "&amp;";
                break;
            case '<':
                text += "&lt;";
                break;
            case '>':
                text += "&gt;";
                break;
            case '"':
                text += "&quot;";
                break;
            default:
                text += c;
        }
    }
    return text;
}

std::string Px(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

double Place(const Axis& axis, double value, double from, double to) {
    const double span = axis.Max - axis.Min;
    return span == 0 ? (from + to) / 2 : from + (value - axis.Min) / span * (to - from);
}

double PlaceX(const Chart& chart, double x) { return Place(chart.X, x, kLeft, kWidth - kRight); }
double PlaceY(const Chart& chart, double y) { return Place(chart.Y, y, kHeight - kBottom, kTop); }

void WriteAxes(const Chart& chart, std::ostringstream& svg) {
    const double bottom = kHeight - kBottom;
    svg << "<g class=\"axes\" stroke=\"#000\">\n<line x1=\"" << kLeft << "\" y1=\"" << bottom << "\" x2=\""
        << kWidth - kRight << "\" y2=\"" << bottom << "\"/>\n<line x1=\"" << kLeft << "\" y1=\"" << kTop << "\" x2=\""
        << kLeft << "\" y2=\"" << bottom << "\"/>\n</g>\n<g class=\"ticks\" font-size=\"11\">\n";
    for (const Tick& tick : chart.Y.Ticks) {
        const std::string y = Px(PlaceY(chart, tick.Value));
        svg << "<line x1=\"" << kLeft - 4 << "\" y1=\"" << y << "\" x2=\"" << kLeft << "\" y2=\"" << y
            << "\" stroke=\"#000\"/><text x=\"" << kLeft - 6 << "\" y=\"" << y
            << "\" text-anchor=\"end\" dominant-baseline=\"middle\">" << Escaped(tick.Label) << "</text>\n";
    }
    for (const Tick& tick : chart.X.Ticks) {
        const std::string x = Px(PlaceX(chart, tick.Value));
        svg << "<line x1=\"" << x << "\" y1=\"" << bottom << "\" x2=\"" << x << "\" y2=\"" << bottom + 4
            << "\" stroke=\"#000\"/><text x=\"" << x << "\" y=\"" << bottom + 16 << "\" text-anchor=\"middle\">"
            << Escaped(tick.Label) << "</text>\n";
    }
    svg << "</g>\n<text class=\"label\" x=\"" << Px((kLeft + kWidth - kRight) / 2) << "\" y=\"" << kHeight - 20
        << "\" text-anchor=\"middle\">" << Escaped(chart.X.Label) << "</text>\n<text class=\"label\" x=\"16\" y=\""
        << Px((kTop + kHeight - kBottom) / 2) << "\" text-anchor=\"middle\" transform=\"rotate(-90 16 "
        << Px((kTop + kHeight - kBottom) / 2) << ")\">" << Escaped(chart.Y.Label) << "</text>\n";
}

void WriteMarks(const Chart& chart, std::ostringstream& svg) {
    std::map<std::pair<std::string, std::string>, int> taken;  // marks already at a place: their names move down
    for (const Mark& mark : chart.Marks) {
        const std::string x = Px(PlaceX(chart, mark.X)), y = Px(PlaceY(chart, mark.Y));
        svg << "<g class=\"" << chart.Item << "\"><title>" << Escaped(mark.Title) << "</title>";
        if (mark.OriginalX && mark.OriginalY) {
            const std::string ox = Px(PlaceX(chart, *mark.OriginalX)), oy = Px(PlaceY(chart, *mark.OriginalY));
            svg << "<circle class=\"original\" cx=\"" << ox << "\" cy=\"" << oy
                << "\" r=\"4\" fill=\"#888\" fill-opacity=\"0.4\"/><line class=\"change\" x1=\"" << ox << "\" y1=\""
                << oy << "\" x2=\"" << x << "\" y2=\"" << y << "\" stroke=\"#888\" marker-end=\"url(#arrow)\"/>";
        }
        const int before = taken[{x, y}]++;
        svg << "<circle cx=\"" << x << "\" cy=\"" << y << "\" r=\"4\" fill=\"#1f4e99\"/><text x=\"" << x << "\" y=\""
            << Px(PlaceY(chart, mark.Y) - 7 + 13.0 * before) << "\" font-size=\"11\" dx=\"6\">" << Escaped(mark.Name)
            << "</text></g>\n";
    }
}

void WriteBars(const Chart& chart, std::ostringstream& svg) {
    const double slot = (kWidth - kRight - kLeft) / static_cast<double>(chart.Bars.size());
    const double zero = PlaceY(chart, 0);
    for (std::size_t i = 0; i < chart.Bars.size(); ++i) {
        const Bar& bar = chart.Bars[i];
        const double left = kLeft + slot * static_cast<double>(i) + slot * 0.15;
        const auto rect = [&](double value, const char* attributes) {
            const double top = PlaceY(chart, value);
            svg << "<rect " << attributes << " x=\"" << Px(left) << "\" y=\"" << Px(std::min(top, zero))
                << "\" width=\"" << Px(slot * 0.7) << "\" height=\"" << Px(std::abs(zero - top)) << "\"/>";
        };
        svg << "<g class=\"" << chart.Item << "\"><title>" << Escaped(bar.Title) << "</title>";
        if (bar.Original) rect(*bar.Original, "class=\"original\" fill=\"#888\" fill-opacity=\"0.4\"");
        if (bar.Value) rect(*bar.Value, "fill=\"#1f4e99\"");
        if (!bar.Note.empty()) {
            svg << "<text class=\"note\" x=\"" << Px(left) << "\" y=\"" << Px(zero - 4) << "\" font-size=\"10\">"
                << Escaped(bar.Note) << "</text>";
        }
        const std::string middle = Px(left + slot * 0.35);
        svg << "<text x=\"" << middle << "\" y=\"" << Px(zero + 14) << "\" font-size=\"10\" text-anchor=\"end\" "
            << "transform=\"rotate(-35 " << middle << ' ' << Px(zero + 14) << ")\">" << Escaped(bar.Name)
            << "</text></g>\n";
    }
}

}  // namespace

std::string ChartSvg(const Chart& chart) {
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth
        << "\" height=\"" << kHeight << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight
        << "\" font-family=\"sans-serif\">\n<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" "
           "markerWidth=\"6\" markerHeight=\"6\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"#888\"/>"
           "</marker></defs>\n<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    WriteAxes(chart, svg);
    if (chart.Kind == ChartKind::Steps && chart.Marks.size() > 1) {
        svg << "<polyline class=\"chain\" fill=\"none\" stroke=\"#1f4e99\" points=\"";
        for (std::size_t i = 0; i < chart.Marks.size(); ++i) {
            const std::string y = Px(PlaceY(chart, chart.Marks[i].Y));
            if (i > 0)
                svg << Px(PlaceX(chart, chart.Marks[i].X)) << ',' << Px(PlaceY(chart, chart.Marks[i - 1].Y)) << ' ';
            svg << Px(PlaceX(chart, chart.Marks[i].X)) << ',' << y << ' ';
        }
        svg << "\"/>\n";
    }
    if (chart.Kind == ChartKind::Bars) {
        WriteBars(chart, svg);
    } else {
        WriteMarks(chart, svg);
    }
    svg << "</svg>\n";
    return svg.str();
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
