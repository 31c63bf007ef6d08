#include <windows.h>

#include "gamefiles/profile_strings.h"

namespace tovarin {

std::uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                std::uint32_t size, const char* file) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}

bool StoreProfileString(const char* section, const char* key, const char* value, const char* file) {
    return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

}  // namespace tovarin
