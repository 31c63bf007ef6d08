#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The number rules every editor shares: how a box's text becomes an integer, how the INI files' integers are
// read, and how stored floats are shown and integers stored.
namespace tovarin {

// The strict conversion of a box's text: optional leading blanks, then "+"/"-" and decimal digits
// (-2147483647..2147483647) or "$" and hexadecimal digits whose value fits 32 bits (read as a signed
// pattern, so "$80000000" is -2147483648). Nothing may follow. nullopt when the text is no such integer.
[[nodiscard]] std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, but a text that does not convert throws EConvertError naming it.
[[nodiscard]] std::int32_t StrToInt(std::string_view text);

// Decimal text: "-" before negative numbers, no leading zeros.
[[nodiscard]] std::string IntToStr(std::int64_t value);

// An INI value as an integer: "0x"/"0X" followed by hexadecimal digits (text longer than 2 characters), else
// the strict conversion; anything that does not convert gives the default.
[[nodiscard]] std::int32_t IniTextToInt(std::string_view text, std::int32_t defaultValue);

// Scales applied between what a box shows and what a file stores: times shown in milliseconds are stored in
// seconds, a probability shown in percent is stored as a fraction.
enum class Scale { One, Milli, Centi };

// A stored float as the box shows it: multiplied by the scale's display factor (1000 for Milli, 100 for
// Centi) in extended precision, then rounded with RoundHalfEven (EInvalidOp for NaN, infinity and magnitudes
// of 2^31 or more).
[[nodiscard]] std::int32_t DisplayValue(float stored, Scale scale = Scale::One);

// Rounds an extended-precision value to the nearest integer, halves to even. A value that is not finite, of
// magnitude 2^31 or more, or that rounds beyond 2147483647 throws EInvalidOp.
[[nodiscard]] std::int32_t RoundHalfEven(long double value);

// An entered integer as the file stores it: multiplied by the scale's storage factor (0.001 or 0.01) in
// extended precision and rounded once to the nearest single-precision float.
[[nodiscard]] float StoredValue(std::int32_t entered, Scale scale = Scale::One);

// True when a stored float could be shown again, that is DisplayValue would not throw.
[[nodiscard]] bool IsDisplayable(float stored, Scale scale = Scale::One);

// Refuses (Exception) an entered integer that its stored float would not show again as entered, naming the
// nearest values that would: "16777217 would read back as 16777216. Please try 16777216 or 16777218".
void CheckReadsBack(std::int32_t entered, Scale scale = Scale::One);

// What a value typed for a field can be: a whole number from Min to Max, or, for a float field, a number its
// stored float shows again as typed.
struct ValueLimits {
    std::int32_t Min = -2147483647;
    std::int32_t Max = 2147483647;
    std::optional<Scale> Float;  // a float field, shown with this scale
};
inline constexpr ValueLimits kByteValue{0, 255, std::nullopt};
inline constexpr ValueLimits kWordValue{0, 65535, std::nullopt};
[[nodiscard]] constexpr ValueLimits FloatLimits(Scale scale = Scale::One) { return {-2147483647, 2147483647, scale}; }

// The one check of a typed value, for the boxes and the command line alike. Refuses (Exception) a text that is no
// integer ("'abc' is not a valid integer value"), a number beyond the integer range ("Out of range. Please try a
// value less than 256", with the field's own largest value), one beyond the field's limits ("300 is more than 255",
// "-1 is less than 0") and one a float field would not show again (as CheckReadsBack does).
[[nodiscard]] std::int32_t TypedValue(std::string_view text, const ValueLimits& limits);

// The 4 bytes of a float as the files store them (little-endian), and back.
[[nodiscard]] std::uint32_t FloatBits(float value);
[[nodiscard]] float FloatFromBits(std::uint32_t bits);

}  // namespace tovarin
