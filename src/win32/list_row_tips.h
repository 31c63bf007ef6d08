#pragma once

#include <windows.h>

#include <string>

namespace tovarin {

// A row of a list box that is wider than its list shows whole in a tooltip while the mouse rests on it. The lists
// have no horizontal scroll bar, which would cover a row; the pickers beside the mount lists show the selected
// row's weapon and count whole.
class ListRowTips {
public:
    ListRowTips() = default;
    ~ListRowTips();
    ListRowTips(const ListRowTips&) = delete;
    ListRowTips& operator=(const ListRowTips&) = delete;

    // Creates the tooltip of the window; its questions come to the window as WM_NOTIFY.
    void Create(HWND window);
    void AddList(HWND list);
    // The mouse moved over a list: a row other than the last one hides the last one's tip.
    void MouseMoved(HWND list, LPARAM where);
    // Answers the tooltip's question for its text (the row under the mouse when it is cut, else none); false for
    // a notification that is not the tooltip's.
    bool HandleNotify(NMHDR& header);

private:
    HWND window_ = nullptr;
    HWND tip_ = nullptr;
    HWND list_ = nullptr;  // the list the mouse is over, and its row there (-1 for none)
    int row_ = -1;
    std::wstring text_;  // the tooltip keeps a pointer to it while it shows
};

}  // namespace tovarin
