#include "fleet_edits/bulk_arithmetic.h"

#include <algorithm>
#include <cctype>

namespace tovarin {

namespace {

using Wide = __int128;  // a 32-bit value times a 12-digit amount, with room to spare

Wide PowerOfTen(int exponent) {
    Wide power = 1;
    for (int i = 0; i < exponent; ++i) power *= 10;
    return power;
}

std::string WideText(Wide value) {
    if (value == 0) return "0";
    const bool negative = value < 0;
    std::string digits;
    for (; value != 0; value /= 10) {
        const auto digit = static_cast<int>(value % 10);
        digits.push_back(static_cast<char>('0' + (digit < 0 ? -digit : digit)));
    }
    if (negative) digits.push_back('-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// numerator / 10^places, exact ("665.5"), without trailing zeros.
std::string ExactText(Wide numerator, int places) {
    const Wide scale = PowerOfTen(places);
    const Wide whole = numerator / scale;
    Wide rest = numerator % scale;
    std::string text = (numerator < 0 && whole == 0 ? "-" : "") + WideText(whole);
    if (rest == 0) return text;
    if (rest < 0) rest = -rest;
    std::string fraction = WideText(rest);
    fraction.insert(0, static_cast<std::size_t>(places) - fraction.size(), '0');
    while (fraction.back() == '0') fraction.pop_back();
    return text + "." + fraction;
}

// numerator / 10^places to the nearest whole number, a half away from zero.
WholeResult Rounded(Wide numerator, int places) {
    const Wide scale = PowerOfTen(places);
    Wide whole = numerator / scale;
    const Wide rest = numerator % scale;
    if (rest == 0) return {WideText(whole), ""};
    if (2 * (rest < 0 ? -rest : rest) >= scale) whole += numerator < 0 ? -1 : 1;
    return {WideText(whole), ExactText(numerator, places)};
}

}  // namespace

std::optional<Decimal> ParseDecimal(std::string_view text) {
    Decimal amount;
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
    };
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (!digits(whole) || !digits(fraction) || (point != std::string_view::npos && fraction.empty())) {
        return std::nullopt;
    }
    if (whole.size() > kMostAmountDigits || fraction.size() > kMostAmountPlaces) return std::nullopt;
    for (const char c : std::string(whole) + std::string(fraction)) amount.Units = amount.Units * 10 + (c - '0');
    amount.Places = static_cast<int>(fraction.size());
    if (negative) amount.Units = -amount.Units;
    return amount;
}

WholeResult AddDecimal(std::int32_t value, const Decimal& amount) {
    return Rounded(Wide{value} * PowerOfTen(amount.Places) + amount.Units, amount.Places);
}

WholeResult ScaleByPercent(std::int32_t value, const Decimal& percent) {
    return Rounded(Wide{value} * percent.Units, percent.Places + 2);
}

}  // namespace tovarin
