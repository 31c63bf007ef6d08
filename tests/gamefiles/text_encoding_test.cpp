// The game's Windows-1252 against UTF-8 and UTF-16: names as they are typed, read from files, shown and written.
#include "gamefiles/text_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovarin {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Every byte goes to UTF-8 and comes back, in a name as in a file; the bytes where Windows-1252 is not Latin-1 and
// the five it leaves unassigned go where Windows maps them.
TEST(TextEncoding, EveryByteOfTheGameGoesToUtf8AndComesBack) {
    std::string every;
    for (int byte = 1; byte < 256; ++byte) every += static_cast<char>(byte);
    EXPECT_TRUE(IsUtf8(Utf8FromWindows1252(every)));
    EXPECT_EQ(GameText(Utf8FromWindows1252(every)), every);
    EXPECT_EQ(TextOfFile(Bytes(FileBytesOfText(every))), every);
    EXPECT_EQ(Utf8FromWindows1252("\x80\x81\x9F\xE9"), "\u20AC\u0081\u0178\u00E9");
    EXPECT_EQ(FileBytesOfText("Kestrel,640\r\n"), "Kestrel,640\r\n");  // ASCII needs no mark
    EXPECT_EQ(FileBytesOfText("Kestr\xE9l"), "\xEF\xBB\xBFKestr\xC3\xA9l");
}

// What a file holds, as game text: each encoding a spreadsheet or an editor saves.
TEST(TextEncoding, ReadsEveryEncodingAFileComesIn) {
    // clang-format off
    const std::pair<std::string, std::string> rows[] = {
        {"Kestr\xC3\xA9l \xE2\x82\xAC", "Kestr\xE9l \x80"},                  // UTF-8
        {"\xEF\xBB\xBFKestr\xC3\xA9l", "Kestr\xE9l"},                        // UTF-8 behind its mark
        {"Kestr\xE9l", "Kestr\xE9l"},                                        // Windows-1252
        {"\xC0\xAF\xED\xA0\x80", "\xC0\xAF\xED\xA0\x80"},                   // overlong, surrogate: not UTF-8
        {std::string("\xFF\xFEK\0\xE9\0\xAC\x20", 8), "K\xE9\x80"},         // UTF-16, low byte first
        {std::string("\xFE\xFF\0K\0\xE9", 6), "K\xE9"},                     // UTF-16, high byte first
        {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},   // a pair: kept in UTF-8
        {std::string("\xFF\xFE\x00\xD8K\0x", 7), "\xEF\xBF\xBDK\xEF\xBF\xBD"},  // a lone half, an odd byte
        {std::string("\0\0\0", 3), std::string("\0\0\0", 3)},
        {"", ""},
    };
    // clang-format on
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        EXPECT_EQ(TextOfFile(Bytes(rows[row].first)), rows[row].second) << "row " << row;
    }
}

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
