#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The arithmetic of a bulk change, done exactly on decimals so that the preview never shows a result a binary
// fraction made up: every value the boxes show is a whole number, an amount may have decimals ("12.5" %), and a
// result between two whole numbers is rounded half away from zero (665.5 to 666, -665.5 to -666).
namespace tovarin {

// An amount as typed: Units / 10^Places.
struct Decimal {
    std::int64_t Units = 0;
    int Places = 0;
};

// The most digits an amount may have before and after its point.
inline constexpr int kMostAmountDigits = 12;
inline constexpr int kMostAmountPlaces = 6;

// "12", "-3", "+4.25"; none for any other text.
[[nodiscard]] std::optional<Decimal> ParseDecimal(std::string_view text);

// A whole number as a box takes it, and the exact result it was rounded from ("" when it needed no rounding).
struct WholeResult {
    std::string Text;
    std::string Exact;
};

[[nodiscard]] WholeResult AddDecimal(std::int32_t value, const Decimal& amount);
// The value times amount / 100: "Scale by 110 %" makes 600 into 660.
[[nodiscard]] WholeResult ScaleByPercent(std::int32_t value, const Decimal& percent);

}  // namespace tovarin
