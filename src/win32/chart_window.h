#pragma once

#include <windows.h>

#include "ui/chart_view.h"

// The chart control of the real window: paints a TChartView's shapes off screen and then in one copy (no flicker
// while the window is resized), in the system's colours (a high-contrast scheme shows it in its own), at the
// control's size as the layout grows it. A click reaches the window as NM_CLICK (an NMMOUSE with the place); the
// mouse resting on a point shows its tooltip.
namespace tovarin {

inline constexpr const wchar_t* kChartWindowClass = L"TovarinChart";

// Registers the window class once.
void RegisterChartWindowClass();

// Binds the created control to its model and gives the model the control's size.
void AttachChart(HWND control, TChartView& model);

// Paints again when the model's picture changed since it was last shown.
void ShowChart(HWND control, const TChartView& model, unsigned& shownVersion);

}  // namespace tovarin
