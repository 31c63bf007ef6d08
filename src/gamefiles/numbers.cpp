#include "gamefiles/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "gamefiles/errors.h"

namespace tovarin {

// Display and storage scaling happen in 80-bit extended precision, rounded once at the end.
static_assert(std::numeric_limits<long double>::digits == 64, "long double must be the x87 80-bit format");

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One or more hexadecimal digits whose value fits 32 bits, read as a signed pattern.
std::optional<std::int32_t> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > INT32_MAX) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

long double DisplayFactor(Scale scale) {
    switch (scale) {
        case Scale::Milli:
            return 1000.0L;
        case Scale::Centi:
            return 100.0L;
        case Scale::One:
            break;
    }
    return 1.0L;
}

long double StorageFactor(Scale scale) {
    switch (scale) {
        case Scale::Milli:
            return 0.001L;
        case Scale::Centi:
            return 0.01L;
        case Scale::One:
            break;
    }
    return 1.0L;
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '$') return ParseHex(text.substr(1));
    return ParseDecimal(text);
}

std::int32_t StrToInt(std::string_view text) {
    const auto value = TryStrToInt(text);
    if (!value) throw EConvertError(std::string(text));
    return *value;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::int32_t IniTextToInt(std::string_view text, std::int32_t defaultValue) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return ParseHex(text.substr(2)).value_or(defaultValue);
    }
    return TryStrToInt(text).value_or(defaultValue);
}

std::int32_t RoundHalfEven(long double value) {
    // A value of magnitude 2^31 or more has no integer a box could show and a box could take back.
    if (!std::isfinite(value) || std::fabs(value) >= 2147483648.0L) throw EInvalidOp();
    // To nearest, ties to even, as the default rounding mode does; worked out on integers, because nearbyint on a
    // long double is slow enough to be most of the time of a command that shows every ship's values. Both parts are
    // exact: the value has fewer bits than a long double holds.
    auto rounded = static_cast<std::int64_t>(value);  // toward zero
    const long double fraction = value - static_cast<long double>(rounded);
    const long double away = std::fabs(fraction);
    if (away > 0.5L || (away == 0.5L && rounded % 2 != 0)) rounded += fraction > 0 ? 1 : -1;
    if (rounded > 2147483647) throw EInvalidOp();  // 2147483647.5 and above round out of range
    return static_cast<std::int32_t>(rounded);
}

std::int32_t DisplayValue(float stored, Scale scale) {
    return RoundHalfEven(static_cast<long double>(stored) * DisplayFactor(scale));
}

bool IsDisplayable(float stored, Scale scale) {
    try {
        (void)DisplayValue(stored, scale);
        return true;
    } catch (const EInvalidOp&) {
        return false;
    }
}

void CheckReadsBack(std::int32_t entered, Scale scale) {
    const auto shown = [scale](float stored) {
        return IsDisplayable(stored, scale) ? std::optional(DisplayValue(stored, scale)) : std::nullopt;
    };
    const float stored = StoredValue(entered, scale);
    const std::optional<std::int32_t> readBack = shown(stored);
    if (readBack == entered) return;
    // The next float on the entered value's other side holds the nearest value there. Beyond 2^31 nothing can be
    // shown, and the float toward zero is the one to try.
    const bool storedAbove = readBack ? *readBack > entered : entered > 0;
    const float infinity = std::numeric_limits<float>::infinity();
    const std::optional<std::int32_t> other = shown(std::nextafter(stored, storedAbove ? -infinity : infinity));
    std::vector<std::int32_t> tries;
    for (const std::optional<std::int32_t>& value : {readBack, other}) {
        if (value) tries.push_back(*value);
    }
    std::sort(tries.begin(), tries.end());
    std::string message = IntToStr(entered) + " would read back as " +
                          (readBack ? IntToStr(*readBack) : std::string("no whole number")) + ". Please try ";
    for (std::size_t i = 0; i < tries.size(); ++i) message += (i > 0 ? " or " : "") + IntToStr(tries[i]);
    throw Exception(message);
}

namespace {

// Digits after optional blanks and a sign, or "$" and hex digits: a number, even one too large for an integer.
bool WrittenAsNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const bool hex = !text.empty() && text.front() == '$';
    if (hex || (!text.empty() && (text.front() == '+' || text.front() == '-'))) text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [hex](char c) { return (c >= '0' && c <= '9') || (hex && HexDigit(c) >= 0); });
}

}  // namespace

std::int32_t TypedValue(std::string_view text, const ValueLimits& limits) {
    const std::optional<std::int32_t> value = TryStrToInt(text);
    if (!value && WrittenAsNumber(text)) {
        constexpr std::int32_t kOffered = 2000000000;  // what the number boxes have always offered
        throw Exception("Out of range. Please try a value less than " +
                        IntToStr(std::int64_t{std::min(limits.Max, kOffered)} + 1));
    }
    if (!value) throw EConvertError(text);
    if (*value > limits.Max) throw Exception(IntToStr(*value) + " is more than " + IntToStr(limits.Max));
    if (*value < limits.Min) throw Exception(IntToStr(*value) + " is less than " + IntToStr(limits.Min));
    if (limits.Float) CheckReadsBack(*value, *limits.Float);
    return *value;
}

float StoredValue(std::int32_t entered, Scale scale) {
    return static_cast<float>(static_cast<long double>(entered) * StorageFactor(scale));
}

std::uint32_t FloatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float FloatFromBits(std::uint32_t bits) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace tovarin
