#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// tovarin-cli: the program's commands for scripts and spreadsheets, run through the same core as the window.
namespace tovarin::cli {

// The exit codes scripts rely on.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;  // refused or failed: an unknown ship, key or value, a file that failed
inline constexpr int kExitUsage = 2;    // wrong usage: an unknown command or option, a missing argument
// "diff" answers as diff(1) does, so that a failure is never taken for a difference.
inline constexpr int kExitDifferent = 1;  // differences found
inline constexpr int kExitTrouble = 2;    // a file could not be read, or the command was refused

// Runs one command line (the arguments without the program's name): data goes to `out`, errors to `err`.
// Returns the exit code.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tovarin::cli
