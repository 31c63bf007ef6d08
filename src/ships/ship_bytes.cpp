#include "ships/ship_bytes.h"

#include <algorithm>

#include "gamefiles/errors.h"
#include "gamefiles/numbers.h"

namespace tovarin {

namespace {

constexpr int kNegativeSeek = 131;
constexpr int kReadBeyondEnd = 100;

}  // namespace

std::span<const std::uint8_t> ShipBytes::From(std::int64_t position) const {
    if (position < 0) throw EInOutError(kNegativeSeek);
    return position < Size() ? file_.subspan(static_cast<std::size_t>(position)) : std::span<const std::uint8_t>{};
}

std::int32_t ShipBytes::Find(const Marker& marker, std::int32_t start) const {
    return FindMarkerIn(file_, marker, start);
}

std::uint8_t ShipBytes::Byte(std::int32_t position) const { return ReadByteIn(file_, position); }

std::uint16_t ShipBytes::Word(std::int32_t position, bool highFirst) const {
    const auto bytes = ReadTwoBytesIn(file_, position);
    return highFirst ? MakeWord(bytes[1], bytes[0]) : MakeWord(bytes[0], bytes[1]);
}

std::string ShipBytes::String(std::int32_t position) const {
    const std::span<const std::uint8_t> rest = From(position);
    const auto end = std::find(rest.begin(), rest.end(), std::uint8_t{0});
    if (end == rest.end()) throw EInOutError(kReadBeyondEnd);
    return std::string(rest.begin(), end);
}

std::vector<std::uint8_t> ShipBytes::Slice(std::int32_t position, std::int32_t count) const {
    const std::span<const std::uint8_t> rest = From(position);
    if (count < 0 || rest.size() < static_cast<std::size_t>(count)) throw EInOutError(kReadBeyondEnd);
    return {rest.begin(), rest.begin() + count};
}

std::int32_t ShipBytes::ShownFloat(std::int32_t position) const { return DisplayValue(ReadFloatIn(file_, position)); }

}  // namespace tovarin
