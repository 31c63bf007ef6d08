#include "tools/ship_bytes.h"

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
    if (start > Size() - static_cast<std::int64_t>(marker.size())) return -1;
    const std::span<const std::uint8_t> rest = From(start);
    bool matchAtZero = false;
    for (auto at = rest.begin();; ++at) {
        at = std::search(at, rest.end(), marker.begin(), marker.end());
        if (at == rest.end()) return matchAtZero ? 0 : -1;
        const auto position = static_cast<std::int32_t>(start + (at - rest.begin()));
        if (position > 0) return position;
        matchAtZero = true;
    }
}

std::uint8_t ShipBytes::Byte(std::int32_t position) const {
    const std::span<const std::uint8_t> rest = From(position);
    if (rest.empty()) throw EInOutError(kReadBeyondEnd);
    return rest[0];
}

std::uint16_t ShipBytes::Word(std::int32_t position, bool highFirst) const {
    const std::span<const std::uint8_t> rest = From(position);
    const std::uint8_t first = rest.size() > 0 ? rest[0] : 0;
    const std::uint8_t second = rest.size() > 1 ? rest[1] : 0;
    return highFirst ? MakeWord(second, first) : MakeWord(first, second);
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

std::int32_t ShipBytes::ShownFloat(std::int32_t position) const {
    const std::span<const std::uint8_t> rest = From(position);
    if (rest.size() < 4) throw EInOutError(kReadBeyondEnd);
    const std::uint32_t bits = static_cast<std::uint32_t>(rest[0]) | static_cast<std::uint32_t>(rest[1]) << 8 |
                               static_cast<std::uint32_t>(rest[2]) << 16 | static_cast<std::uint32_t>(rest[3]) << 24;
    return DisplayValue(FloatFromBits(bits));
}

}  // namespace tovarin
