#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/errors.h"

// Comma-separated sheets as spreadsheet programs read and write them (RFC 4180): a field holding a comma, a quote
// or a line break is enclosed in quotes, and a quote inside it is doubled. Written lines end with CR LF; read
// lines may end with CR LF or LF alone, and a UTF-8 byte order mark before the first field is skipped.
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
};

// Every row of the text. A line end at the very end starts no further row; an empty line is a row of one empty
// field. Throws ECsvError for a quote inside a field that does not start with one, anything but a comma or a line
// end after a closing quote, and a quoted field that is never closed.
[[nodiscard]] std::vector<CsvRow> ReadCsv(std::string_view text);

// The rows as text, each line ended by CR LF; fields are quoted only when they need it.
[[nodiscard]] std::string WriteCsv(const std::vector<std::vector<std::string>>& rows);

}  // namespace tovarin
