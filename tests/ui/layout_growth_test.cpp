// The main window beyond its design size: what grows, what moves, and the smallest size.
#include "ui/layout_growth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/main_window_layout.h"
#include "ui/screen_fit.h"

namespace tovarin {
namespace {

struct Placed {
    const LayoutRow* Row;
    PlacedRow Box;
};

bool Overlap(const PlacedRow& a, const PlacedRow& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

std::map<std::string_view, Placed> Arrange(int width, int height, const LayoutMetrics& metrics) {
    const std::vector<LayoutRow>& rows = MainWindowLayout();
    const std::vector<PlacedRow> boxes =
        ArrangeLayout(rows, kMainClientWidth, kMainClientHeight, width, height, metrics);
    std::map<std::string_view, Placed> placed;
    for (std::size_t i = 0; i < rows.size(); ++i) placed[rows[i].Name] = {&rows[i], boxes[i]};
    return placed;
}

int Rows(const PlacedRow& list, int rowHeight) { return (list.Height - kListFrame) / rowHeight; }

// At every size and scale each control stays inside its parent, below a group's caption, and clear of its
// siblings; lists and memos show whole rows. Below the design size nothing shrinks: that is the smallest size,
// where every control has its designed place and only the lists lose the part of a row they showed. Larger, each
// list shows more rows, the status line and the tab control grow, and Exit keeps to the bottom right corner.
TEST(LayoutGrowth, EveryControlKeepsItsPlaceInItsGroupAndTheListsGrowInWholeRows) {
    const std::string_view lists[] = {"ListBox1", "ListBox2", "ListBox3", "ListBox4",
                                      "ListBox5", "ListBox6", "Memo1",    "Memo3"};
    const struct {
        int Dpi, RowHeight, ExtraWidth, ExtraHeight;
    } sizes[] = {{96, 13, -100, -50}, {96, 13, 0, 0},      {96, 13, 300, 200}, {96, 13, 1400, 700},
                 {192, 26, 0, 0},     {192, 26, 900, 500}, {144, 20, 377, 333}};
    const auto design = Arrange(kMainClientWidth, kMainClientHeight, {});
    for (const auto& size : sizes) {
        const LayoutMetrics metrics{size.Dpi, size.RowHeight};
        const auto scaled = [&](int pixels) { return (pixels * size.Dpi + 48) / 96; };
        const int width = scaled(kMainClientWidth) + size.ExtraWidth;
        const int height = scaled(kMainClientHeight) + size.ExtraHeight;
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " at " + std::to_string(size.Dpi));
        const auto placed = Arrange(width, height, metrics);
        const bool grown = size.ExtraWidth > 0 && size.ExtraHeight > 0;
        for (const auto& [name, control] : placed) {
            SCOPED_TRACE(std::string(name));
            const LayoutRow& row = *control.Row;
            const PlacedRow& box = control.Box;
            const bool showsRows = row.Kind == ControlKind::ListBox || row.Kind == ControlKind::Memo;
            EXPECT_TRUE(!showsRows || (box.Height - kListFrame) % size.RowHeight == 0) << "whole rows";
            if (!grown) {
                const PlacedRow designed{scaled(row.Left), scaled(row.Top), scaled(row.Width), scaled(row.Height)};
                EXPECT_TRUE(box.Left == designed.Left && box.Top == designed.Top && box.Width == designed.Width);
                EXPECT_TRUE(showsRows ? designed.Height - box.Height < size.RowHeight : box.Height == designed.Height);
            }
            const int parentWidth =
                row.Parent.empty() ? std::max(width, scaled(kMainClientWidth)) : placed.at(row.Parent).Box.Width;
            const int parentHeight =
                row.Parent.empty() ? std::max(height, scaled(kMainClientHeight)) : placed.at(row.Parent).Box.Height;
            const bool underCaption = !row.Parent.empty() && placed.at(row.Parent).Row->Kind == ControlKind::GroupBox &&
                                      !placed.at(row.Parent).Row->Caption.empty();
            EXPECT_TRUE(box.Left >= 0 && box.Top >= (underCaption ? scaled(14) : 0) &&
                        box.Left + box.Width <= parentWidth && box.Top + box.Height <= parentHeight);
            for (const auto& [otherName, other] : placed) {
                if (otherName <= name || other.Row->Parent != row.Parent || row.Kind == ControlKind::TabSheet ||
                    row.Kind == ControlKind::Bevel || other.Row->Kind == ControlKind::Bevel ||
                    TakeTurns(row, *other.Row)) {
                    continue;
                }
                EXPECT_FALSE(Overlap(box, other.Box)) << "covers " << otherName;
            }
        }
        if (!grown) continue;
        for (const std::string_view list : lists) {
            EXPECT_GT(Rows(placed.at(list).Box, size.RowHeight), Rows(design.at(list).Box, 13)) << list;
        }
        const PlacedRow& exit = placed.at("Exit").Box;
        EXPECT_EQ(width - (exit.Left + exit.Width), scaled(kMainClientWidth) - scaled(382) - scaled(75)) << "corner";
        EXPECT_EQ(height - (exit.Top + exit.Height), scaled(kMainClientHeight) - scaled(432) - scaled(25));
        EXPECT_EQ(placed.at("StatusLine").Box.Width, scaled(449) + size.ExtraWidth);
    }
}

// A remembered window on a monitor since unplugged, larger than the screen now, or smaller than the window's
// smallest size comes back whole on the nearest monitor; one that fits stays where it was.
TEST(LayoutGrowth, ARememberedWindowComesBackOnScreen) {
    const ScreenRect area{0, 0, 1280, 1000};
    const struct {
        ScreenRect Saved, Expected;
    } cases[] = {{{100, 50, 700, 600}, {100, 50, 700, 600}},
                 {{3000, 200, 3600, 700}, {680, 200, 1280, 700}},
                 {{-900, -80, -300, 400}, {0, 0, 600, 500}},
                 {{10, 10, 2000, 1500}, {0, 0, 1280, 1000}},
                 {{1200, 900, 1300, 950}, {800, 500, 1280, 1000}}};
    for (const auto& c : cases) {
        const ScreenRect fitted = FitOnScreen(c.Saved, area, 480, 500);
        SCOPED_TRACE(std::to_string(c.Saved.Left) + "," + std::to_string(c.Saved.Top));
        EXPECT_EQ(std::vector({fitted.Left, fitted.Top, fitted.Right, fitted.Bottom}),
                  std::vector({c.Expected.Left, c.Expected.Top, c.Expected.Right, c.Expected.Bottom}));
    }
}

}  // namespace
}  // namespace tovarin
