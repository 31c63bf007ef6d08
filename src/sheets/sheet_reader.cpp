#include "sheets/sheet_reader.h"

#include <algorithm>

#include "sheets/refusal.h"

namespace tovarin {

namespace {

bool IsBlank(const CsvRow& row) {
    return std::all_of(row.Fields.begin(), row.Fields.end(), [](const std::string& field) { return field.empty(); });
}

bool EndsWithLineEnd(std::string_view text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

}  // namespace

std::string SheetCellPlace(const std::string& file, std::size_t line, std::size_t column) {
    return file + ", line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

SheetReader::SheetReader(std::string_view text, std::string file) : text_(text), file_(std::move(file)), reader_(text) {
    try {
        CsvReader check(text_);
        if (!check.Next(header_)) throw Refusal(file_ + " holds no header row");
        CheckHeader();
        std::set<std::string> items;
        std::size_t rows = 1;
        CsvRow row;
        bool more = check.Next(row);
        while (more) {
            if (++rows > kMaxSheetRows) {
                throw Refusal(file_ + " holds more than " + std::to_string(kMaxSheetRows) +
                              " rows, more than any game's sheet needs");
            }
            CsvRow next;
            more = check.Next(next);
            CheckRow(row, !more, items);
            row = std::move(next);
        }
    } catch (const ECsvError& error) {
        throw Refusal(SheetCellPlace(file_, error.Line, error.Column) + error.Problem);
    }
    (void)reader_.Next(header_);
}

void SheetReader::CheckHeader() const {
    const std::vector<std::string>& keys = header_.Fields;
    if (keys.size() > kMaxSheetColumns) {
        throw Refusal(SheetCellPlace(file_, header_.Line, kMaxSheetColumns + 1) + "more than " +
                      std::to_string(kMaxSheetColumns) + " columns, more than any game's sheet needs");
    }
    std::set<std::string> seen;
    for (std::size_t column = 1; column < keys.size(); ++column) {
        if (keys[column].empty()) {
            throw Refusal(SheetCellPlace(file_, header_.Line, column + 1) +
                          "the header names no key for this column: every column needs one");
        }
        if (!seen.insert(keys[column]).second) {
            throw Refusal(SheetCellPlace(file_, header_.Line, column + 1) + "key " + keys[column] + " twice");
        }
    }
}

void SheetReader::CheckRow(const CsvRow& row, bool last, std::set<std::string>& items) const {
    if (IsBlank(row)) return;
    const std::size_t width = header_.Fields.size();
    if (row.Fields.size() > width) {
        throw Refusal(SheetCellPlace(file_, row.Line, width + 1) + "more cells than the header row names");
    }
    if (last && row.Fields.size() < width && !EndsWithLineEnd(text_)) {
        throw Refusal(SheetCellPlace(file_, row.Line, row.Fields.size()) +
                      "the sheet ends inside this row, without a line end and with " +
                      std::to_string(row.Fields.size()) + " of the header's " + std::to_string(width) +
                      " cells: it looks cut short; save it whole again");
    }
    if (!items.insert(row.Fields[0]).second) {
        throw Refusal(SheetCellPlace(file_, row.Line, 1) + Abbreviated(row.Fields[0]) + " is named twice");
    }
}

bool SheetReader::Next(CsvRow& row) {
    while (reader_.Next(row)) {
        if (!IsBlank(row)) return true;
    }
    return false;
}

}  // namespace tovarin
