#pragma once

#include <cstdint>
#include <span>
#include <string>

// The chunk tree the game's files hold: a chunk is a 4-character tag, a big-endian length of the data, the data and
// a pad byte after odd data; a "FORM" chunk holds a 4-character type and child chunks, its length counting both.
namespace tovarin {

// Whether the bytes are one well-formed chunk tree (every length inside its parent, odd data padded, the whole
// file one top-level form whose length is the file's): empty when they are, else what is wrong and where.
[[nodiscard]] std::string ChunkTreeProblem(std::span<const std::uint8_t> bytes);

}  // namespace tovarin
