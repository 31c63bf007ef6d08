#pragma once

#include <functional>
#include <string>

#include "charts/chart_shapes.h"
#include "ui/controls.h"

namespace tovarin {

// A painted chart: the chart's shapes laid out in the control's size, as the window paints them and as a test reads
// them. The front-end tells it its size (growing with the window); a click on a point or bar picks that ship or
// weapon, and the mouse resting on one names it.
class TChartView : public TControl {
public:
    using TControl::TControl;

    [[nodiscard]] const Chart& GetChart() const { return chart_; }
    // Shows the chart, nothing chosen in it.
    void SetChart(Chart chart);
    // Shows no chart: an empty area.
    void Clear();
    [[nodiscard]] bool Empty() const { return empty_; }

    // The control's client area in screen pixels, and the screen's DPI over 96 (texts and marks grow with it).
    void SetSize(int width, int height, double scale = 1);

    // What is painted now: the chart's shapes, and a ring around the chosen item on top.
    [[nodiscard]] const ChartPicture& Picture() const { return picture_; }
    // Grows by one whenever the picture changes, so that a front-end paints again only then.
    [[nodiscard]] unsigned Version() const { return version_; }

    // The chart's mark or bar at this place (Chart::Marks or Chart::Bars), or -1.
    [[nodiscard]] int ItemAt(int x, int y) const;
    // The tooltip there: the title naming the ship or weapon and its values, or "" off every item.
    [[nodiscard]] std::string TipAt(int x, int y) const;

    // The chosen item, ringed, or -1; setting it from code fires nothing.
    [[nodiscard]] int Selected() const { return selected_; }
    void SetSelected(int item);

    // A click picked this item.
    std::function<void(int item)> OnPick;

private:
    void Redraw();

    Chart chart_;
    bool empty_ = true;
    double width_ = 0, height_ = 0, scale_ = 1;
    int selected_ = -1;
    ChartPicture picture_;
    unsigned version_ = 0;
};

}  // namespace tovarin
