#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>

#include "cli/command_line.h"
#include "cli/terminal.h"

namespace tovarin::cli {

namespace {

// The encoding the locale names (as LC_ALL, LC_CTYPE and LANG choose it, the first that is set): Windows-1252 for
// the Latin-1 family, whose letters are the game's; UTF-8 for any other, and when none is set.
TerminalEncoding LocaleEncoding() {
    const char* locale = nullptr;
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        locale = std::getenv(variable);
        if (locale != nullptr && *locale != '\0') break;
    }
    std::string charset = locale != nullptr ? locale : "";
    charset = charset.substr(std::min(charset.find('.'), charset.size()));
    charset = charset.substr(0, charset.find('@'));
    std::string letters;
    for (const char c : charset) {
        if (std::isalnum(static_cast<unsigned char>(c))) letters += static_cast<char>(std::tolower(c));
    }
    const bool latin = letters == "iso88591" || letters == "iso885915" || letters == "cp1252" || letters == "latin1";
    return latin ? TerminalEncoding::Windows1252 : TerminalEncoding::Utf8;
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
