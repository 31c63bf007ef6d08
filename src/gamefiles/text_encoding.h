#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The game's texts (the catalogue's names, the ship files' strings) are Windows-1252, as the Windows of its day
// wrote them; terminals, spreadsheets and JSON speak UTF-8 (and Excel's "Unicode text" UTF-16). These are the
// conversions between them. Windows-1252 is a fixed map of 256 bytes, given here as a table: MinGW has no iconv,
// and iconv refuses the five bytes Windows-1252 leaves unassigned, which Windows itself maps to U+0081, U+008D,
// U+008F, U+0090 and U+009D, so that every byte goes there and back.
namespace tovarin {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing beyond U+10FFFF).
[[nodiscard]] bool IsUtf8(std::string_view text);

// Windows-1252 text in UTF-8, byte for byte.
[[nodiscard]] std::string Utf8FromWindows1252(std::string_view text);

// A name typed or read in either encoding, as the game's files write it: well-formed UTF-8 is taken as UTF-8,
// each of its characters that Windows-1252 has becoming that byte (one it lacks keeps its UTF-8 bytes, so it still
// matches a catalogue saved in UTF-8); anything else is Windows-1252 already.
[[nodiscard]] std::string GameText(std::string_view text);

// Text to show, always well-formed UTF-8: the UTF-8 sequences in it stay as they are and every other byte is read
// as Windows-1252. A message joins the game's names (Windows-1252) with paths the system gives (UTF-8 on Linux),
// so either may stand in one line.
[[nodiscard]] std::string ShownText(std::string_view text);

// UTF-8 text for a terminal that speaks Windows-1252 or Latin-1; a character it lacks shows as "?".
[[nodiscard]] std::string Windows1252ForTerminal(std::string_view utf8);

// A text file as spreadsheet programs and editors save it, as game text (GameText): UTF-16 with its byte-order
// mark (either byte order), UTF-8 with or without one, or Windows-1252.
[[nodiscard]] std::string TextOfFile(std::span<const std::uint8_t> bytes);

// Game text as a file that Excel and LibreOffice both open right with a double-click: ASCII as it is; anything
// else in UTF-8 behind a byte-order mark, without which Excel reads a file in the system's code page.
[[nodiscard]] std::string FileBytesOfText(std::string_view text);

}  // namespace tovarin
