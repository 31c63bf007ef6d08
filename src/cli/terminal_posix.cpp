#include <cstdlib>
#include <iostream>

#include "cli/command_line.h"
#include "cli/terminal.h"

namespace tovarin::cli {

namespace {

// The encoding of the locale as LC_ALL, LC_CTYPE and LANG choose it: the first that is set.
TerminalEncoding LocaleEncoding() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* locale = std::getenv(variable);
        if (locale != nullptr && *locale != '\0') return EncodingOfLocale(locale);
    }
    return TerminalEncoding::Utf8;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string FileSystemName(const std::string& typed) { return typed; }

int RunOnTerminal(const std::vector<std::string>& arguments) {
    const int code = RunCommandLine(arguments, Terminal{std::cin, std::cout, std::cerr, LocaleEncoding()});
    std::cout.flush();
    return code;
}

}  // namespace tovarin::cli
