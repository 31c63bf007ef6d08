#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "gamefiles/csv.h"
#include "sheets/sheet_reader.h"

// What the imports of the ship, gun and missile sheets share: the sheet read in whatever dialect a spreadsheet
// program saved it (gamefiles/text_encoding.h, gamefiles/csv.h), a file that is no sheet of its kind refused
// before anything is looked at, refused cells named by their place, and the report of what changed.
namespace tovarin::cli {

// A sheet's header and then its rows one at a time: a sheet of any size is held as its text and one row, never
// as all its cells at once. `kind` is what a row stands for ("ship", "gun", "missile") and the title of the sheet's
// first column, as the export writes it. Refused naming the file when it cannot be read, when it is no sheet of
// this kind, and for what makes any sheet no sheet (sheets/sheet_reader.h), before any row is given.
class SheetRows {
public:
    SheetRows(const CommandArguments& arguments, const Console& console, const std::string& kind);
    SheetRows(const SheetRows&) = delete;  // the reader looks into the text held here
    SheetRows& operator=(const SheetRows&) = delete;

    [[nodiscard]] const CsvRow& Header() const { return reader_.Header(); }
    // The next row after the header with a filled cell into `row`; false after the last.
    bool Next(CsvRow& row) { return reader_.Next(row); }

private:
    std::string text_;
    SheetReader reader_;
};

// "SHEET, line L, column C: ", in front of the message of a refused cell.
[[nodiscard]] std::string CellWhere(const std::string& sheet, std::size_t line, std::size_t column);

// The sheet as messages name it: its path as given, or "standard input".
[[nodiscard]] std::string SheetNamed(const CommandArguments& arguments);

// What an import changed, on standard output, the same for every kind: "3 ships changed", "1 ship changed",
// "0 ships changed".
void ReportChanged(const Console& console, std::size_t count, const std::string& kind);

}  // namespace tovarin::cli
