#pragma once

#include <cstddef>
#include <cstdint>

// Bounds on what a downloaded mod may hold, far beyond what a real mod needs (a sheet of every ship of a large
// installation is a few megabytes), so that a hostile or broken one is refused naming its file before it is read,
// rather than holding the program for minutes. The README states them; the sheets' rows and columns are bounded
// in sheets/sheet_reader.h.
namespace tovarin {

inline constexpr std::uint64_t kMaxModSheetBytes = 32ull << 20;  // one sheet
inline constexpr std::uint64_t kMaxModInfoBytes = 64ull << 10;   // mod.ini
inline constexpr std::uint64_t kMaxModBytes = 256ull << 20;      // everything "mods add" copies of one mod
inline constexpr std::size_t kMaxModFiles = 1000;                // files and folders "mods add" copies of one mod
inline constexpr std::size_t kMaxModDepth = 16;                  // folders within folders of one mod
// A switched-off mod whose sheets hold more is listed by its mod.ini and its sheets' sizes, and read when switched on.
inline constexpr std::uint64_t kMaxOffModReadBytes = 1ull << 20;

}  // namespace tovarin
