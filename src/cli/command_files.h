#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "gamefiles/errors.h"

// The files a command is given beside the game's own (sheets and profiles), and how messages name every file: a
// game file by its path in the game folder ("Ships\kestrel.iff"), any other by its path as given, and "-" (a sheet
// read from standard input) as "standard input".
namespace tovarin::cli {

// "-" in place of a file: standard input for a file read, standard output for one written.
inline constexpr std::string_view kStandardStream = "-";

// A file as messages name it.
[[nodiscard]] std::string FileNamed(const std::string& gameFolder, const std::string& path);

// The bytes of a file the command only reads, opened without asking to write it (so a read-only one serves as
// well); "-" reads standard input. A failure names the file.
[[nodiscard]] std::vector<std::uint8_t> ReadGivenFile(const Console& console, const std::string& path);

// Replaces (or creates) a file the command writes with exactly these bytes; "-" writes them to standard output.
// Refused naming the file when its folder does not exist.
void WriteGivenFile(const Console& console, const std::string& path, std::string_view bytes);

}  // namespace tovarin::cli
