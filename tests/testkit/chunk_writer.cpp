#include "testkit/chunk_writer.h"

#include <stdexcept>
#include <string>

namespace tovarin::testkit {

namespace {

constexpr std::size_t kHeaderSize = 8;

void CheckTag(std::string_view tag) {
    if (tag.size() != 4) throw std::invalid_argument("a chunk tag has 4 characters: " + std::string(tag));
}

std::string TagAt(const Bytes& bytes, std::size_t position) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(position),
                       bytes.begin() + static_cast<std::ptrdiff_t>(position + 4));
}

// Checks the chunks from `begin` to `end`, recursing into forms.
std::string ChildrenProblem(const Bytes& bytes, std::size_t begin, std::size_t end) {
    std::size_t at = begin;
    while (at < end) {
        if (end - at < kHeaderSize) return "a chunk header is cut short at " + std::to_string(at);
        const std::size_t length = LongBEAt(bytes, at + 4);
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

std::int32_t ChunkWriter::BeginForm(std::string_view type) {
    CheckTag(type);
    const std::int32_t start = Position();
    AppendText(bytes_, "FORM");
    AppendLongBE(bytes_, 0);
    AppendText(bytes_, type);
    openForms_.push_back(static_cast<std::size_t>(start));
    return start;
}

void ChunkWriter::EndForm() {
    if (openForms_.empty()) throw std::logic_error("no form is open");
    const std::size_t start = openForms_.back();
    openForms_.pop_back();
    const auto length = static_cast<std::uint32_t>(bytes_.size() - start - kHeaderSize);
    Bytes field;
    AppendLongBE(field, length);
    std::copy(field.begin(), field.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(start + 4));
}

std::int32_t ChunkWriter::Chunk(std::string_view tag, const Bytes& data) {
    CheckTag(tag);
    const std::int32_t start = Position();
    AppendText(bytes_, tag);
    AppendLongBE(bytes_, static_cast<std::uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) AppendByte(bytes_, 0);
    return start;
}

Bytes ChunkWriter::Finish() const {
    if (!openForms_.empty()) throw std::logic_error("a form is still open");
    return bytes_;
}

std::string ChunkTreeProblem(const Bytes& bytes) {
    if (bytes.size() < kHeaderSize + 4 || TagAt(bytes, 0) != "FORM") return "the file is not one form";
    const std::size_t total = kHeaderSize + LongBEAt(bytes, 4);
    if (total != bytes.size()) {
        return "the top-level form says " + std::to_string(total) + " bytes, the file has " +
               std::to_string(bytes.size());
    }
    return ChildrenProblem(bytes, kHeaderSize + 4, bytes.size());
}

}  // namespace tovarin::testkit
