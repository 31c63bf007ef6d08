#include "demo/chunk_writer.h"

#include <stdexcept>
#include <string>

namespace tovarin::demo {

namespace {

constexpr std::size_t kHeaderSize = 8;

void CheckTag(std::string_view tag) {
    if (tag.size() != 4) throw std::invalid_argument("a chunk tag has 4 characters: " + std::string(tag));
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

}  // namespace tovarin::demo
