#include "ui/platform_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tovarin {
namespace {

using namespace std::string_literals;

TEST(PlatformTexts, FiltersGetNulsAndSystemMessagesLoseTheirEnding) {
    EXPECT_EQ(NulSeparatedFilter("A|*.a|B|*.B"), "A\0*.a\0B\0*.B\0\0"s);
    EXPECT_EQ(NulSeparatedFilter(""), "\0\0"s);
    const std::pair<std::string, std::string> rows[] = {
        {"Access is denied. \r\n", "Access is denied"},
        {"Two lines.\r\nSecond line...\r\n\r\n", "Two lines.\r\nSecond line"},
        {"No ending", "No ending"},
        {" .\r\n", ""}};
    for (const auto& [given, shown] : rows) EXPECT_EQ(TrimSystemMessage(given), shown) << given;
}

}  // namespace
}  // namespace tovarin
