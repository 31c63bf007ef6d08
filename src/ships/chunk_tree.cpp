#include "ships/chunk_tree.h"

#include <cstddef>

namespace tovarin {

namespace {

constexpr std::size_t kHeaderSize = 8;

std::string TagAt(std::span<const std::uint8_t> bytes, std::size_t position) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(position),
                       bytes.begin() + static_cast<std::ptrdiff_t>(position + 4));
}

std::size_t LengthAt(std::span<const std::uint8_t> bytes, std::size_t position) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < 4; ++i) length = (length << 8) | bytes[position + i];
    return length;
}

// Checks the chunks from `begin` to `end`, recursing into forms.
std::string ChildrenProblem(std::span<const std::uint8_t> bytes, std::size_t begin, std::size_t end) {
    std::size_t at = begin;
    while (at < end) {
        if (end - at < kHeaderSize) return "a chunk header is cut short at " + std::to_string(at);
        const std::size_t length = LengthAt(bytes, at + 4);
        const std::size_t dataEnd = at + kHeaderSize + length;
        const std::size_t next = dataEnd + length % 2;
        if (next > end) return "the chunk at " + std::to_string(at) + " runs past its parent's end";
        if (TagAt(bytes, at) == "FORM") {
            if (length < 4) return "the form at " + std::to_string(at) + " has no type";
            std::string inner = ChildrenProblem(bytes, at + kHeaderSize + 4, dataEnd);
            if (!inner.empty()) return inner;
        }
        at = next;
    }
    return {};
}

}  // namespace

std::string ChunkTreeProblem(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize + 4 || TagAt(bytes, 0) != "FORM") return "the file is not one form";
    const std::size_t total = kHeaderSize + LengthAt(bytes, 4);
    if (total != bytes.size()) {
        return "the top-level form says " + std::to_string(total) + " bytes, the file has " +
               std::to_string(bytes.size());
    }
    return ChildrenProblem(bytes, kHeaderSize + 4, bytes.size());
}

}  // namespace tovarin
