// Charts as values: round axes, a changed ship's original point and arrow, bars with their originals and a refire
// delay of 0; the SVG written from them parsed as XML with its marks where the values put them, names escaped.
#include <gtest/gtest.h>

#include <regex>

#include "charts/chart_shapes.h"
#include "charts/chart_svg.h"
#include "sheets/refusal.h"

namespace tovarin {
namespace {

CellAddress At(SheetKind kind, std::size_t item, std::size_t key, std::string name, std::string keyName) {
    return {kind, item, key, std::move(name), std::move(keyName)};
}

struct Ship {
    std::string Name;
    double SpeedMax, Hp;
};

// The ships' speedmax and hp as keys 0 and 1 of the ship sheet, each ship carrying a Pulse Laser as key 2.
Cells ShipCells(const std::vector<Ship>& ships) {
    Cells cells;
    for (std::size_t i = 0; i < ships.size(); ++i) {
        cells[At(SheetKind::Ships, i, 0, ships[i].Name, "speedmax")] = ChartNumber(ships[i].SpeedMax);
        cells[At(SheetKind::Ships, i, 1, ships[i].Name, "hp")] = ChartNumber(ships[i].Hp);
        cells[At(SheetKind::Ships, i, 2, ships[i].Name, "gun1")] = "Pulse Laser";
    }
    return cells;
}

TEST(ChartValues, AxesReachPastTheValuesOnRoundTicks) {
    struct Row {
        double Low, High;
        std::vector<std::string> Ticks;
    };
    const std::vector<Row> rows = {
        {0, 100, {"0", "20", "40", "60", "80", "100"}},
        {320, 700, {"300", "400", "500", "600", "700"}},
        {-30, 45, {"-40", "-20", "0", "20", "40", "60"}},
        {500, 500, {"440", "460", "480", "500", "520", "540", "560"}},  // one value: room on both sides
        {0.1, 0.9, {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Low) + ".." + std::to_string(row.High));
        const Axis axis = RoundAxis("x", row.Low, row.High);
        std::vector<std::string> ticks;
        for (const Tick& tick : axis.Ticks) ticks.push_back(tick.Label);
        EXPECT_EQ(ticks, row.Ticks);
        EXPECT_EQ(axis.Min, axis.Ticks.front().Value);
        EXPECT_EQ(axis.Max, axis.Ticks.back().Value);
    }
}

TEST(ChartValues, AChangedShipHasItsOriginalAndAnArrowAndItsMarksLandWhereTheValuesPutThem) {
    const Cells original = ShipCells({{"Kestrel & <Co>", 600, 320}, {"Warden", 400, 900}, {"Sable", 400, 900}});
    Cells now = original;
    now[At(SheetKind::Ships, 0, 0, "Kestrel & <Co>", "speedmax")] = "700";
    const Chart chart = ShipScatter(now, original, "speedmax", "hp");
    ASSERT_EQ(chart.Marks.size(), 3U);
    EXPECT_EQ(chart.Marks[0].Title, "Kestrel & <Co>: speedmax 700 (was 600), hp 320");
    EXPECT_EQ(chart.Marks[0].OriginalX, 600);
    EXPECT_EQ(chart.Marks[1].OriginalX, std::nullopt);
    EXPECT_EQ(chart.X.Min, 400);
    EXPECT_EQ(chart.X.Max, 700);
    EXPECT_EQ(chart.Y.Min, 200);
    EXPECT_EQ(chart.Y.Max, 1000);
    EXPECT_THROW((void)ShipScatter(now, original, "speedmax", "gun1"), Refusal);

    const std::string svg = ChartSvg(chart);
    EXPECT_NE(svg.find("<title>Kestrel &amp; &lt;Co&gt;: speedmax 700 (was 600), hp 320</title>"), std::string::npos);
    EXPECT_EQ(svg.find("<Co>"), std::string::npos);
    // The plot runs from x 80 to 770 and from y 430 (bottom) up to 20: the Kestrel at 700 on the right edge, its
    // original two thirds in, hp 320 at 120 of 800 up; the Warden at 400 on the left edge, seven eighths up.
    EXPECT_NE(svg.find("<circle class=\"original\" cx=\"540.0\" cy=\"368.5\""), std::string::npos);
    EXPECT_NE(svg.find("class=\"change\" x1=\"540.0\" y1=\"368.5\" x2=\"765.0\" y2=\"368.5\""), std::string::npos);
    EXPECT_NE(svg.find("<circle cx=\"80.0\" cy=\"71."), std::string::npos);
}

TEST(ChartValues, BarsOfAFieldOrOfDamagePerSecondNeverDivideByARefireDelayOf0) {
    Cells original;
    original[At(SheetKind::Guns, 0, 3, "Pulse Laser", "damage")] = "18";
    original[At(SheetKind::Guns, 0, 4, "Pulse Laser", "refire delay (ms)")] = "200";
    original[At(SheetKind::Guns, 1, 3, "Scatter Gun", "damage")] = "5";
    original[At(SheetKind::Guns, 1, 4, "Scatter Gun", "refire delay (ms)")] = "0";
    Cells now = original;
    now[At(SheetKind::Guns, 0, 3, "Pulse Laser", "damage")] = "41";
    const Chart dps = WeaponBars(now, original, SheetKind::Guns, kDamagePerSecond);
    ASSERT_EQ(dps.Bars.size(), 2U);
    EXPECT_EQ(dps.Bars[0].Value, 205);
    EXPECT_EQ(dps.Bars[0].Original, 90);
    EXPECT_EQ(dps.Bars[1].Value, std::nullopt);
    EXPECT_EQ(dps.Bars[1].Title, "Scatter Gun: damage per second none, refire delay 0");
    EXPECT_EQ(ChartTable(dps),
              "gun\tdamage per second\toriginal damage per second\tnote\nPulse Laser\t205\t90\t\n"
              "Scatter Gun\t\t\trefire delay 0\n");
    const Chart damage = WeaponBars(now, now, SheetKind::Guns, "damage");
    EXPECT_EQ(damage.Bars[0].Original, std::nullopt);
    EXPECT_EQ(damage.Y.Min, 0);
}

TEST(ChartValues, NamesOfClosePointsNeverOverlapAndANameLeftOutKeepsItsTitle) {
    struct Row {
        const char* What;
        std::vector<Ship> Fleet;
        std::size_t Named;  // how many names the picture has room for
    };
    const std::vector<Row> rows = {
        {"the demo's fast ships, a few pixels apart",
         {{"Bastion", 220, 2400},
          {"Corsair", 620, 330},
          {"Sable", 600, 320},
          {"Lancet", 640, 260},
          {"Kestrel", 710, 310},
          {"Warden", 700, 250}},
         6},
        {"six ships at one place: four sides, two left out",
         {{"Alpha", 500, 500},
          {"Bravo", 500, 500},
          {"Charlie", 500, 500},
          {"Delta", 500, 500},
          {"Echo", 500, 500},
          {"Foxtrot", 500, 500},
          {"Near", 100, 100},
          {"Far", 900, 900}},
         6},
        {"a long name at the plot's corner",
         {{"Dreadnought of the Outer Rim", 300, 100}, {"Sable", 300, 110}, {"Far", 900, 900}},
         3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        const Cells cells = ShipCells(row.Fleet);
        const Chart chart = ShipScatter(cells, cells, "speedmax", "hp");
        const ChartPicture picture = DrawChart(chart, 800, 500);
        std::vector<TextBox> names, points;
        for (const Shape& shape : picture.Shapes) {
            if (shape.Role == ShapeRole::Name) names.push_back(TextExtent(shape));
            if (shape.Role == ShapeRole::Mark) points.push_back({shape.X - 4, shape.Y - 4, shape.X + 4, shape.Y + 4});
        }
        EXPECT_EQ(names.size(), row.Named);
        for (std::size_t a = 0; a < names.size(); ++a) {
            EXPECT_GE(names[a].Left, 80);  // inside the plot
            EXPECT_LE(names[a].Right, 770);
            for (std::size_t b = a + 1; b < names.size(); ++b) EXPECT_FALSE(names[a].Overlaps(names[b])) << a << b;
            for (const TextBox& point : points) EXPECT_FALSE(names[a].Overlaps(point)) << a;
        }
        const std::string svg = ChartSvg(chart);
        for (const Mark& mark : chart.Marks)
            EXPECT_NE(svg.find("<title>" + mark.Title + "</title>"), std::string::npos);
    }
}

}  // namespace
}  // namespace tovarin
