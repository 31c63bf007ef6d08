#include "mods/mod_info_file.h"

#include <cstdio>

#include "gamefiles/errors.h"
#include "gamefiles/plain_files.h"
#include "gamefiles/profile_text.h"
#include "gamefiles/text_encoding.h"
#include "mods/mod_limits.h"

namespace tovarin {

namespace {

// Whether the text has a [Mod] section; `junk` tells whether a line of it says nothing the file format knows (no
// "=", no comment, not blank).
bool HasModSection(std::string_view text, bool& junk) {
    bool found = false;
    bool inMod = false;
    junk = false;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = TrimProfileBlanks(text.substr(start, end - start));
        if (line.starts_with('[') && line.find(']') != std::string_view::npos) {
            inMod = ProfileNameKey(line.substr(1, line.find(']') - 1)) == ProfileNameKey(kModSection);
            found |= inMod;
        } else if (inMod && !line.empty() && !line.starts_with(';') && line.find('=') == std::string_view::npos) {
            junk = true;
        }
        start = end + 1;
    }
    return found;
}

std::string Value(const ProfileIndex& index, const char* key) {
    const std::optional<std::string> value = index.FindValue(kModSection, key);
    return value ? std::string(UnquotedProfileValue(*value)) : "";
}

}  // namespace

ModInfo ReadModInfo(const std::string& path, const std::string& file) {
    std::string text;
    try {
        text = TextOfFile(ReadPlainFile(path, kMaxModInfoBytes));
    } catch (const Exception& error) {
        throw Exception(file + " " + error.Message());
    }
    const std::string rule =
        ": it must start with a [Mod] line followed by lines such as Name=..., Version=..., Game=...";
    bool junk = false;
    const bool section = HasModSection(text, junk);
    if (text.find('\0') != std::string::npos || junk) {
        throw Exception(file + " is not a mod.ini that Tovarin can read" + rule);
    }
    if (!section) throw Exception(file + " has no [Mod] section" + rule);
    const ProfileIndex index(text);
    return {WithoutControls(Value(index, "Name")), WithoutControls(Value(index, "Version")),
            WithoutControls(Value(index, "Author")), WithoutControls(Value(index, "Description")),
            WithoutControls(Value(index, "Game"))};
}

std::string WithoutControls(const std::string& text) {
    const std::string shown = ShownText(text);  // well-formed UTF-8, so that a C1 control is one sequence
    std::string out;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto c = static_cast<unsigned char>(shown[i]);
        const bool c1 = c == 0xc2 && i + 1 < shown.size() && static_cast<unsigned char>(shown[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(shown[i + 1]) <= 0x9f;
        const unsigned code = c1 ? static_cast<unsigned char>(shown[++i]) : c;
        if (c1 || c < 0x20 || c == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return text == out ? text : GameText(out);
}

}  // namespace tovarin
