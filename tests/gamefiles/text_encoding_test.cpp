// The game's Windows-1252 against UTF-8 and UTF-16: names as they are typed, read from files, shown and written.
#include "gamefiles/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovarin {
namespace {

// Typed or shown: UTF-8 where the bytes are UTF-8, Windows-1252 elsewhere, and a Latin-1 terminal given bytes.
TEST(TextEncoding, NamesAreTakenAsTypedAndShownInEitherEncoding) {
    EXPECT_EQ(GameText("Kestr\xC3\xA9l"), "Kestr\xE9l");
    EXPECT_EQ(GameText("Kestr\xE9l"), "Kestr\xE9l");
    EXPECT_EQ(GameText("\xE6\x97\xA5"), "\xE6\x97\xA5");  // a character the game lacks keeps its bytes
    EXPECT_EQ(ShownText("/home/jos\xC3\xA9: Kestr\xE9l"), "/home/jos\xC3\xA9: Kestr\xC3\xA9l");
    EXPECT_EQ(ShownText("\xE6\x97\xA5 \x80"), "\xE6\x97\xA5 \xE2\x82\xAC");
    EXPECT_EQ(Windows1252ForTerminal("Kestr\xC3\xA9l \xE6\x97\xA5"), "Kestr\xE9l ?");
    EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsUtf8("\xE0\x80\x80"));      // overlong
    EXPECT_FALSE(IsUtf8("\xC3"));              // cut short
    EXPECT_TRUE(IsUtf8("\xF4\x8F\xBF\xBF"));
}

}  // namespace
}  // namespace tovarin
