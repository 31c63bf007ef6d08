#include "gamefiles/case_fold.h"

#include <cstdint>

#include "gamefiles/text_encoding.h"

namespace tovarin {

namespace {

// The next code point of well-formed UTF-8 at `at`, which it moves past.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[i])); };
    const char32_t first = byte(at);
    std::size_t length = first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
    if (at + length > text.size()) length = 1;  // cannot happen in well-formed text; read on safely
    char32_t point = length == 1 ? first : first & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) point = (point << 6) | (byte(at + i) & 0x3F);
    at += length;
    return point;
}

void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

bool Between(char32_t point, char32_t first, char32_t last) { return point >= first && point <= last; }

// Blocks whose capitals and small letters alternate, the capital first (`evenCapital`) or second.
char32_t FoldPaired(char32_t point, bool evenCapital) { return (point % 2 == 0) == evenCapital ? point + 1 : point; }

// The simple case folding of Unicode for the Latin, Greek and Cyrillic letters.
char32_t Folded(char32_t point) {
    if (Between(point, 'A', 'Z')) return point + 32;
    if (point < 0xC0) return point == 0xB5 ? 0x3BC : point;  // the micro sign is a Greek mu
    if (Between(point, 0xC0, 0xDE) && point != 0xD7) return point + 32;
    if (Between(point, 0x100, 0x12F) || Between(point, 0x132, 0x137) || Between(point, 0x14A, 0x177)) {
        return FoldPaired(point, true);
    }
    if (point == 0x130) return 'i';  // capital I with a dot above
    if (Between(point, 0x139, 0x148) || Between(point, 0x179, 0x17E)) return FoldPaired(point, false);
    if (point == 0x178) return 0xFF;  // Ÿ
    if (point == 0x17F) return 's';   // long s
    if (Between(point, 0x1CD, 0x1DC)) return FoldPaired(point, false);
    if (Between(point, 0x1DE, 0x1EF) || Between(point, 0x1F8, 0x21F) || Between(point, 0x222, 0x233)) {
        return FoldPaired(point, true);
    }
    if (point == 0x386) return 0x3AC;
    if (Between(point, 0x388, 0x38A)) return point + 37;
    if (point == 0x38C) return 0x3CC;
    if (Between(point, 0x38E, 0x38F)) return point + 63;
    if (Between(point, 0x391, 0x3AB) && point != 0x3A2) return point + 32;
    if (point == 0x3C2) return 0x3C3;  // final sigma
    if (Between(point, 0x3D8, 0x3EF)) return FoldPaired(point, true);
    if (Between(point, 0x400, 0x40F)) return point + 80;
    if (Between(point, 0x410, 0x42F)) return point + 32;
    if (Between(point, 0x460, 0x481) || Between(point, 0x48A, 0x4BF) || Between(point, 0x4D0, 0x52F)) {
        return FoldPaired(point, true);
    }
    if (point == 0x4C0) return 0x4CF;
    if (Between(point, 0x4C1, 0x4CE)) return FoldPaired(point, false);
    if (Between(point, 0x1E00, 0x1E95) || Between(point, 0x1EA0, 0x1EFF)) return FoldPaired(point, true);
    if (point == 0x1E9E) return 0xDF;  // capital sharp s
    return point;
}

}  // namespace

std::string FoldedCase(std::string_view text) {
    const std::string utf8 = ShownText(text);
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t point = Folded(NextCodePoint(utf8, at));
        if (point == 0xDF) {
            folded += "ss";  // sharp s folds to the two letters it is written as in capitals
        } else {
            AppendUtf8(folded, point);
        }
    }
    return folded;
}

bool SameInAnyCase(std::string_view a, std::string_view b) { return FoldedCase(a) == FoldedCase(b); }

std::vector<std::size_t> NamesMeant(const std::vector<std::string>& names, const std::string& name) {
    std::vector<std::size_t> meant;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) meant.push_back(i);
    }
    if (!meant.empty()) return meant;
    const std::string folded = FoldedCase(name);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (FoldedCase(names[i]) == folded) meant.push_back(i);
    }
    return meant;
}

}  // namespace tovarin
