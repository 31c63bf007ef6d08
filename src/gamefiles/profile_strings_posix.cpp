#include "gamefiles/profile_strings.h"

namespace tovarin {

std::uint32_t GetProfileString(const char* /*section*/, const char* /*key*/, const char* /*defaultValue*/,
                               char* buffer, std::uint32_t size, const char* /*file*/) {
    if (size > 0) buffer[0] = '\0';
    return 0;
}

bool WriteProfileString(const char* /*section*/, const char* /*key*/, const char* /*value*/, const char* /*file*/) {
    return false;
}

}  // namespace tovarin
