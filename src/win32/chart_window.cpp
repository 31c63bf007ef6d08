#include "win32/chart_window.h"
// After windows.h, which the header brings.
#include <commctrl.h>

#include <cmath>
#include <map>
#include <string>

#include "win32/wide_text.h"

namespace tovarin {

namespace {

// What a chart control keeps beside its model: its tooltip and the item the tooltip names.
struct ChartWindow {
    TChartView* Model = nullptr;
    HFONT Font = nullptr;
    HWND Tip = nullptr;
    POINT Mouse{-1, -1};
    int TipItem = -1;
    std::wstring TipText;
};

std::map<HWND, ChartWindow>& ChartWindows() {
    static std::map<HWND, ChartWindow> windows;
    return windows;
}

int Px(double value) { return static_cast<int>(std::lround(value)); }

// The system colour each part of the chart is drawn in: the text colour for what is read, the selection colour for
// the values, the grey text colour for what was (originals, arrows) and for notes.
COLORREF ColourOf(ShapeRole role) {
    switch (role) {
        case ShapeRole::Mark:
        case ShapeRole::Bar:
        case ShapeRole::Chain:
            return GetSysColor(COLOR_HIGHLIGHT);
        case ShapeRole::Original:
        case ShapeRole::Change:
        case ShapeRole::Note:
            return GetSysColor(COLOR_GRAYTEXT);
        case ShapeRole::Axis:
        case ShapeRole::Tick:
        case ShapeRole::TickLabel:
        case ShapeRole::AxisLabel:
        case ShapeRole::Name:
        case ShapeRole::Selected:
            break;
    }
    return GetSysColor(COLOR_WINDOWTEXT);
}

// The fonts of one painting: the control's font at each size and angle the texts ask for.
class Fonts {
public:
    explicit Fonts(HFONT base) {
        if (base == nullptr || GetObjectW(base, sizeof base_, &base_) == 0) {
            GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof base_, &base_);
        }
    }
    ~Fonts() {
        for (const auto& [key, font] : fonts_) DeleteObject(font);
    }
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    HFONT For(const Shape& text) {
        const std::pair<int, int> key{Px(text.FontSize), Px(-text.Rotation * 10)};
        HFONT& font = fonts_[key];
        if (font == nullptr) {
            LOGFONTW face = base_;
            face.lfHeight = -key.first;
            face.lfWidth = 0;
            face.lfEscapement = face.lfOrientation = key.second;  // tenths of a degree, anticlockwise
            if (key.second != 0) {
                // A bitmap face (the dialogs' MS Sans Serif) does not turn: turned texts take an outline face.
                face.lfOutPrecision = OUT_TT_ONLY_PRECIS;
                lstrcpynW(face.lfFaceName, L"Tahoma", LF_FACESIZE);
            }
            font = CreateFontIndirectW(&face);
        }
        return font;
    }

private:
    LOGFONTW base_{};
    std::map<std::pair<int, int>, HFONT> fonts_;
};

// The head of the arrow from an original to its current point.
void DrawArrowHead(HDC dc, const Shape& line, double size) {
    const double dx = line.X2 - line.X, dy = line.Y2 - line.Y, length = std::hypot(dx, dy);
    if (length < 1) return;
    const double ux = dx / length, uy = dy / length;
    const POINT head[3] = {{Px(line.X2), Px(line.Y2)},
                           {Px(line.X2 - size * ux + size / 2 * uy), Px(line.Y2 - size * uy - size / 2 * ux)},
                           {Px(line.X2 - size * ux - size / 2 * uy), Px(line.Y2 - size * uy + size / 2 * ux)}};
    Polygon(dc, head, 3);
}

void PaintText(HDC dc, const Shape& text, Fonts& fonts) {
    HGDIOBJ previous = SelectObject(dc, fonts.For(text));
    UINT align = TA_BASELINE | (text.Anchor == TextAnchor::Middle ? TA_CENTER
                                : text.Anchor == TextAnchor::End  ? TA_RIGHT
                                                                  : TA_LEFT);
    SetTextAlign(dc, align);
    int y = Px(text.Y);
    if (text.Centred) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        y += (metrics.tmAscent - metrics.tmInternalLeading) / 2;
    }
    const std::wstring shown = Wide(text.Text);
    TextOutW(dc, Px(text.X), y, shown.c_str(), static_cast<int>(shown.size()));
    SelectObject(dc, previous);
}

void DrawShape(HDC dc, const Shape& shape, Fonts& fonts, double scale) {
    const COLORREF colour = ColourOf(shape.Role);
    if (shape.Kind == ShapeKind::Text) {
        SetTextColor(dc, colour);
        return PaintText(dc, shape, fonts);
    }
    const bool thick = shape.Role == ShapeRole::Selected || shape.Role == ShapeRole::Chain;
    HPEN pen = CreatePen(PS_SOLID, thick ? std::max(2, Px(2 * scale)) : 1, colour);
    // Originals and the ring are outlines: what was stays visible behind what is, in any colour scheme.
    const bool filled =
        shape.Role == ShapeRole::Mark || shape.Role == ShapeRole::Bar || shape.Role == ShapeRole::Change;
    HBRUSH brush = filled ? CreateSolidBrush(colour) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
    switch (shape.Kind) {
        case ShapeKind::Line:
            MoveToEx(dc, Px(shape.X), Px(shape.Y), nullptr);
            LineTo(dc, Px(shape.X2), Px(shape.Y2));
            if (shape.Role == ShapeRole::Change) DrawArrowHead(dc, shape, 6 * scale);
            break;
        case ShapeKind::Circle:
            Ellipse(dc, Px(shape.X - shape.X2), Px(shape.Y - shape.X2), Px(shape.X + shape.X2) + 1,
                    Px(shape.Y + shape.X2) + 1);
            break;
        case ShapeKind::Rect:
            Rectangle(dc, Px(shape.X), Px(shape.Y), Px(shape.X + shape.X2) + 1, Px(shape.Y + shape.Y2) + 1);
            break;
        case ShapeKind::Polyline: {
            std::vector<POINT> points;
            for (const auto& [x, y] : shape.Points) points.push_back({Px(x), Px(y)});
            Polyline(dc, points.data(), static_cast<int>(points.size()));
            break;
        }
        case ShapeKind::Text:
            break;
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    if (filled) DeleteObject(brush);
}

// The whole picture drawn into a bitmap first, then copied to the screen at once.
void Paint(HWND window, const ChartWindow& chart) {
    PAINTSTRUCT paint{};
    HDC screen = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max(1L, client.right), std::max(1L, client.bottom));
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    if (chart.Model != nullptr) {
        Fonts fonts(chart.Font);
        const double scale = GetDeviceCaps(screen, LOGPIXELSY) / 96.0;
        for (const Shape& shape : chart.Model->Picture().Shapes) DrawShape(dc, shape, fonts, scale);
    }
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(window, &paint);
}

void Resized(HWND window, ChartWindow& chart) {
    if (chart.Model == nullptr) return;
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    const double scale = GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
    ReleaseDC(window, dc);
    chart.Model->SetSize(client.right, client.bottom, scale);
    InvalidateRect(window, nullptr, FALSE);
}

void CreateTip(HWND window, ChartWindow& chart) {
    chart.Tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (chart.Tip == nullptr) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(chart.Tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // Ship names and their values make long titles: broken into lines rather than cut.
    SendMessageW(chart.Tip, TTM_SETMAXTIPWIDTH, 0, 400);
}

// The mouse moved onto another item (or off one): the shown tip goes, and the next names the new item.
void MouseMoved(ChartWindow& chart, LPARAM where) {
    chart.Mouse = {static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    const int item = chart.Model != nullptr ? chart.Model->ItemAt(chart.Mouse.x, chart.Mouse.y) : -1;
    if (item == chart.TipItem) return;
    chart.TipItem = item;
    if (chart.Tip != nullptr) SendMessageW(chart.Tip, TTM_POP, 0, 0);
}

void Clicked(HWND window, LPARAM where) {
    NMMOUSE click{};
    click.hdr.hwndFrom = window;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window));
    click.hdr.code = NM_CLICK;
    click.pt = {static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    SendMessageW(GetParent(window), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

LRESULT CALLBACK ChartProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ChartWindow& chart = ChartWindows()[window];
    switch (message) {
        case WM_ERASEBKGND:
            return TRUE;  // the painting covers every pixel: erasing first would only flicker
        case WM_PAINT:
            Paint(window, chart);
            return 0;
        case WM_SIZE:
            Resized(window, chart);
            return 0;
        case WM_SETFONT:
            chart.Font = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(chart.Font);
        case WM_SYSCOLORCHANGE:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_MOUSEMOVE:
            MouseMoved(chart, lParam);
            return 0;
        case WM_LBUTTONDOWN:
            Clicked(window, lParam);
            return 0;
        case WM_NOTIFY: {
            auto& header = *reinterpret_cast<NMHDR*>(lParam);
            if (header.hwndFrom == chart.Tip && header.code == TTN_GETDISPINFOW) {
                auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
                chart.TipText = Wide(chart.Model != nullptr ? chart.Model->TipAt(chart.Mouse.x, chart.Mouse.y) : "");
                info.lpszText = chart.TipText.data();
                return 0;
            }
            break;
        }
        case WM_NCDESTROY:
            if (chart.Tip != nullptr) DestroyWindow(chart.Tip);
            ChartWindows().erase(window);
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RegisterChartWindowClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = &ChartProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, kArrowCursor);
        windowClass.lpszClassName = kChartWindowClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

void AttachChart(HWND control, TChartView& model) {
    ChartWindow& chart = ChartWindows()[control];
    chart.Model = &model;
    CreateTip(control, chart);
    Resized(control, chart);
}

void ShowChart(HWND control, const TChartView& model, unsigned& shownVersion) {
    if (model.Version() == shownVersion) return;
    shownVersion = model.Version();
    InvalidateRect(control, nullptr, FALSE);
}

}  // namespace tovarin
