#include "cli/terminal.h"

int main(int argc, char** argv) { return tovarin::cli::RunOnTerminal(tovarin::cli::ProgramArguments(argc, argv)); }
