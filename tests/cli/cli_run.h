#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "demo/game_folder.h"

// A command line run in-process on a game folder: its exit code and what it wrote.
namespace tovarin::testkit {

struct Ran {
    int Exit;
    std::string Out;
    std::string Err;
};

inline Ran Cli(const demo::GameFolder& game, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--game", game.Folder()});
    std::ostringstream out, err;
    const int exit = cli::RunCommandLine(arguments, out, err);
    return {exit, out.str(), err.str()};
}

}  // namespace tovarin::testkit
