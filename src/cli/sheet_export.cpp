#include "cli/sheet_export.h"

#include "cli/command_files.h"
#include "gamefiles/csv.h"
#include "gamefiles/text_encoding.h"

namespace tovarin::cli {

Sheet ExportedSheet(const CommandArguments& arguments, Console& console, Sheet now,
                    const std::function<Sheet()>& before) {
    if (!arguments.Changed) return now;
    std::vector<std::string> leftOut;
    Sheet changed = ChangedCells(before(), now, leftOut);
    for (const std::string& cell : leftOut) {
        console.Err << cell << " left out: a sheet cannot set or clear a value that one side lacks\n";
    }
    return changed;
}

void WriteSheet(const Console& console, const std::string& path, const Sheet& sheet) {
    WriteGivenFile(console, path, FileBytesOfText(WriteCsv(sheet)));
}

}  // namespace tovarin::cli
