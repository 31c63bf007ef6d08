#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Small helpers for the bytes of game files: appending values as the files store them, and reading them back.
namespace tovarin::demo {

using Bytes = std::vector<std::uint8_t>;

// Appending. Floats and 16-bit counts are stored low byte first, chunk lengths high byte first.
void AppendByte(Bytes& bytes, std::uint8_t value);
void AppendFloat(Bytes& bytes, float value);
void AppendWordLE(Bytes& bytes, std::uint16_t value);
void AppendLongBE(Bytes& bytes, std::uint32_t value);
// The characters, without a terminator.
void AppendText(Bytes& bytes, std::string_view text);
void AppendZeros(Bytes& bytes, std::size_t count);

// Reading back; a position too close to the end throws std::out_of_range.
[[nodiscard]] float FloatAt(const Bytes& bytes, std::size_t position);
[[nodiscard]] std::uint16_t WordBEAt(const Bytes& bytes, std::size_t position);
[[nodiscard]] std::uint32_t LongBEAt(const Bytes& bytes, std::size_t position);

// Overwriting in place.
void PutFloat(Bytes& bytes, std::size_t position, float value);

}  // namespace tovarin::demo
