#include "win32/window_placement.h"

#include <array>

#include "ui/screen_fit.h"

namespace tovarin {

namespace {

constexpr const wchar_t* kKey = L"Software\\Tovarin";
constexpr std::array<const wchar_t*, 5> kValues = {L"WindowLeft", L"WindowTop", L"WindowRight", L"WindowBottom",
                                                   L"WindowMaximized"};

}  // namespace

void SaveWindowPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return;
    const RECT& normal = placement.rcNormalPosition;
    const std::array<LONG, 5> numbers = {normal.left, normal.top, normal.right, normal.bottom,
                                         placement.showCmd == SW_SHOWMAXIMIZED || IsZoomed(window) ? 1 : 0};
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;  // a window that cannot be remembered opens at its usual place next time
    }
    for (std::size_t i = 0; i < kValues.size(); ++i) {
        const auto value = static_cast<DWORD>(numbers[i]);
        RegSetValueExW(key, kValues[i], 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    RegCloseKey(key);
}

bool RestoreWindowPlacement(HWND window) {
    std::array<LONG, 5> numbers{};
    for (std::size_t i = 0; i < kValues.size(); ++i) {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegGetValueW(HKEY_CURRENT_USER, kKey, kValues[i], RRF_RT_REG_DWORD, nullptr, &value, &size) !=
            ERROR_SUCCESS) {
            return false;
        }
        numbers[i] = static_cast<LONG>(value);
    }
    RECT saved{numbers[0], numbers[1], numbers[2], numbers[3]};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
    // The window's own smallest size, as its sizing border keeps it.
    MINMAXINFO limits{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    const RECT& area = monitor.rcWork;
    const ScreenRect fitted =
        FitOnScreen({saved.left, saved.top, saved.right, saved.bottom}, {area.left, area.top, area.right, area.bottom},
                    limits.ptMinTrackSize.x, limits.ptMinTrackSize.y);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    placement.rcNormalPosition = {fitted.Left, fitted.Top, fitted.Right, fitted.Bottom};
    placement.showCmd = numbers[4] != 0 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    placement.flags = 0;
    return SetWindowPlacement(window, &placement) != FALSE;
}

}  // namespace tovarin
