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
    return SheetCellPlace(sheet, line, column);
}

namespace {

// The text of the sheet, refused when it is empty or no sheet of this kind.
std::string SheetText(const CommandArguments& arguments, const Console& console, const std::string& kind) {
    std::string text = TextOfFile(ReadGivenFile(console, arguments.File));
    const std::string sheet = SheetNamed(arguments);
    if (text.empty()) throw Refusal(sheet + ": an empty file is no sheet of " + kind + "s: " + FirstLineRule(kind));
    if (!HeaderOfKind(text, kind)) {
        throw Refusal(CellWhere(sheet, 1, 1) + "no sheet of " + kind + "s: " + FirstLineRule(kind));
    }
    return text;
}

}  // namespace

SheetRows::SheetRows(const CommandArguments& arguments, const Console& console, const std::string& kind)
    : text_(SheetText(arguments, console, kind)), reader_(text_, SheetNamed(arguments)) {}

void ReportChanged(const Console& console, std::size_t count, const std::string& kind) {
    console.Out << count << ' ' << kind << (count == 1 ? "" : "s") << " changed\n";
}

}  // namespace tovarin::cli
