#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gamefiles/file_primitives.h"

// A ship file's bytes, read in memory exactly as the file primitives read the file on disk: the same results
// and the same errors. A position before the start fails as a seek there does ("I/O error 131"), a read that
// runs out of bytes as a read at the end of the file does ("Read beyond end of file").
namespace tovarin {

class ShipBytes {
public:
    explicit ShipBytes(std::span<const std::uint8_t> file) : file_(file) {}

    // As FindMarker: the first position at or after `start` where the marker stands, or -1; a match at 0 counts
    // only when nothing matches behind it.
    [[nodiscard]] std::int32_t Find(const Marker& marker, std::int32_t start) const;
    // As ReadByteAt.
    [[nodiscard]] std::uint8_t Byte(std::int32_t position) const;
    // Two bytes as ReadBytesAt gives them (those beyond the end read as 0), as a big-endian chunk length or a
    // little-endian count.
    [[nodiscard]] std::uint16_t Word(std::int32_t position, bool highFirst) const;
    // As ReadStringAt: the text up to its NUL.
    [[nodiscard]] std::string String(std::int32_t position) const;
    // Exactly `count` bytes from the position.
    [[nodiscard]] std::vector<std::uint8_t> Slice(std::int32_t position, std::int32_t count) const;
    // The float at the position as a box shows it (as ReadFloatAt).
    [[nodiscard]] std::int32_t ShownFloat(std::int32_t position) const;

private:
    [[nodiscard]] std::int64_t Size() const { return static_cast<std::int64_t>(file_.size()); }
    // The bytes from the position to the end; a negative position is refused as a seek there.
    [[nodiscard]] std::span<const std::uint8_t> From(std::int64_t position) const;

    std::span<const std::uint8_t> file_;
};

}  // namespace tovarin
