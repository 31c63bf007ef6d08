#include <windows.h>

// windows.h names its win.ini functions GetProfileString and WriteProfileString by macro; ours are different
// functions that take the file's path.
#undef GetProfileString
#undef WriteProfileString

#include "gamefiles/profile_strings.h"

namespace tovarin {

std::uint32_t GetProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               std::uint32_t size, const char* file) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file) {
    return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

}  // namespace tovarin
