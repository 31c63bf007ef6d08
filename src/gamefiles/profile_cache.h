#pragma once

#include <memory>
#include <string>

#include "gamefiles/profile_text.h"

// Our profile-string functions (off Windows) keep a parsed copy of each INI file they read, so that reading the
// catalogue's or the switch file's 1,000th key does not parse the whole file for the 1,000th time. A copy is used
// only while the file is still the same one, with the same size, modification time and change time; our own
// writes drop it. During a run (run_caches.h) a copy is checked against its file once, and again only after the
// program changed a file, so that a command reading a thousand values makes no system call for each.
namespace tovarin {

// The parsed file at `path`; an empty one when the file is missing or cannot be read.
[[nodiscard]] std::shared_ptr<const ProfileIndex> ParsedProfile(const std::string& path);

// Drops the copy of a file we have written.
void ForgetProfile(const std::string& path);

// Drops every copy, as a fresh start of the program has none (a test that starts the program many times over in one
// process uses it to start each time as the first).
void ForgetEveryProfile();

}  // namespace tovarin
