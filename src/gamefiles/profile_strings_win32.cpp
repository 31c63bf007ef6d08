#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gamefiles/file_faults.h"
#include "gamefiles/profile_strings.h"
#include "gamefiles/run_caches.h"
#include "gamefiles/wide_paths.h"

namespace tovarin {

namespace {

// The sections read whole during a run (run_caches.h), by file and section name, until the program changes a file.
struct KeptSections {
    std::uint64_t Run = 0;
    std::uint64_t Changes = 0;
    std::map<std::pair<std::string, std::string>, IniEntries> Sections;
};

// The section's entries as read once during the run, or nullptr outside a run. A fleet of a thousand ships looks up
// the catalogue and the switch file thousands of times, and each call of GetPrivateProfileStringA opens and searches
// the file again (a millisecond each under Wine); one call of GetPrivateProfileSectionA reads them all.
const IniEntries* KeptSection(const char* section, const char* file) {
    if (CurrentRun() == 0) return nullptr;
    static KeptSections kept;
    if (kept.Run != CurrentRun() || kept.Changes != ChangesMade()) kept = {CurrentRun(), ChangesMade(), {}};
    const auto [place, added] =
        kept.Sections.try_emplace({ProfileNameKey(file), ProfileNameKey(section)}, IniEntries{});
    if (added) place->second = ReadProfileEntries(section, file);
    return &place->second;
}

}  // namespace

// A key found in a section kept for the run is given as GetPrivateProfileStringA gives it (the entries hold the
// trimmed value with its quotes); anything else (no key, a key the section lacks, a line without "=") is asked of
// Windows, which gives the default by its own rules.
std::uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                std::uint32_t size, const char* file) {
    if (section != nullptr && key != nullptr && size > 0) {
        if (const IniEntries* entries = KeptSection(section, file)) {
            const auto found = entries->find(ProfileNameKey(key));
            if (found != entries->end() && found->second) {
                const std::string_view value = UnquotedProfileValue(*found->second).substr(0, size - 1);
                std::copy(value.begin(), value.end(), buffer);
                buffer[value.size()] = '\0';
                return static_cast<std::uint32_t>(value.size());
            }
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
