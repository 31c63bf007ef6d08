#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code = tovarin::cli::RunCommandLine(arguments, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
