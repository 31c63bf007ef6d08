#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "gamefiles/file_faults.h"
#include "gamefiles/profile_strings.h"
#include "gamefiles/run_caches.h"
#include "gamefiles/wide_paths.h"

namespace tovarin {

namespace {

// What a run (run_caches.h) keeps of one INI file until the program changes a file: the names of its sections and
// the sections read whole. A fleet of a thousand ships looks up the catalogue, the switch file and the notes of the
// kept originals thousands of times, and each call of GetPrivateProfileStringA opens and searches the file again
// (0.2 to 1 ms each under Wine); GetPrivateProfileSectionA reads a whole section in one call.
struct KeptFile {
    std::unordered_set<std::string> SectionNames;  // by ProfileNameKey
    std::map<std::string, IniEntries> Sections;
};

struct KeptFiles {
    std::uint64_t Run = 0;
    std::uint64_t Changes = 0;
    std::map<std::string, KeptFile> Files;
};

// The names of the file's sections (none for a missing file), asked again with a larger buffer while they fill it.
std::unordered_set<std::string> SectionNamesOf(const std::string& path) {
    constexpr DWORD kFirstSize = 1 << 14;
    constexpr DWORD kLargestSize = 1 << 30;
    std::vector<char> buffer;
    DWORD length = 0;
    for (DWORD size = kFirstSize; size <= kLargestSize; size *= 2) {
        buffer.assign(size, '\0');
        length = GetPrivateProfileSectionNamesA(buffer.data(), size, path.c_str());
        if (length != size - 2) break;
    }
    std::unordered_set<std::string> names;
    for (std::size_t begin = 0; begin < length && buffer[begin] != '\0';) {
        const std::string_view name(buffer.data() + begin);
        begin += name.size() + 1;
        names.insert(ProfileNameKey(name));
    }
    return names;
}

// The file as kept for the run, or nullptr outside a run.
KeptFile* KeptFileOf(const char* file) {
    if (CurrentRun() == 0) return nullptr;
    static KeptFiles kept;
    if (kept.Run != CurrentRun() || kept.Changes != ChangesMade()) kept = {CurrentRun(), ChangesMade(), {}};
    const auto [place, added] = kept.Files.try_emplace(ProfileNameKey(file));
    if (added) place->second.SectionNames = SectionNamesOf(CodePagePath(file));
    return &place->second;
}

// The answer of GetPrivateProfileStringA from the kept copy, or none where Windows is asked: a key of a section the
// file lacks gives an empty default as empty; a key found gives its trimmed value, one pair of quotes removed, cut to
// the buffer. Any other default, and a key its section lacks or holds without "=", are left to Windows's own rules.
std::optional<std::string_view> KeptAnswer(KeptFile& kept, const char* section, const char* key,
                                           const char* defaultValue, const char* file) {
    const std::string name = ProfileNameKey(section);
    if (!kept.SectionNames.contains(name)) {
        if (defaultValue == nullptr || *defaultValue == '\0') return std::string_view();
        return std::nullopt;
    }
    const auto [place, added] = kept.Sections.try_emplace(name);
    if (added) place->second = ReadProfileEntries(section, file);
    const auto found = place->second.find(ProfileNameKey(key));
    if (found == place->second.end() || !found->second) return std::nullopt;
    return UnquotedProfileValue(*found->second);
}

}  // namespace

std::uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                std::uint32_t size, const char* file) {
    KeptFile* kept = section != nullptr && key != nullptr && size > 0 ? KeptFileOf(file) : nullptr;
    if (kept != nullptr) {
        if (const std::optional<std::string_view> answer = KeptAnswer(*kept, section, key, defaultValue, file)) {
            const std::string_view value = answer->substr(0, size - 1);
            std::copy(value.begin(), value.end(), buffer);
            buffer[value.size()] = '\0';
            return static_cast<std::uint32_t>(value.size());
        }
    }
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, CodePagePath(file).c_str());
}

// GetPrivateProfileSectionA gives each line of the section as "key=value" (a line without "=" as it stands),
// separated by NULs and ended by a further NUL. When they do not fit it fills the buffer and returns its size less
// 2; the call is then made again with a buffer twice as large. It is given the section's name without the blanks
// around it, which the reading of one value drops by itself.
IniEntries ReadProfileEntries(const char* section, const char* file) {
    const std::string name(TrimProfileBlanks(section));
    constexpr DWORD kFirstSize = 1 << 16;
    constexpr DWORD kLargestSize = 1 << 30;  // no INI file of a game comes near it
    std::vector<char> buffer;
    const std::string path = CodePagePath(file);
    DWORD length = 0;
    for (DWORD size = kFirstSize; size <= kLargestSize; size *= 2) {
        buffer.assign(size, '\0');
        length = GetPrivateProfileSectionA(name.c_str(), buffer.data(), size, path.c_str());
        if (length != size - 2) break;
    }
    IniEntries entries;
    for (std::size_t begin = 0; begin < length && buffer[begin] != '\0';) {
        const std::string_view line(buffer.data() + begin);
        begin += line.size() + 1;
        const std::size_t equals = line.find('=');
        std::optional<std::string> value;
        if (equals != std::string_view::npos) value.emplace(TrimProfileBlanks(line.substr(equals + 1)));
        entries.try_emplace(ProfileNameKey(line.substr(0, equals)), std::move(value));
    }
    return entries;
}

bool StoreProfileString(const char* section, const char* key, const char* value, const char* file) {
    if (InjectedFaultFor(FileCall::Write, file)) return false;
    const bool stored = WritePrivateProfileStringA(section, key, value, CodePagePath(file).c_str()) != FALSE;
    if (stored) NoteChange();
    return stored;
}

}  // namespace tovarin
