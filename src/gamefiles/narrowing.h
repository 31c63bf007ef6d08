#pragma once

#include <cstddef>
#include <cstdint>

#include "gamefiles/errors.h"

// Checked narrowing: the program never cuts a value silently. Each helper throws the error the program has
// always reported for that kind of overflow.
namespace tovarin {

// A value for an 8-bit field: 0..255, else "Range check error".
[[nodiscard]] inline std::uint8_t ToByte(std::int64_t value) {
    if (value < 0 || value > 255) throw ERangeError();
    return static_cast<std::uint8_t>(value);
}

// A value for an unsigned 16-bit field: 0..65535, else "Range check error".
[[nodiscard]] inline std::uint16_t ToWord(std::int64_t value) {
    if (value < 0 || value > 65535) throw ERangeError();
    return static_cast<std::uint16_t>(value);
}

// An index into a fixed table of `size` entries, else "Range check error".
[[nodiscard]] inline std::size_t CheckIndex(std::int64_t index, std::size_t size) {
    if (index < 0 || static_cast<std::uint64_t>(index) >= size) throw ERangeError();
    return static_cast<std::size_t>(index);
}

// A value in lo..hi, else "Range check error".
[[nodiscard]] inline std::int32_t CheckRange(std::int64_t value, std::int64_t lo, std::int64_t hi) {
    if (value < lo || value > hi) throw ERangeError();
    return static_cast<std::int32_t>(value);
}

// A file position computed from others: it must stay a signed 32-bit value, else "Integer overflow".
[[nodiscard]] inline std::int32_t AddPos(std::int64_t a, std::int64_t b) {
    const std::int64_t sum = a + b;
    if (sum < INT32_MIN || sum > INT32_MAX) throw EIntOverflow();
    return static_cast<std::int32_t>(sum);
}

}  // namespace tovarin
