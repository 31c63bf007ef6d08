#pragma once

#include <cstdint>

#include "gamefiles/profile_text.h"

// The Windows profile-string functions. On Windows these are the real ones from kernel32; elsewhere ours,
// written to behave as the Windows ones do (section and key names without regard to case, blanks and one
// pair of quotes removed around values, a replaced value changing only its own line, nothing cached).
namespace tovarin {

// Reads a value (or, with a null key, the section's key names separated by NULs and ended by a further
// NUL) into the buffer. During a run (run_caches.h) the Windows build reads a section whole once and answers the
// keys it holds from that copy, as ours answers from its parsed copy of the file. Returns the number of characters copied, not counting the terminating NUL. (Windows
// lists the section names for a null section; the program never asks, and ours gives an empty result.)
std::uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                std::uint32_t size, const char* file);

// Every entry of the section in one read, as ReadProfileString would find each of them (see IniEntries); empty
// for a missing section or file. For a caller that needs many values of one section: on Windows one call of
// GetPrivateProfileSectionA instead of one call per key.
[[nodiscard]] IniEntries ReadProfileEntries(const char* section, const char* file);

// Writes a value (a null value deletes the key, a null key deletes the section). False when the platform
// refused, for example for a read-only file or a missing folder. Ours also refuses an empty section or key name.
bool StoreProfileString(const char* section, const char* key, const char* value, const char* file);

}  // namespace tovarin
