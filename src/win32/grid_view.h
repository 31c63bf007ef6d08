#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/grid.h"

namespace tovarin {

// The model's grid as a virtual list view (report view, LVS_OWNERDATA): the list asks for the texts of the rows it
// paints, so filling and sorting a thousand rows costs nothing here. Changed values are drawn in the system's
// highlight colour (high contrast keeps them readable) besides the "*" their text carries; the heads show the sort
// arrow and their key as a tooltip; each cell shows its tooltip; F2, Enter or a double-click edit a cell in place.
// Everything the player does goes to the model through `deliver`, as UserInput calls.
class GridView {
public:
    using Deliver = std::function<void(const std::function<void()>& input)>;

    GridView(HWND list, TGrid& model, Deliver deliver);
    ~GridView();
    GridView(const GridView&) = delete;
    GridView& operator=(const GridView&) = delete;

    [[nodiscard]] HWND Handle() const { return list_; }
    [[nodiscard]] bool IsTip(HWND window) const { return window != nullptr && window == tip_; }
    // Shows the model's columns, rows, sort, selection and open edit.
    void Show();
    // A notification from the list, its head or the tooltips; false when it is none of theirs. `result` is the
    // notification's answer.
    bool HandleNotify(NMHDR& header, LRESULT& result);
    // F2 and Enter on the list, Enter and Esc in the open edit: taken before the dialog keys would press a button.
    bool HandleKey(const MSG& message);
    // The mouse moved over the list or its head: another cell or head hides the last one's tooltip.
    void MouseMoved(HWND control, LPARAM where);
    // An item of the open drop-down was chosen (clicked, or Enter in its list).
    void ChoiceMade();

private:
    void AttachHeader();
    void ShowColumns();
    void ShowSelection();
    void ShowEdit();
    void SelectionChanged();
    void CommitEdit();
    [[nodiscard]] std::string CellTip() const;
    [[nodiscard]] std::string HeadTip() const;

    HWND list_;
    HWND header_ = nullptr;
    HWND tip_ = nullptr;
    HWND edit_ = nullptr;
    TGrid& model_;
    Deliver deliver_;
    std::vector<GridColumn> shownColumns_;
    std::size_t shownRows_ = static_cast<std::size_t>(-1);
    std::vector<std::size_t> shownSelection_;
    std::optional<GridCell> shownFocus_;
    int column_ = 0;  // the column of the last click, the focused cell's column
    int tipRow_ = -1, tipColumn_ = -1, tipHead_ = -1;
    std::wstring text_;  // what a tooltip or the list was last given: it keeps the pointer while it shows it
    int quiet_ = 0;      // > 0 while the view itself changes the list
};

}  // namespace tovarin
