#pragma once

#include <cstddef>
#include <set>
#include <string>

#include "gamefiles/csv.h"

// One reader for every sheet the program takes in, whether "import" is given it or a mod carries it, with one set
// of refusals for what makes a sheet no sheet: a quoting fault anywhere, a header cell left empty or naming a key
// twice, a row with more cells than the header, an item named twice, a sheet that ends inside a row (cut short in a
// download or a copy), and a sheet beyond the bounds below. What the keys and items mean is the caller's to check.
namespace tovarin {

// Bounds on a sheet, far beyond what any game's sheet needs, so that a hostile one cannot hold the program.
inline constexpr std::size_t kMaxSheetRows = 100000;
inline constexpr std::size_t kMaxSheetColumns = 1000;

class SheetReader {
public:
    // Reads the whole text through once, so that a fault late in the sheet is refused before any row is given,
    // and reads the header. Refused with a Refusal "FILE, line L, column C: ..." (or "FILE: ..." for a sheet
    // without a header). The text must outlive the reader.
    SheetReader(std::string_view text, std::string file);
    SheetReader(const SheetReader&) = delete;
    SheetReader& operator=(const SheetReader&) = delete;

    [[nodiscard]] const CsvRow& Header() const { return header_; }
    // The next row after the header that has a filled cell, into `row`; false after the last.
    bool Next(CsvRow& row);

private:
    void CheckHeader() const;
    void CheckRow(const CsvRow& row, bool last, std::set<std::string>& items) const;

    std::string_view text_;
    std::string file_;
    CsvReader reader_;
    CsvRow header_;
};

// "FILE, line L, column C: ", in front of the message of a refused cell.
[[nodiscard]] std::string SheetCellPlace(const std::string& file, std::size_t line, std::size_t column);

}  // namespace tovarin
