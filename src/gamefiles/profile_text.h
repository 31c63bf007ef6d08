#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The text of an INI file as our profile-string functions (used off Windows) read and edit it, kept apart from
// the file access. Lines end with CR LF, LF or CR alone. A line is a section header when it starts with "["
// (after blanks) and holds a "]"; any other non-blank line is an entry, its key before the first "=" and its
// value after it, both without surrounding blanks. Lines before the first header belong to no section. Names
// compare without regard to case and are looked up with their own surrounding blanks removed; only the first
// section of a name and the first entry of a key count.
namespace tovarin {

// Blanks as Windows trims them around names and values: space, tab, VT, FF, the line-end bytes and ^Z.
[[nodiscard]] bool IsProfileBlank(char c);
[[nodiscard]] std::string_view TrimProfileBlanks(std::string_view text);

// A name as entries are looked up by: without blanks around it, in lower case.
[[nodiscard]] std::string ProfileNameKey(std::string_view name);

// A value as the profile-string functions return it: one pair of enclosing quotes, double or single, removed (when
// the first and last character are the same quote and the value is at least 2 long).
[[nodiscard]] std::string_view UnquotedProfileValue(std::string_view value);

// The entries of a section: for each key, by ProfileNameKey, the value of its first entry, still with any quotes,
// or nullopt for a line without "=".
using IniEntries = std::unordered_map<std::string, std::optional<std::string>>;

// The value of the key, still with any quotes; nullopt when the section or key is missing or the key's line
// holds no "=".
[[nodiscard]] std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                                          std::string_view key);

// The key names of the section in file order, as a listing gives them: every entry with "=", duplicates
// included, except those whose key starts with ";". Empty when the section is missing.
[[nodiscard]] std::vector<std::string> ListProfileKeys(std::string_view text, std::string_view section);

// A parsed copy of a text for many look-ups: the answers of FindProfileValue and ListProfileKeys, each found
// without going through the text again.
class ProfileIndex {
public:
    explicit ProfileIndex(std::string_view text);
    [[nodiscard]] std::optional<std::string> FindValue(std::string_view section, std::string_view key) const;
    [[nodiscard]] std::vector<std::string> ListKeys(std::string_view section) const;
    // Every entry of the section; none when the section is missing.
    [[nodiscard]] IniEntries Entries(std::string_view section) const;

private:
    struct Section {
        std::vector<std::string> Listed;
        IniEntries Entries;
    };
    [[nodiscard]] const Section* Find(std::string_view section) const;
    // The first section of each name, by its name in lower case.
    std::unordered_map<std::string, Section> sections_;
};

// The edits return the whole new text, or nullopt when the text would stay as it is. Only the bytes of the
// lines concerned change; lines added end with CR LF.

// Replaces the key's line by "key=value" (the stored spelling of the key, the value without leading blanks),
// or adds the line after the section's last non-blank line, or adds the section at the end of the text.
[[nodiscard]] std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                                         std::string_view key, std::string_view value);
// Removes the key's line.
[[nodiscard]] std::optional<std::string> DeleteProfileKey(std::string_view text, std::string_view section,
                                                          std::string_view key);
// Removes the section's header and every line up to the next header.
[[nodiscard]] std::optional<std::string> DeleteProfileSection(std::string_view text, std::string_view section);

}  // namespace tovarin
