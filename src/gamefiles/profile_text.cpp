#include "gamefiles/profile_text.h"

#include <cstddef>

namespace tovarin {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// One line of the text: its bytes are [Begin, End), its line end [End, Next).
struct Line {
    enum class Kind { Blank, Header, Entry };
    std::size_t Begin = 0;
    std::size_t End = 0;
    std::size_t Next = 0;
    Kind LineKind = Kind::Blank;
    std::string_view Name;                  // a header's section name or an entry's key
    std::optional<std::string_view> Value;  // an entry's value when the line holds "="
};

// A section as line indexes: its header and one past its last line.
struct SectionLines {
    std::size_t Header = 0;
    std::size_t End = 0;
};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

std::string Lowered(std::string_view name) {
    std::string lowered(name);
    for (char& c : lowered) c = LowerAscii(c);
    return lowered;
}

std::string_view TrimLeadingBlanks(std::string_view text) {
    while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
    return text;
}

// A header runs from its "[" to the last "]" of the line, so "[a]b]" names "a]b" and "[h] ; note" names "h".
void Classify(Line& line, std::string_view content) {
    const std::string_view trimmed = TrimLeadingBlanks(content);
    if (trimmed.empty()) return;
    const std::size_t close = trimmed.rfind(']');
    if (trimmed.front() == '[' && close != std::string_view::npos) {
        line.LineKind = Line::Kind::Header;
        line.Name = TrimProfileBlanks(trimmed.substr(1, close - 1));
        return;
    }
    line.LineKind = Line::Kind::Entry;
    const std::size_t equals = trimmed.find('=');
    line.Name = TrimProfileBlanks(trimmed.substr(0, equals));
    if (equals != std::string_view::npos) line.Value = TrimProfileBlanks(trimmed.substr(equals + 1));
}

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        Line line;
        line.Begin = begin;
        line.End = text.find_first_of("\r\n", begin);
        if (line.End == std::string_view::npos) line.End = text.size();
        line.Next = line.End;
        if (line.Next < text.size()) {
            const bool crlf = text[line.Next] == '\r' && line.Next + 1 < text.size() && text[line.Next + 1] == '\n';
            line.Next += crlf ? 2 : 1;
        }
        Classify(line, text.substr(line.Begin, line.End - line.Begin));
        lines.push_back(line);
        begin = line.Next;
    }
    return lines;
}

// The first section of the name; a section without a name is never found.
std::optional<SectionLines> FindSection(const std::vector<Line>& lines, std::string_view name) {
    name = TrimProfileBlanks(name);
    if (name.empty()) return std::nullopt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].LineKind != Line::Kind::Header || !SameName(lines[i].Name, name)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].LineKind != Line::Kind::Header) ++end;
        return SectionLines{i, end};
    }
    return std::nullopt;
}

// The first entry of the key in the section, with or without "=".
std::optional<std::size_t> FindEntry(const std::vector<Line>& lines, SectionLines section, std::string_view key) {
    key = TrimProfileBlanks(key);
    for (std::size_t i = section.Header + 1; i < section.End; ++i) {
        if (lines[i].LineKind == Line::Kind::Entry && SameName(lines[i].Name, key)) return i;
    }
    return std::nullopt;
}

std::string Spliced(std::string_view text, std::size_t begin, std::size_t end, std::string_view replacement) {
    std::string result;
    result.reserve(text.size() - (end - begin) + replacement.size());
    result.append(text.substr(0, begin));
    result.append(replacement);
    result.append(text.substr(end));
    return result;
}

std::string EntryText(std::string_view key, std::string_view value) {
    std::string entry(key);
    entry += '=';
    entry += TrimLeadingBlanks(value);
    return entry;
}

bool EndsWithLineEnd(std::string_view text) { return text.empty() || text.back() == '\r' || text.back() == '\n'; }

// A new line goes after the section's last non-blank line (the header when it has none); when that line is the
// file's last and has no line end, one is added first.
std::string WithEntryAdded(std::string_view text, const std::vector<Line>& lines, SectionLines section,
                           std::string_view entry) {
    std::size_t last = section.End - 1;
    while (last > section.Header && lines[last].LineKind == Line::Kind::Blank) --last;
    const Line& after = lines[last];
    std::string added = after.Next == after.End ? std::string(kLineEnd) : std::string();
    added.append(entry);
    added.append(kLineEnd);
    return Spliced(text, after.Next, after.Next, added);
}

std::string WithSectionAdded(std::string_view text, std::string_view section, std::string_view entry) {
    std::string result(text);
    if (!EndsWithLineEnd(result)) result.append(kLineEnd);
    result += '[';
    result.append(TrimProfileBlanks(section));
    result += ']';
    result.append(kLineEnd);
    result.append(entry);
    result.append(kLineEnd);
    return result;
}

}  // namespace

bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1a';
}

std::string_view TrimProfileBlanks(std::string_view text) {
    text = TrimLeadingBlanks(text);
    while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
    return text;
}

ProfileIndex::ProfileIndex(std::string_view text) {
    Section* current = nullptr;
    for (const Line& line : SplitLines(text)) {
        if (line.LineKind == Line::Kind::Header) {
            // A later section of a name already seen, and a section without a name, are never read.
            const auto [added, isNew] = sections_.try_emplace(Lowered(line.Name));
            current = isNew && !line.Name.empty() ? &added->second : nullptr;
        } else if (line.LineKind == Line::Kind::Entry && current != nullptr) {
            std::optional<std::string> value;
            if (line.Value) value.emplace(*line.Value);
            current->Entries.try_emplace(Lowered(line.Name), value);
            const bool comment = !line.Name.empty() && line.Name.front() == ';';
            if (line.Value && !comment) current->Listed.emplace_back(line.Name);
        }
    }
}

std::string ProfileNameKey(std::string_view name) { return Lowered(TrimProfileBlanks(name)); }

std::string_view UnquotedProfileValue(std::string_view value) {
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

const ProfileIndex::Section* ProfileIndex::Find(std::string_view section) const {
    const auto found = sections_.find(ProfileNameKey(section));
    if (found == sections_.end() || TrimProfileBlanks(section).empty()) return nullptr;
    return &found->second;
}

std::optional<std::string> ProfileIndex::FindValue(std::string_view section, std::string_view key) const {
    const Section* found = Find(section);
    if (found == nullptr) return std::nullopt;
    const auto entry = found->Entries.find(ProfileNameKey(key));
    if (entry == found->Entries.end()) return std::nullopt;
    return entry->second;
}

std::vector<std::string> ProfileIndex::ListKeys(std::string_view section) const {
    const Section* found = Find(section);
    return found != nullptr ? found->Listed : std::vector<std::string>();
}

IniEntries ProfileIndex::Entries(std::string_view section) const {
    const Section* found = Find(section);
    return found != nullptr ? found->Entries : IniEntries();
}

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key) {
    return ProfileIndex(text).FindValue(section, key);
}

std::vector<std::string> ListProfileKeys(std::string_view text, std::string_view section) {
    return ProfileIndex(text).ListKeys(section);
}

std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                                           std::string_view value) {
    const std::vector<Line> lines = SplitLines(text);
    const auto found = FindSection(lines, section);
    if (!found) return WithSectionAdded(text, section, EntryText(TrimProfileBlanks(key), value));
    const auto entry = FindEntry(lines, *found, key);
    if (!entry) return WithEntryAdded(text, lines, *found, EntryText(TrimProfileBlanks(key), value));
    const Line& line = lines[*entry];
    if (line.Value && *line.Value == TrimLeadingBlanks(value)) return std::nullopt;
    return Spliced(text, line.Begin, line.End, EntryText(line.Name, value));
}

std::optional<std::string> DeleteProfileKey(std::string_view text, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = SplitLines(text);
    const auto found = FindSection(lines, section);
    if (!found) return std::nullopt;
    const auto entry = FindEntry(lines, *found, key);
    if (!entry) return std::nullopt;
    return Spliced(text, lines[*entry].Begin, lines[*entry].Next, "");
}

std::optional<std::string> DeleteProfileSection(std::string_view text, std::string_view section) {
    const std::vector<Line> lines = SplitLines(text);
    const auto found = FindSection(lines, section);
    if (!found) return std::nullopt;
    const std::size_t end = found->End < lines.size() ? lines[found->End].Begin : text.size();
    return Spliced(text, lines[found->Header].Begin, end, "");
}

}  // namespace tovarin
