// The chart control of the real window: painted in the system's colours where the values put each point, resized
// with its window, and a click on a point picking its ship through the model.
#include <gtest/gtest.h>
#include <windows.h>

#include "testkit/two_ship_chart.h"
#include "ui/layout_rows.h"
#include "ui/user_input.h"
#include "win32/form_window.h"
#include "win32/win32_platform.h"

namespace tovarin {
namespace {

TEST(ChartWindow, PaintsInSystemColoursGrowsWithTheWindowAndAClickPicksThePoint) {
    Win32Platform platform;
    TForm form{platform};
    TChartView chart{form, "Chart1"};
    std::vector<int> picked;
    chart.OnPick = [&picked](int item) { picked.push_back(item); };
    chart.SetChart(testkit::TwoShipScatter());
    static const std::vector<LayoutRow> rows = {rows::ChartArea("Chart1", "", 0, 0, 400, 300)};
    OpenWindows open;
    FormWindow window(form, rows, {400, 300, true, true}, nullptr, open);
    window.Show();
    window.ShowModelState();
    HWND control = window.ControlHandle("Chart1");
    ASSERT_NE(control, nullptr);
    RECT client{};
    GetClientRect(control, &client);
    EXPECT_EQ(chart.Picture().Width, client.right);

    // The Kestrel's point, and the middle of the plot where nothing is.
    const Shape* kestrel = nullptr;
    for (const Shape& shape : chart.Picture().Shapes) {
        if (shape.Role == ShapeRole::Mark && shape.Item == 0) kestrel = &shape;
    }
    ASSERT_NE(kestrel, nullptr);
    const POINT mark{static_cast<LONG>(kestrel->X), static_cast<LONG>(kestrel->Y)};
    // The window's colours, then a high-contrast scheme's (set for the session only, and put back).
    const int parts[2] = {COLOR_WINDOW, COLOR_HIGHLIGHT};
    const COLORREF before[2] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_HIGHLIGHT)};
    const COLORREF contrast[2] = {RGB(0, 0, 0), RGB(0, 255, 255)};
    for (const COLORREF* scheme : {before, contrast}) {
        SetSysColors(2, parts, scheme);
        InvalidateRect(control, nullptr, FALSE);
        UpdateWindow(control);
        HDC dc = GetDC(control);
        EXPECT_EQ(GetPixel(dc, mark.x, mark.y), scheme[1]);
        EXPECT_EQ(GetPixel(dc, client.right / 2, client.bottom / 3), scheme[0]);
        ReleaseDC(control, dc);
    }
    SetSysColors(2, parts, before);

    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(mark.x, mark.y));
    EXPECT_EQ(picked, std::vector<int>{0});
    EXPECT_EQ(chart.Selected(), 0);

    RECT frame{};
    GetWindowRect(window.Handle(), &frame);
    SetWindowPos(window.Handle(), nullptr, 0, 0, frame.right - frame.left + 200, frame.bottom - frame.top + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(control, &client);
    EXPECT_EQ(chart.Picture().Width, client.right);
    EXPECT_GE(client.right, 590);
}

}  // namespace
}  // namespace tovarin
