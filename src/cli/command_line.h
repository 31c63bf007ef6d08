#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/terminal_text.h"

// tovarin-cli: the program's commands for scripts and spreadsheets, run through the same core as the window.
namespace tovarin::cli {

// The exit codes scripts rely on.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;  // refused or failed: an unknown ship, key or value, a file that failed
inline constexpr int kExitUsage = 2;    // wrong usage: an unknown command or option, a missing argument
// "diff" answers as diff(1) does, so that a failure is never taken for a difference.
inline constexpr int kExitDifferent = 1;  // differences found
inline constexpr int kExitTrouble = 2;    // a file could not be read, or the command was refused

// The standard streams of the terminal a command line runs in, and the encoding it shows text in.
struct Terminal {
    std::istream& In;
    std::ostream& Out;
    std::ostream& Err;
    TerminalEncoding Encoding;
};

// Runs one command line (the arguments without the program's name, names typed in UTF-8 or in the game's
// Windows-1252): data goes to the terminal's output, errors to its error stream; "-" as a file reads its input.
// Returns the exit code.
int RunCommandLine(const std::vector<std::string>& arguments, const Terminal& terminal);
// The same in a UTF-8 terminal with nothing on its input.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tovarin::cli
