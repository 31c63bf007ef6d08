#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/file_faults.h"
#include "gamefiles/profile_strings.h"
#include "gamefiles/wide_paths.h"

namespace tovarin {

std::uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                std::uint32_t size, const char* file) {
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
    return WritePrivateProfileStringA(section, key, value, CodePagePath(file).c_str()) != FALSE;
}

}  // namespace tovarin
