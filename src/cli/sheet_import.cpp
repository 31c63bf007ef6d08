#include "cli/sheet_import.h"

#include <algorithm>
#include <cctype>

#include "cli/command_files.h"
#include "gamefiles/text_encoding.h"

namespace tovarin::cli {

namespace {

// What the first line of a sheet of this kind must hold, for the refusal of one that does not.
std::string FirstLineRule(const std::string& kind) {
    return "its first line must be a header whose first cell is \"" + kind + "\", as \"export " + kind +
           "s\" writes it";
}

bool SameLetters(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// Whether the text's first line is a header of this kind, its first cell the kind: looked at before the rest, so
// that a file of any other bytes is refused as no sheet rather than for the first quote it happens to hold.
bool HeaderOfKind(std::string_view text, const std::string& kind) {
    try {
        const std::vector<CsvRow> header = ReadCsv(text.substr(0, text.find_first_of("\r\n")));
        return !header.empty() && SameLetters(header[0].Fields[0], kind);
    } catch (const ECsvError&) {
        return false;
    }
}

}  // namespace

std::string SheetNamed(const CommandArguments& arguments) { return FileNamed("", arguments.File); }

std::string CellWhere(const std::string& sheet, std::size_t line, std::size_t column) {
    return sheet + ", line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

std::vector<CsvRow> ReadSheetRows(const CommandArguments& arguments, const Console& console, const std::string& kind) {
    const std::string sheet = SheetNamed(arguments);
    const std::string text = TextOfFile(ReadGivenFile(console, arguments.File));
    if (text.empty()) throw Refusal(sheet + ": an empty file is no sheet of " + kind + "s: " + FirstLineRule(kind));
    if (!HeaderOfKind(text, kind)) {
        throw Refusal(CellWhere(sheet, 1, 1) + "no sheet of " + kind + "s: " + FirstLineRule(kind));
    }
    try {
        return ReadCsv(text);
    } catch (const ECsvError& error) {
        throw Refusal(CellWhere(sheet, error.Line, error.Column) + error.Problem);
    }
}

void ReportChanged(const Console& console, std::size_t count, const std::string& kind) {
    console.Out << count << ' ' << kind << (count == 1 ? "" : "s") << " changed\n";
}

}  // namespace tovarin::cli
