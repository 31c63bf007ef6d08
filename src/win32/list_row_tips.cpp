#include "win32/list_row_tips.h"
// After windows.h, which the header brings.
#include <commctrl.h>

namespace tovarin {

namespace {

std::wstring RowText(HWND list, int row) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length <= 0) return L"";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// Whether the row's text is wider than the room the list gives it.
bool RowCut(HWND list, const std::wstring& text) {
    RECT room{};
    GetClientRect(list, &room);
    HDC dc = GetDC(list);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    const int margins = 2 * GetSystemMetrics(SM_CXEDGE);
    return size.cx + margins > room.right;
}

}  // namespace

ListRowTips::~ListRowTips() {
    if (tip_ != nullptr) DestroyWindow(tip_);
}

void ListRowTips::Create(HWND window) {
    window_ = window;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void ListRowTips::AddList(HWND list) {
    if (tip_ == nullptr || list == nullptr) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ListRowTips::MouseMoved(HWND list, LPARAM where) {
    const auto nearest = static_cast<int>(LOWORD(SendMessageW(list, LB_ITEMFROMPOINT, 0, where)));
    RECT item{};
    const bool onRow =
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(nearest), reinterpret_cast<LPARAM>(&item)) != LB_ERR &&
        PtInRect(&item, POINT{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))});
    const int row = onRow ? nearest : -1;
    if (list == list_ && row == row_) return;
    list_ = list;
    row_ = row;
    if (tip_ != nullptr) SendMessageW(tip_, TTM_POP, 0, 0);
}

bool ListRowTips::HandleNotify(NMHDR& header) {
    if (tip_ == nullptr || header.hwndFrom != tip_ || header.code != TTN_GETDISPINFOW) return false;
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    const auto list = reinterpret_cast<HWND>(header.idFrom);
    text_.clear();
    if (list == list_ && row_ >= 0) text_ = RowText(list, row_);
    if (!text_.empty() && !RowCut(list, text_)) text_.clear();
    info.lpszText = text_.data();
    return true;
}

}  // namespace tovarin
