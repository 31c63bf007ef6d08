#include "ui/grid.h"

#include <algorithm>
#include <cstdint>

#include "gamefiles/case_fold.h"
#include "gamefiles/numbers.h"

namespace tovarin {

namespace {

const std::string kNoText;

// What a column sorts by: a number where the cell holds one, the folded text otherwise.
struct SortKey {
    std::optional<std::int32_t> Number;
    std::string Text;
};

bool Before(const SortKey& a, const SortKey& b, bool numeric) {
    if (numeric && (a.Number || b.Number)) {
        if (!a.Number || !b.Number) return a.Number.has_value();  // numbers first, then the cells without one
        if (*a.Number != *b.Number) return *a.Number < *b.Number;
    }
    return a.Text < b.Text;
}

}  // namespace

void TGrid::SetRows(std::vector<GridColumn> columns, const GridSource* source) {
    const auto keyOf = [](const GridColumn& column) { return column.Key; };
    const bool sameColumns = std::ranges::equal(columns, columns_, {}, keyOf, keyOf);
    if (!sameColumns) {
        sortColumn_.reset();
        descending_ = false;
    }
    // The same table read again (after a save, or when the page is shown) keeps what the player selected.
    const bool sameRows = sameColumns && source != nullptr && source->RowCount() == selected_.size();
    columns_ = std::move(columns);
    source_ = source;
    editedSource_.reset();
    const std::size_t rows = source_ == nullptr ? 0 : source_->RowCount();
    if (!sameRows) {
        selected_.assign(rows, false);
        focusedSource_.reset();
    }
    Refilter();
}

void TGrid::SetFilter(std::function<bool(std::size_t sourceRow)> keep) {
    keep_ = std::move(keep);
    Refilter();
}

void TGrid::Refilter() {
    shown_.clear();
    const std::size_t rows = source_ == nullptr ? 0 : source_->RowCount();
    for (std::size_t row = 0; row < rows; ++row) {
        if (!keep_ || keep_(row)) shown_.push_back(row);
    }
    Sort();
}

void TGrid::NumberPlaces() {
    place_.assign(source_ == nullptr ? 0 : source_->RowCount(), kHidden);
    for (std::size_t i = 0; i < shown_.size(); ++i) place_[shown_[i]] = i;
    // A row the filter hides is no longer selected or focused: what the player acts on is what the player sees.
    for (std::size_t row = 0; row < selected_.size(); ++row) {
        if (place_[row] == kHidden) selected_[row] = false;
    }
    if (focusedSource_ && place_[*focusedSource_] == kHidden) focusedSource_.reset();
    if (editedSource_ && place_[*editedSource_] == kHidden) editedSource_.reset();
}

void TGrid::SortBy(std::size_t column) {
    if (column >= columns_.size()) return;
    descending_ = sortColumn_ == column && !descending_;
    sortColumn_ = column;
    Sort();
}

void TGrid::Sort() {
    if (sortColumn_) {
        const std::size_t column = *sortColumn_;
        const bool numeric = columns_[column].Numeric;
        std::vector<SortKey> keys(source_->RowCount());
        for (const std::size_t row : shown_) {
            const std::string& value = source_->Value(row, column);
            keys[row] = {numeric ? TryStrToInt(value) : std::nullopt, FoldedCase(value)};
        }
        std::stable_sort(shown_.begin(), shown_.end(), [&](std::size_t a, std::size_t b) {
            return descending_ ? Before(keys[b], keys[a], numeric) : Before(keys[a], keys[b], numeric);
        });
    }
    NumberPlaces();
}

std::optional<std::size_t> TGrid::ShownPlace(std::size_t sourceRow) const {
    if (sourceRow >= place_.size() || place_[sourceRow] == kHidden) return std::nullopt;
    return place_[sourceRow];
}

const std::string& TGrid::Value(std::size_t shownRow, std::size_t column) const {
    if (shownRow >= shown_.size() || column >= columns_.size()) return kNoText;
    return source_->Value(shown_[shownRow], column);
}

bool TGrid::Changed(std::size_t shownRow, std::size_t column) const {
    return shownRow < shown_.size() && column < columns_.size() && source_->Changed(shown_[shownRow], column);
}

std::string TGrid::CellText(std::size_t shownRow, std::size_t column) const {
    const std::string& value = Value(shownRow, column);
    return Changed(shownRow, column) ? value + kChangedMark : value;
}

std::string TGrid::CellTip(std::size_t shownRow, std::size_t column) const {
    if (shownRow >= shown_.size() || column >= columns_.size()) return {};
    return source_->Tip(shown_[shownRow], column);
}

std::vector<std::size_t> TGrid::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const std::size_t row : shown_) {
        if (selected_[row]) rows.push_back(row);
    }
    return rows;
}

bool TGrid::Selected(std::size_t shownRow) const { return shownRow < shown_.size() && selected_[shown_[shownRow]]; }

void TGrid::Select(const std::vector<std::size_t>& shownRows) {
    std::fill(selected_.begin(), selected_.end(), false);
    for (const std::size_t place : shownRows) {
        if (place < shown_.size()) selected_[shown_[place]] = true;
    }
}

std::optional<GridCell> TGrid::FocusedCell() const {
    if (!focusedSource_) return std::nullopt;
    return GridCell{place_[*focusedSource_], focusedColumn_};
}

void TGrid::SetFocusedCell(std::optional<GridCell> cell) {
    if (!cell || cell->Row >= shown_.size() || cell->Column >= columns_.size()) {
        focusedSource_.reset();
        return;
    }
    focusedSource_ = shown_[cell->Row];
    focusedColumn_ = cell->Column;
}

std::optional<GridCell> TGrid::EditedCell() const {
    if (!editedSource_) return std::nullopt;
    return GridCell{place_[*editedSource_], editedColumn_};
}

bool TGrid::CanEdit(GridCell cell) const {
    return OnEditCommit && cell.Row < shown_.size() && cell.Column < columns_.size() &&
           (!CanEditColumn || CanEditColumn(cell.Column));
}

bool TGrid::BeginEdit(GridCell cell) {
    if (!CanEdit(cell)) return false;
    editedSource_ = shown_[cell.Row];
    editedColumn_ = cell.Column;
    editText_ = Value(cell.Row, cell.Column);
    return true;
}

void TGrid::EndEdit() {
    editedSource_.reset();
    editText_.clear();
}

}  // namespace tovarin
