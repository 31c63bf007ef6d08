#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "demo/demo_installation.h"
#include "testkit/temp_game_folder.h"

// A command line run in-process on a game folder: its exit code and what it wrote.
namespace tovarin::testkit {

struct Ran {
    int Exit;
    std::string Out;
    std::string Err;
};

inline Ran Cli(const std::string& folder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--game", folder});
    std::ostringstream out, err;
    const int exit = cli::RunCommandLine(arguments, out, err);
    return {exit, out.str(), err.str()};
}

inline Ran Cli(const demo::GameFolder& game, std::vector<std::string> arguments) {
    return Cli(game.Folder(), std::move(arguments));
}

// The demo installation written into a game folder.
struct Demo : TempGameFolder {
    explicit Demo(demo::Edition edition = demo::Edition::Base) : TempGameFolder(edition) {
        demo::WriteDemoInstallation(*this);
    }
};

}  // namespace tovarin::testkit
