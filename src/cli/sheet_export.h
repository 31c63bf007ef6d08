#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "sheets/changed_cells.h"

// What the exports of the ship, gun and missile sheets share: writing the sheet, and with --changed keeping only
// what differs from the originals, the balance mod that `import` applies to an installation as it was. That relies
// on the import's rule that an empty cell or a missing column keeps the value.
namespace tovarin::cli {

// `now` as the export writes it: whole, or with --changed its changed cells against `before` (built only then),
// each cell left out named on standard error.
[[nodiscard]] Sheet ExportedSheet(const CommandArguments& arguments, Console& console, Sheet now,
                                  const std::function<Sheet()>& before);

// Writes the sheet to the file in one replacement ("-": to standard output) as Excel and LibreOffice both open it
// with a double-click: separated by commas, lines ended by CR LF, and when a name is not ASCII in UTF-8 behind a
// byte-order mark.
void WriteSheet(const Console& console, const std::string& path, const Sheet& sheet);

}  // namespace tovarin::cli
