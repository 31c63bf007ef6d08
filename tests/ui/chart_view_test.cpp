// The window's chart as painted shapes: the same chart as the SVG, laid out in the control's size and again as it
// grows; a click on a point or bar picks that ship or weapon, and the tooltip there names it.
#include <gtest/gtest.h>

#include "testkit/two_ship_chart.h"
#include "ui/form.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

std::vector<const Shape*> Drawn(const TChartView& view, ShapeRole role) {
    std::vector<const Shape*> shapes;
    for (const Shape& shape : view.Picture().Shapes) {
        if (shape.Role == role) shapes.push_back(&shape);
    }
    return shapes;
}

TEST(ChartView, PaintsThePointsArrowTicksAndLabelsWhereTheValuesPutThemAtEverySize) {
    HeadlessPlatform platform{"/x/"};
    TForm form{platform};
    TChartView view{form, "Chart1"};
    view.SetChart(testkit::TwoShipScatter());
    // The plot keeps its margins (80 left, 30 right, 20 above, 70 below) and fills the rest.
    struct Row {
        int Width, Height;
        double KestrelX, KestrelY, WardenY;
    };
    for (const Row& row : std::vector<Row>{{400, 300, 370, 198.5, 46.25}, {800, 500, 770, 368.5, 71.25}}) {
        SCOPED_TRACE(std::to_string(row.Width) + "x" + std::to_string(row.Height));
        view.SetSize(row.Width, row.Height);
        const auto marks = Drawn(view, ShapeRole::Mark);
        ASSERT_EQ(marks.size(), 2U);
        EXPECT_DOUBLE_EQ(marks[0]->X, row.KestrelX);
        EXPECT_DOUBLE_EQ(marks[0]->Y, row.KestrelY);
        EXPECT_DOUBLE_EQ(marks[1]->X, 80);
        EXPECT_DOUBLE_EQ(marks[1]->Y, row.WardenY);
        const auto arrows = Drawn(view, ShapeRole::Change);
        ASSERT_EQ(arrows.size(), 1U);  // the unchanged Warden has neither arrow nor original
        EXPECT_EQ(arrows[0]->Item, 0);
        EXPECT_DOUBLE_EQ(arrows[0]->X2, row.KestrelX - 5);  // its head at the point's edge
        EXPECT_EQ(Drawn(view, ShapeRole::Original).size(), 1U);
        std::vector<std::string> texts;
        for (const ShapeRole role : {ShapeRole::Name, ShapeRole::TickLabel, ShapeRole::AxisLabel}) {
            for (const Shape* text : Drawn(view, role)) texts.push_back(text->Text);
        }
        EXPECT_EQ(texts, (std::vector<std::string>{"Kestrel", "Warden", "200", "400", "600", "800", "1000", "400",
                                                   "500", "600", "700", "speedmax", "hp"}));
    }
}

TEST(ChartView, AClickOnAPointOrBarPicksItsItemAndTheTipNamesIt) {
    HeadlessPlatform platform{"/x/"};
    TForm form{platform};
    TChartView view{form, "Chart1"};
    std::vector<int> picked;
    view.OnPick = [&picked](int item) { picked.push_back(item); };
    view.SetSize(400, 300);
    view.SetChart(testkit::TwoShipScatter());

    EXPECT_EQ(view.TipAt(82, 45), "Warden: speedmax 400, hp 900");
    EXPECT_EQ(view.TipAt(200, 150), "");
    UserInput::ClickAt(view, 368, 200);  // a pixel or two off the Kestrel's point still hits it
    UserInput::ClickAt(view, 200, 150);  // a miss keeps the choice
    EXPECT_EQ(picked, std::vector<int>{0});
    EXPECT_EQ(view.Selected(), 0);
    const auto ring = Drawn(view, ShapeRole::Selected);
    ASSERT_EQ(ring.size(), 1U);
    EXPECT_DOUBLE_EQ(ring[0]->X, 370);

    Cells guns;
    guns[{SheetKind::Guns, 0, 3, "Pulse Laser", "damage"}] = "18";
    guns[{SheetKind::Guns, 1, 3, "Rail Driver", "damage"}] = "40";
    view.SetChart(WeaponBars(guns, guns, SheetKind::Guns, "damage"));
    EXPECT_EQ(view.Selected(), -1);
    UserInput::ClickAt(view, 300, 200);  // inside the second of two bars sharing 80..370
    EXPECT_EQ(picked, (std::vector<int>{0, 1}));
    EXPECT_EQ(view.TipAt(300, 200), "Rail Driver: damage 40");
}

}  // namespace
}  // namespace tovarin
