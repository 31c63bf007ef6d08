// Numbers as boxes show and take them, and sheets as spreadsheet programs write them.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gamefiles/csv.h"
#include "gamefiles/errors.h"
#include "gamefiles/numbers.h"

namespace tovarin {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::optional<std::int32_t> kNo;  // the text is refused, or the value cannot be shown

// The call's value, or nullopt when it fails with the error and the message.
template <typename Error>
std::optional<std::int32_t> ValueOf(const std::function<std::int32_t()>& call, const std::string& message) {
    try {
        return call();
    } catch (const Error& error) {
        EXPECT_EQ(error.Message(), message);
        return kNo;
    }
}

TEST(Numbers, StrictConversionAcceptsExactlyTheFormsABoxMayHold) {
    // clang-format off
    const std::pair<std::string, std::optional<std::int32_t>> rows[] = {
        {"007", 7}, {"+5", 5}, {"   -7", -7}, {"2147483647", kMax}, {"-2147483647", -kMax}, {"$aBc", 0xABC},
        {"  $10", 16}, {"$80000000", kMin}, {"$0000000000FF", 255}, {"", kNo}, {"42 ", kNo}, {"4 2", kNo},
        {"12a", kNo}, {"+", kNo}, {"--1", kNo}, {"-2147483648", kNo}, {"2147483648", kNo},
        {"99999999999999999999", kNo}, {"$", kNo}, {"$G", kNo}, {"$100000000", kNo}, {"-$1", kNo}, {"0x10", kNo}};
    // clang-format on
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(TryStrToInt(text), expected) << text;
        const std::string refusal = "'" + text + "' is not a valid integer value";
        EXPECT_EQ(ValueOf<EConvertError>([&] { return StrToInt(text); }, refusal), expected) << text;
    }
}

// Shown values are rounded half to even after scaling; a value without a 32-bit integer cannot be shown.
// Entered values are scaled and rounded once to single precision, so every value a box can show comes back.
TEST(Numbers, ShownValuesRoundHalvesToEvenAndEnteredOnesComeBack) {
    // clang-format off
    const struct { float stored; Scale scale; std::optional<std::int32_t> shown; } rows[] = {
        {2.5f, Scale::One, 2}, {3.5f, Scale::One, 4}, {-2.5f, Scale::One, -2}, {2.5001f, Scale::One, 3},
        {0.25f, Scale::Milli, 250}, {0.0055f, Scale::Milli, 5} /* the float lies below 0.0055 */,
        {0.25f, Scale::Centi, 25}, {2147483520.0f, Scale::One, 2147483520}, {-2147483648.0f, Scale::One, kNo},
        {2147483648.0f, Scale::One, kNo}, {3.0e6f, Scale::Milli, kNo},
        {std::numeric_limits<float>::quiet_NaN(), Scale::One, kNo},
        {-std::numeric_limits<float>::infinity(), Scale::One, kNo}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.stored << " at scale " << static_cast<int>(row.scale));
        EXPECT_EQ(IsDisplayable(row.stored, row.scale), row.shown.has_value());
        const auto shown = [&] { return DisplayValue(row.stored, row.scale); };
        EXPECT_EQ(ValueOf<EInvalidOp>(shown, "Invalid floating point operation"), row.shown);
    }
    EXPECT_EQ(StoredValue(5, Scale::Milli), 0.005f);  // single-precision arithmetic would give the next float up
    EXPECT_EQ(StoredValue(16777217), 16777216.0f);    // no float of its own: the tie goes to the even neighbour
    EXPECT_EQ(StoredValue(kMax), 2147483648.0f);
    for (const auto& [scale, last] : {std::pair{Scale::Milli, 60000}, std::pair{Scale::Centi, 10000}}) {
        for (std::int32_t entered = -1000; entered <= last; ++entered) {
            ASSERT_EQ(DisplayValue(StoredValue(entered, scale), scale), entered) << static_cast<int>(scale);
        }
    }
}

// Every quoting case and every dialect read, and written back in the one dialect written. Each row: the text, its
// rows with the line each starts on, and what writing those rows gives; for a refused text, where it was refused
// as "line L, column C".
TEST(CsvTest, ReadsEveryDialectWritesOneAndRefusesEveryQuotingFault) {
    using Rows = std::vector<std::pair<std::size_t, std::vector<std::string>>>;
    // clang-format off
    const struct { std::string text; Rows read; std::string written; } rows[] = {
        {"a,b\nc", {{1, {"a", "b"}}, {2, {"c"}}}, "a,b\r\nc\r\n"},
        {"\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\nx",
         {{1, {"a,b", "say \"hi\"", "two\r\nlines"}}, {3, {"x"}}},
         "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\nx\r\n"},
        {"\"plain\",,\"\"\r\n\r\n,", {{1, {"plain", "", ""}}, {2, {""}}, {3, {"", ""}}}, "plain,,\r\n\r\n,\r\n"},
        {"a\rb\r\rc", {{1, {"a"}}, {2, {"b"}}, {3, {""}}, {4, {"c"}}}, "a\r\nb\r\n\r\nc\r\n"},  // CR alone ends a line
        {"\"x\ry\"\rz", {{1, {"x\ry"}}, {3, {"z"}}}, "\"x\ry\"\r\nz\r\n"},
        {"ship;mass\r\nKestrel;5,5;\"a;b\"", {{1, {"ship", "mass"}}, {2, {"Kestrel", "5,5", "a;b"}}},
         "ship,mass\r\nKestrel,\"5,5\",\"a;b\"\r\n"},                                   // the header's separator
        {"ship\tmass\r\nSable\t 7 \r\n", {{1, {"ship", "mass"}}, {2, {"Sable", "7"}}}, "ship,mass\r\nSable,7\r\n"},
        {"\"a,b\";c,d", {{1, {"a,b", "c,d"}}}, "\"a,b\",\"c,d\"\r\n"},  // a quoted separator does not count
        {"ship\nx;y", {{1, {"ship"}}, {2, {"x;y"}}}, "ship\r\n\"x;y\"\r\n"},  // no separator in the header: commas
        {"  Kestrel , 640 ,\t\"  two  \"  ,", {{1, {"Kestrel", "640", "  two  ", ""}}},
         "Kestrel,640,\"  two  \",\r\n"},                                          // blanks outside quotes go
        {"", {}, ""},
        {"a,b\r\nc,d\"e\r\n", {}, "line 2, column 2"},  // a quote inside an unquoted field
        {"\"a\" b,c", {}, "line 1, column 1"},          // text after the closing quote
        {"a\r\nb,\"c\r\nd", {}, "line 2, column 2"},    // an unclosed quote
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        try {
            Rows read;
            std::vector<std::vector<std::string>> fields;
            for (const CsvRow& r : ReadCsv(row.text)) read.emplace_back(r.Line, fields.emplace_back(r.Fields));
            EXPECT_EQ(read, row.read);
            EXPECT_EQ(WriteCsv(fields), row.written);
        } catch (const ECsvError& error) {
            EXPECT_EQ("line " + std::to_string(error.Line) + ", column " + std::to_string(error.Column), row.written)
                << error.Message();
        }
    }
}

}  // namespace
}  // namespace tovarin
