#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/errors.h"

// Sheets as spreadsheet programs read and write them (RFC 4180): a field holding the separator, a quote or a line
// break is enclosed in quotes, and a quote inside it is doubled. Written sheets are separated by commas, their lines
// ended by CR LF. Read sheets may be separated by commas, by semicolons (what a spreadsheet in every European locale
// saves) or by tabs (Excel's "Unicode text"), whichever the header line uses first; their lines may end with CR LF,
// LF or CR alone; blanks around a cell are dropped unless they are inside its quotes. The text is read as it is
// (gamefiles/text_encoding.h turns a file's bytes into it).
namespace tovarin {

// One row of a sheet and the line of the file it starts on, counted from 1 (a quoted line break inside an
// earlier field makes rows and lines differ).
struct CsvRow {
    std::vector<std::string> Fields;
    std::size_t Line = 0;
};

// A field that breaks the quoting rules. Line: where the field starts; column: its place in the row, both
// counted from 1, as a spreadsheet numbers them.
class ECsvError : public Exception {
public:
    ECsvError(std::size_t line, std::size_t column, const std::string& problem);
    std::size_t Line;
    std::size_t Column;
    std::string Problem;  // the message without its place
};

// Reads the rows of a text one at a time, so that a large sheet is held as its text and one row rather than as
// every cell at once. The text must outlive the reader.
class CsvReader {
public:
    explicit CsvReader(std::string_view text);

    // The next row into `row` (its storage used again); false after the last row. Throws ECsvError as ReadCsv.
    bool Next(CsvRow& row);

private:
    [[nodiscard]] bool AtLineEnd() const;
    [[nodiscard]] bool AtFieldEnd() const;
    [[nodiscard]] bool AtBlank() const;
    void SkipLineEnd();
    void SkipBlanks();
    void ReadField(std::size_t column, std::string& field);
    void ReadQuotedField(std::size_t column, std::string& field);

    std::string_view text_;
    char separator_;
    std::size_t position_ = 0;
    std::size_t line_ = 1;
};

// Every row of the text. A line end at the very end starts no further row; an empty line is a row of one empty
// field. Throws ECsvError for a quote inside a field that does not start with one, anything but blanks, the
// separator or a line end after a closing quote, and a quoted field that is never closed.
[[nodiscard]] std::vector<CsvRow> ReadCsv(std::string_view text);

// The rows as text separated by commas, each line ended by CR LF; fields are quoted only when they need it (also
// for a semicolon, a tab or blanks at either end, so that the text reads back as the same rows).
[[nodiscard]] std::string WriteCsv(const std::vector<std::vector<std::string>>& rows);

}  // namespace tovarin
