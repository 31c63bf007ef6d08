#include "demo/bytes.h"

#include <bit>
#include <stdexcept>

namespace tovarin::demo {

namespace {

void CheckRoom(const Bytes& bytes, std::size_t position, std::size_t width) {
    if (position + width > bytes.size()) throw std::out_of_range("read beyond the bytes");
}

}  // namespace

void AppendByte(Bytes& bytes, std::uint8_t value) { bytes.push_back(value); }

void AppendFloat(Bytes& bytes, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void AppendWordLE(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendLongBE(Bytes& bytes, std::uint32_t value) {
    for (int i = 3; i >= 0; --i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendText(Bytes& bytes, std::string_view text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

void AppendZeros(Bytes& bytes, std::size_t count) { bytes.insert(bytes.end(), count, 0); }

float FloatAt(const Bytes& bytes, std::size_t position) {
    CheckRoom(bytes, position, 4);
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = bits << 8 | bytes[position + static_cast<std::size_t>(i)];
    return std::bit_cast<float>(bits);
}

std::uint16_t WordBEAt(const Bytes& bytes, std::size_t position) {
    CheckRoom(bytes, position, 2);
    return static_cast<std::uint16_t>(bytes[position] << 8 | bytes[position + 1]);
}

std::uint32_t LongBEAt(const Bytes& bytes, std::size_t position) {
    CheckRoom(bytes, position, 4);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | bytes[position + i];
    return value;
}

void PutFloat(Bytes& bytes, std::size_t position, float value) {
    CheckRoom(bytes, position, 4);
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes[position + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

}  // namespace tovarin::demo
