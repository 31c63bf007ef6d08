#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "gamefiles/ini_file.h"

// Files changed in one step. The new content is put down completely in a sibling of the file and forced to the
// disk; only then does one rename put it in the file's place. A failure at any point leaves the file as it was
// and takes the sibling away again, so a player never finds a half-written game file. Before anything is written,
// the file's path goes to the before-change hook (gamefiles/change_hook.h), which may refuse the change.
namespace tovarin {

// The whole file's bytes.
[[nodiscard]] std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
// The same, opened for reading only, so that a file marked read-only can be read too.
[[nodiscard]] std::vector<std::uint8_t> ReadWholeFileReadOnly(const std::string& path);

// A temporary file of ours beside the file: "kestrel.iff.4711-3.part~" for kind "part~", named by this process and
// a count so that two writers never share one. A name IsOurTemporary knows, which the next start removes.
[[nodiscard]] std::string TemporarySiblingOf(const std::string& path, const char* kind);
// True for a file name our writers give their temporary files: "*.part~", "*.edit~", and the INI writes' "*.~XXXXXX".
[[nodiscard]] bool IsOurTemporary(const std::string& name);

// Replaces the file (or creates it) with exactly these bytes.
void ReplaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

// Makes every write of `edit` on a copy of the INI file, then puts the copy in the file's place: all of the
// writes land together or none does. A failure is "Unable to write to" the file's own path.
void ReplaceIniFile(const std::string& path, const std::function<void(const TIniFile& copy)>& edit);

}  // namespace tovarin
