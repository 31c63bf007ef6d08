#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "demo/bytes.h"

// Writes a chunk tree the way the game's files hold one: a chunk is a 4-character tag, a big-endian length of
// the data, the data and a pad byte after odd data; a "FORM" chunk holds a 4-character type and child chunks,
// its length counting both. Lengths are filled in when a form is closed, so they are always right.
namespace tovarin::demo {

class ChunkWriter {
public:
    // Where the next chunk will start.
    [[nodiscard]] std::int32_t Position() const { return static_cast<std::int32_t>(bytes_.size()); }

    // Opens a form; returns the offset of its "FORM" tag.
    std::int32_t BeginForm(std::string_view type);
    // Closes the innermost open form, filling in its length.
    void EndForm();
    // Writes a whole chunk; returns the offset of its tag.
    std::int32_t Chunk(std::string_view tag, const Bytes& data);

    // The bytes written; every form must be closed.
    [[nodiscard]] Bytes Finish() const;

private:
    Bytes bytes_;
    std::vector<std::size_t> openForms_;
};

}  // namespace tovarin::demo
