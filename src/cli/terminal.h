#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/terminal_text.h"

// The program's terminal as its system gives it: the arguments, the encoding it speaks, the names of files, and
// the standard streams (terminal_posix.cpp, terminal_win32.cpp).
namespace tovarin::cli {

// The arguments after the program's name. On Windows they come from the wide command line in UTF-8, which holds
// every character whatever the system's code page; elsewhere as the terminal typed them.
[[nodiscard]] std::vector<std::string> ProgramArguments(int argc, char** argv);

// A path typed on the command line as the file functions take it: UTF-8 on every system (on Windows, one in the
// system's code page becomes UTF-8); elsewhere the path stays as typed.
[[nodiscard]] std::string FileSystemName(const std::string& typed);

// Runs the command line on the process's standard streams, speaking the terminal's encoding. The exit code.
[[nodiscard]] int RunOnTerminal(const std::vector<std::string>& arguments);

}  // namespace tovarin::cli
