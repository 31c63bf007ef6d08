#include "ui/platform_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace tovarin {
namespace {

using namespace std::string_literals;

TEST(PlatformTextsTest, FilterBarsBecomeNulsWithTwoNulsAtTheEnd) {
    EXPECT_EQ(NulSeparatedFilter("Vantorsk Ship (*.vks)|*.VKS"), "Vantorsk Ship (*.vks)\0*.VKS\0\0"s);
    EXPECT_EQ(NulSeparatedFilter("A|*.a|B|*.b"), "A\0*.a\0B\0*.b\0\0"s);
    EXPECT_EQ(NulSeparatedFilter(""), "\0\0"s);
}

TEST(PlatformTextsTest, SystemMessagesLoseTrailingBlanksLineBreaksAndFullStops) {
    const struct {
        std::string given;
        std::string shown;
    } rows[] = {
        {"Access is denied.\r\n", "Access is denied"},
        {"The system cannot find the file specified. \r\n", "The system cannot find the file specified"},
        {"Insert the diskette for drive %1.\r\n", "Insert the diskette for drive %1"},
        {"Two lines.\r\nSecond line...\r\n\r\n", "Two lines.\r\nSecond line"},
        {"No ending", "No ending"},
        {" .\r\n", ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.given);
        EXPECT_EQ(TrimSystemMessage(row.given), row.shown);
    }
}

}  // namespace
}  // namespace tovarin
