#include "gamefiles/numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "gamefiles/errors.h"

namespace tovarin {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::optional<std::int32_t> kNo;  // the text is refused, or the value cannot be shown

TEST(StrictConversion, AcceptsExactlyTheFormsABoxMayHold) {
    // clang-format off
    const std::pair<std::string, std::optional<std::int32_t>> rows[] = {
        {"0", 0}, {"007", 7}, {"+5", 5}, {"-5", -5}, {"-0", 0}, {"  42", 42}, {"   -7", -7}, {"2147483647", kMax},
        {"+2147483647", kMax}, {"-2147483647", -kMax}, {"$1f", 31}, {"$1F", 31}, {"$aBc", 0xABC}, {"  $10", 16},
        {"$80000000", kMin}, {"$FFFFFFFF", -1}, {"$0000000000FF", 255}, {"", kNo}, {" ", kNo}, {"42 ", kNo},
        {"4 2", kNo}, {"- 4", kNo}, {"12a", kNo}, {"1.5", kNo}, {"1e3", kNo}, {"+", kNo}, {"-", kNo}, {"+-1", kNo},
        {"--1", kNo}, {"-2147483648", kNo}, {"2147483648", kNo}, {"99999999999999999999", kNo}, {"$", kNo},
        {"$G", kNo}, {"$100000000", kNo}, {"$-1", kNo}, {"-$1", kNo}, {"+$1", kNo}, {"$ 1", kNo}, {"0x10", kNo}};
    // clang-format on
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(TryStrToInt(text), expected);
        try {
            EXPECT_EQ(StrToInt(text), expected.value_or(0));
            EXPECT_TRUE(expected) << "not refused";
        } catch (const EConvertError& error) {
            EXPECT_FALSE(expected);
            EXPECT_EQ(error.Message(), "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(DisplayRounding, RoundsHalvesToEvenAfterScaling) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    // clang-format off
    const struct { float stored; Scale scale; std::optional<std::int32_t> shown; } rows[] = {
        {2.5f, Scale::One, 2}, {3.5f, Scale::One, 4}, {-1.5f, Scale::One, -2}, {-2.5f, Scale::One, -2},
        {0.5f, Scale::One, 0}, {2.4999f, Scale::One, 2}, {2.5001f, Scale::One, 3}, {0.25f, Scale::Milli, 250},
        {0.001f, Scale::Milli, 1}, {0.0055f, Scale::Milli, 5} /* the float lies below 0.0055 */,
        {0.25f, Scale::Centi, 25}, {2147483520.0f, Scale::One, 2147483520}, {-2147483648.0f, Scale::One, kNo},
        {2147483648.0f, Scale::One, kNo}, {3.0e6f, Scale::Milli, kNo}, {nan, Scale::One, kNo},
        {infinity, Scale::One, kNo}, {-infinity, Scale::One, kNo}, {nan, Scale::Milli, kNo}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.stored << " at scale " << static_cast<int>(row.scale));
        EXPECT_EQ(IsDisplayable(row.stored, row.scale), row.shown.has_value());
        try {
            EXPECT_EQ(DisplayValue(row.stored, row.scale), row.shown.value_or(0));
            EXPECT_TRUE(row.shown) << "no error";
        } catch (const EInvalidOp& error) {
            EXPECT_FALSE(row.shown);
            EXPECT_EQ(error.Message(), "Invalid floating point operation");
        }
    }
}

TEST(StoredValues, AreScaledAndRoundedOnceToSinglePrecision) {
    EXPECT_EQ(StoredValue(250, Scale::Milli), 0.25f);
    EXPECT_EQ(StoredValue(25, Scale::Centi), 0.25f);
    EXPECT_EQ(StoredValue(1, Scale::Milli), 0.001f);
    EXPECT_EQ(StoredValue(333, Scale::Milli), 0.333f);
    EXPECT_EQ(StoredValue(5, Scale::Milli), 0.005f);  // single-precision arithmetic would give the next float up
    EXPECT_EQ(StoredValue(16777217), 16777216.0f);    // no float of its own: the tie goes to the even neighbour
    EXPECT_EQ(StoredValue(kMax), 2147483648.0f);
    for (const auto& [scale, last] : {std::pair{Scale::Milli, 60000}, std::pair{Scale::Centi, 10000}}) {
        for (std::int32_t entered = -1000; entered <= last; ++entered) {
            ASSERT_EQ(DisplayValue(StoredValue(entered, scale), scale), entered) << static_cast<int>(scale);
        }
    }
}

}  // namespace
}  // namespace tovarin
