#include "gamefiles/numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "gamefiles/errors.h"

namespace tovarin {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct ConversionRow {
    std::string text;
    std::optional<std::int32_t> expected;  // nullopt: the text is refused
};

TEST(StrictConversion, AcceptsExactlyTheFormsABoxMayHold) {
    const std::vector<ConversionRow> rows = {
        {"0", 0},
        {"123", 123},
        {"007", 7},
        {"+5", 5},
        {"-5", -5},
        {"-0", 0},
        {"  42", 42},
        {"   -7", -7},
        {"2147483647", kMax},
        {"+2147483647", kMax},
        {"-2147483647", -kMax},
        {"$1f", 31},
        {"$1F", 31},
        {"$aBc", 0xABC},
        {"  $10", 16},
        {"$7FFFFFFF", kMax},
        {"$80000000", kMin},
        {"$FFFFFFFF", -1},
        {"$ffffffff", -1},
        {"$0000000000FF", 255},  // leading zeros do not count against the 32 bits
        {"", std::nullopt},
        {" ", std::nullopt},
        {"42 ", std::nullopt},
        {"4 2", std::nullopt},
        {"- 4", std::nullopt},
        {"12a", std::nullopt},
        {"1.5", std::nullopt},
        {"1e3", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"--1", std::nullopt},
        {"-2147483648", std::nullopt},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$", std::nullopt},
        {"$G", std::nullopt},
        {"$100000000", std::nullopt},
        {"$-1", std::nullopt},
        {"-$1", std::nullopt},
        {"+$1", std::nullopt},
        {"$ 1", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("text \"" + row.text + "\"");
        EXPECT_EQ(TryStrToInt(row.text), row.expected);
        if (row.expected) {
            EXPECT_EQ(StrToInt(row.text), *row.expected);
        } else {
            EXPECT_THROW((void)StrToInt(row.text), EConvertError);
        }
    }
}

TEST(StrictConversion, FailureNamesTheTextAsTyped) {
    try {
        (void)StrToInt(" 12x");
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "' 12x' is not a valid integer value");
    }
}

TEST(IniIntegers, ReadHexWithZeroXAndEverythingElseStrictly) {
    constexpr std::int32_t kDefault = 7;
    const std::vector<ConversionRow> rows = {
        {"0x1F", 31},       {"0X10", 16},       {"0xff", 255},      {"0xFFFFFFFF", -1},
        {"0x0", 0},         {"$10", 16},        {"12", 12},         {"-3", -3},
        {"0", 0},           {"00", 0},          {"0x", kDefault},   {"0X", kDefault},
        {"0xZZ", kDefault}, {"0x1G", kDefault}, {"0x-1", kDefault}, {"0x100000000", kDefault},
        {"x10", kDefault},  {"", kDefault},     {"abc", kDefault},  {"5 ", kDefault},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("value \"" + row.text + "\"");
        EXPECT_EQ(IniTextToInt(row.text, kDefault), *row.expected);
    }
}

TEST(IntegerText, IsPlainDecimal) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(kMin), "-2147483648");
}

struct DisplayRow {
    std::string name;
    float stored;
    Scale scale;
    std::optional<std::int32_t> shown;  // nullopt: "Invalid floating point operation"
};

TEST(DisplayRounding, RoundsHalvesToEvenAfterScaling) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const std::vector<DisplayRow> rows = {
        {"2.5", 2.5f, Scale::One, 2},
        {"3.5", 3.5f, Scale::One, 4},
        {"-1.5", -1.5f, Scale::One, -2},
        {"-2.5", -2.5f, Scale::One, -2},
        {"0.5", 0.5f, Scale::One, 0},
        {"2.4999", 2.4999f, Scale::One, 2},
        {"2.5001", 2.5001f, Scale::One, 3},
        {"0.25 s in ms", 0.25f, Scale::Milli, 250},
        {"0.001 s in ms", 0.001f, Scale::Milli, 1},
        {"0.0025 s in ms", 0.0025f, Scale::Milli, 2},  // the float lies just below 0.0025
        {"0.25 as percent", 0.25f, Scale::Centi, 25},
        {"largest float below 2^31", 2147483520.0f, Scale::One, 2147483520},
        {"-2^31", -2147483648.0f, Scale::One, std::nullopt},
        {"2^31", 2147483648.0f, Scale::One, std::nullopt},
        {"3e6 s in ms", 3.0e6f, Scale::Milli, std::nullopt},
        {"NaN", nan, Scale::One, std::nullopt},
        {"infinity", infinity, Scale::One, std::nullopt},
        {"-infinity", -infinity, Scale::One, std::nullopt},
        {"NaN in ms", nan, Scale::Milli, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsDisplayable(row.stored, row.scale), row.shown.has_value());
        if (row.shown) {
            EXPECT_EQ(DisplayValue(row.stored, row.scale), *row.shown);
        } else {
            try {
                (void)DisplayValue(row.stored, row.scale);
                ADD_FAILURE() << "no error";
            } catch (const EInvalidOp& error) {
                EXPECT_EQ(error.Message(), "Invalid floating point operation");
            }
        }
    }
}

TEST(DisplayRounding, ExtendedValuesJustInsideAndOutsideTheRange) {
    EXPECT_EQ(RoundHalfEven(2147483647.4L), kMax);
    EXPECT_EQ(RoundHalfEven(-2147483647.4L), -kMax);
    EXPECT_EQ(RoundHalfEven(-2147483647.5L), kMin);  // the value itself is inside the range
    EXPECT_THROW((void)RoundHalfEven(2147483647.5L), EInvalidOp);
    EXPECT_THROW((void)RoundHalfEven(-2147483648.0L), EInvalidOp);
}

TEST(StoredValues, AreScaledAndRoundedOnceToSinglePrecision) {
    EXPECT_EQ(StoredValue(250, Scale::Milli), 0.25f);
    EXPECT_EQ(StoredValue(25, Scale::Centi), 0.25f);
    EXPECT_EQ(StoredValue(1, Scale::Milli), 0.001f);
    EXPECT_EQ(StoredValue(333, Scale::Milli), 0.333f);
    EXPECT_EQ(StoredValue(-7), -7.0f);
    // 16777217 has no float of its own; the tie goes to the even neighbour.
    EXPECT_EQ(StoredValue(16777217), 16777216.0f);
    EXPECT_EQ(StoredValue(kMax), 2147483648.0f);
}

TEST(StoredValues, ComeBackAsTheNumberEntered) {
    const struct {
        Scale scale;
        std::vector<std::int32_t> entered;
    } rows[] = {
        {Scale::Milli, {0, 1, 2, 7, 250, 333, 999, 1000, 1001, 12345, 65535, -333}},
        {Scale::Centi, {0, 1, 25, 33, 67, 99, 100, 101, -1}},
        {Scale::One, {0, 1, -1, 2000000000, 16777216}},
    };
    for (const auto& row : rows) {
        for (const std::int32_t value : row.entered) {
            SCOPED_TRACE("scale " + std::to_string(static_cast<int>(row.scale)) + ", entered " + std::to_string(value));
            EXPECT_EQ(DisplayValue(StoredValue(value, row.scale), row.scale), value);
        }
    }
}

TEST(StoredValues, EveryMillisecondCountUpToAMinuteComesBack) {
    for (std::int32_t ms = 0; ms <= 60000; ++ms) {
        ASSERT_EQ(DisplayValue(StoredValue(ms, Scale::Milli), Scale::Milli), ms);
    }
}

}  // namespace
}  // namespace tovarin
