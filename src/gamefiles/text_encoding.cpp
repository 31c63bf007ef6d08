#include "gamefiles/text_encoding.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tovarin {

namespace {

// The characters of the bytes 0x80 to 0x9F, where Windows-1252 differs from Latin-1 (which is Unicode's first 256
// code points); the five unassigned bytes stand for the control codes of their own number, as Windows maps them.
constexpr std::array<char32_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

char32_t CharacterOf(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte; }

// The Windows-1252 byte of a character, if it has one.
std::optional<char> ByteOf(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<char>(character);
    const auto found = std::find(kHighControls.begin(), kHighControls.end(), character);
    if (found == kHighControls.end()) return std::nullopt;
    return static_cast<char>(0x80 + (found - kHighControls.begin()));
}

void AppendUtf8(std::string& text, char32_t character) {
    if (character < 0x80) {
        text += static_cast<char>(character);
    } else if (character < 0x800) {
        text += static_cast<char>(0xC0 | (character >> 6));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        text += static_cast<char>(0xE0 | (character >> 12));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (character >> 18));
        text += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    }
}

// One character of UTF-8.
struct Utf8Character {
    char32_t Value;
    std::size_t Length;
};

// The well-formed UTF-8 character at the position, if one starts there.
std::optional<Utf8Character> Utf8At(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return Utf8Character{lead, 1};
    // The lead byte tells the length and the smallest character that length may carry (shorter forms are
    // overlong).
    std::size_t length = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    char32_t value = lead & (0x7F >> length);
    if (at + length > text.size()) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    return Utf8Character{value, length};
}

// The character as game text: its Windows-1252 byte, or its UTF-8 bytes when Windows-1252 lacks it.
void AppendGameCharacter(std::string& text, char32_t character) {
    if (const std::optional<char> byte = ByteOf(character)) {
        text += *byte;
    } else {
        AppendUtf8(text, character);
    }
}

// UTF-16 after its byte-order mark; a surrogate without its partner, or a last odd byte, is the replacement
// character.
std::string GameTextOfUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t i) {
        const unsigned first = bytes[i], second = bytes[i + 1];
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::string text;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendGameCharacter(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendGameCharacter(text, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
    }
    if (i < bytes.size()) AppendGameCharacter(text, kReplacement);
    return text;
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view mark) {
    return bytes.size() >= mark.size() &&
           std::equal(mark.begin(), mark.end(), bytes.begin(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

}  // namespace

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<Utf8Character> character = Utf8At(text, at);
        if (!character) return false;
        at += character->Length;
    }
    return true;
}

std::string Utf8FromWindows1252(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char byte : text) AppendUtf8(utf8, CharacterOf(static_cast<unsigned char>(byte)));
    return utf8;
}

std::string GameText(std::string_view text) {
    if (!IsUtf8(text)) return std::string(text);
    std::string game;
    game.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character character = *Utf8At(text, at);
        AppendGameCharacter(game, character.Value);
        at += character.Length;
    }
    return game;
}

std::string ShownText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const std::optional<Utf8Character> character = Utf8At(text, at)) {
            shown.append(text.substr(at, character->Length));
            at += character->Length;
        } else {
            AppendUtf8(shown, CharacterOf(static_cast<unsigned char>(text[at++])));
        }
    }
    return shown;
}

std::string Windows1252ForTerminal(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<Utf8Character> character = Utf8At(utf8, at);
        const std::optional<char> byte = character ? ByteOf(character->Value) : std::nullopt;
        text += byte.value_or('?');
        at += character ? character->Length : 1;
    }
    return text;
}

std::string TextOfFile(std::span<const std::uint8_t> bytes) {
    if (StartsWith(bytes, "\xFF\xFE")) return GameTextOfUtf16(bytes.subspan(2), false);
    if (StartsWith(bytes, "\xFE\xFF")) return GameTextOfUtf16(bytes.subspan(2), true);
    if (StartsWith(bytes, kUtf8Mark)) bytes = bytes.subspan(kUtf8Mark.size());
    return GameText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string FileBytesOfText(std::string_view text) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? std::string(text) : std::string(kUtf8Mark) + Utf8FromWindows1252(text);
}

}  // namespace tovarin
