#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls.h"

// A grid of many rows: columns with captions, a row source of any size that the grid does not copy, the rows shown in
// their order after sort and filter, a selection of several rows, the focused cell, a mark on each value that differs
// from its original, a tooltip per cell, and editing a cell in place. The front-end draws it as a virtual list view:
// it asks for the cells of the rows it paints, and nothing is copied per repaint.
namespace tovarin {

struct GridColumn {
    std::string Caption;  // as the head shows it
    std::string Key;      // what the head's tooltip names: the key a sheet names the column by
    bool Numeric = false;
};

// Where the grid's rows come from. Rows are numbered in the source's order; the grid keeps only their numbers.
class GridSource {
public:
    virtual ~GridSource() = default;
    [[nodiscard]] virtual std::size_t RowCount() const = 0;
    // The value as the row holds it ("" for none); a reference into the source, valid while the source lives.
    [[nodiscard]] virtual const std::string& Value(std::size_t row, std::size_t column) const = 0;
    // True where the value differs from its original.
    [[nodiscard]] virtual bool Changed(std::size_t row, std::size_t column) const = 0;
    // The cell's tooltip ("" for none); worked out when asked, as hovering asks for one cell at a time.
    [[nodiscard]] virtual std::string Tip(std::size_t row, std::size_t column) const = 0;
};

// A cell by its place among the shown rows and the columns.
struct GridCell {
    std::size_t Row = 0;
    std::size_t Column = 0;
    bool operator==(const GridCell&) const = default;
};

class TGrid : public TControl {
public:
    using TControl::TControl;

    // The marker a changed value's text carries. Windows list views give a screen reader only the cells' texts (no
    // colour, no per-cell state), so the mark is part of the text that the list view shows and a reader reads.
    static constexpr const char* kChangedMark = " *";

    // Sets the columns and the rows; the grid shows every row in source order, sorted again by the column it was
    // sorted by when that column is still there, and keeps the selection of rows that remain. The source must
    // outlive its use by the grid (or be replaced first).
    void SetRows(std::vector<GridColumn> columns, const GridSource* source);
    [[nodiscard]] const std::vector<GridColumn>& Columns() const { return columns_; }
    [[nodiscard]] const GridSource* Source() const { return source_; }

    // Which source rows are shown: the filter is asked once per row when the rows are set or Refilter is called.
    void SetFilter(std::function<bool(std::size_t sourceRow)> keep);
    void Refilter();

    // The shown rows, each as its source row, in their shown order.
    [[nodiscard]] const std::vector<std::size_t>& ShownRows() const { return shown_; }
    [[nodiscard]] std::size_t RowCount() const { return shown_.size(); }
    [[nodiscard]] std::size_t SourceRow(std::size_t shownRow) const { return shown_.at(shownRow); }
    // The shown place of a source row, or none when the filter hides it.
    [[nodiscard]] std::optional<std::size_t> ShownPlace(std::size_t sourceRow) const;

    // The cell's text as the grid shows it: the value, with kChangedMark when it differs from its original.
    [[nodiscard]] std::string CellText(std::size_t shownRow, std::size_t column) const;
    [[nodiscard]] const std::string& Value(std::size_t shownRow, std::size_t column) const;
    [[nodiscard]] bool Changed(std::size_t shownRow, std::size_t column) const;
    [[nodiscard]] std::string CellTip(std::size_t shownRow, std::size_t column) const;
    // The head's tooltip: the column's key.
    [[nodiscard]] const std::string& HeadTip(std::size_t column) const { return columns_.at(column).Key; }

    // Sorts by the column: numbers as numbers (a cell without one after every number), texts without regard to case;
    // rows that tie keep their source order. Sorting again by the same column reverses the order.
    void SortBy(std::size_t column);
    [[nodiscard]] std::optional<std::size_t> SortColumn() const { return sortColumn_; }
    [[nodiscard]] bool SortDescending() const { return descending_; }

    // The selected rows, as source rows in shown order; selection survives sorting and filtering of rows still shown.
    [[nodiscard]] std::vector<std::size_t> SelectedRows() const;
    [[nodiscard]] bool Selected(std::size_t shownRow) const;
    // Selects exactly these shown rows (out-of-range places are ignored).
    void Select(const std::vector<std::size_t>& shownRows);
    [[nodiscard]] std::optional<GridCell> FocusedCell() const;
    void SetFocusedCell(std::optional<GridCell> cell);

    // In-place editing: the cell being edited and the text typed so far, while an edit is open.
    [[nodiscard]] std::optional<GridCell> EditedCell() const;
    [[nodiscard]] const std::string& EditText() const { return editText_; }
    [[nodiscard]] bool CanEdit(GridCell cell) const;
    // Opens an edit on the cell with its value; false when the cell cannot be edited (no OnEditCommit, a column
    // CanEditColumn refuses).
    bool BeginEdit(GridCell cell);
    void TypeInEdit(std::string text) { editText_ = std::move(text); }
    void EndEdit();

    // A commit of an in-place edit: the source row, the column and the typed text. Returns true when the value was
    // taken; false keeps the edit open (the handler said why), as a refused box keeps the focus.
    std::function<bool(std::size_t sourceRow, std::size_t column, const std::string& text)> OnEditCommit;
    // Which columns take an edit (none says every one).
    std::function<bool(std::size_t column)> CanEditColumn;
    // The values a column's edit chooses among, as a drop-down list; none, or an empty list, says a text box.
    std::function<std::vector<std::string>(std::size_t column)> EditChoices;
    [[nodiscard]] std::vector<std::string> Choices(std::size_t column) const {
        return EditChoices ? EditChoices(column) : std::vector<std::string>{};
    }
    // The selection or the focused cell changed by the player.
    TNotifyEvent OnSelect;

private:
    static constexpr std::size_t kHidden = static_cast<std::size_t>(-1);
    void Sort();
    void NumberPlaces();

    std::vector<GridColumn> columns_;
    const GridSource* source_ = nullptr;
    std::function<bool(std::size_t)> keep_;
    std::vector<std::size_t> shown_;
    std::vector<std::size_t> place_;  // by source row: its shown place, or kHidden
    std::vector<bool> selected_;      // by source row
    std::optional<std::size_t> focusedSource_;
    std::size_t focusedColumn_ = 0;
    std::optional<std::size_t> sortColumn_;
    bool descending_ = false;
    std::optional<std::size_t> editedSource_;
    std::size_t editedColumn_ = 0;
    std::string editText_;
};

}  // namespace tovarin
