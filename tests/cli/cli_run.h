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

// The same with this on standard input, in a terminal of this encoding.
inline Ran Cli(const demo::GameFolder& game, std::vector<std::string> arguments, const std::string& input,
               cli::TerminalEncoding encoding = cli::TerminalEncoding::Utf8) {
    arguments.insert(arguments.begin(), {"--game", game.Folder()});
    std::istringstream in(input);
    std::ostringstream out, err;
    const int exit = cli::RunCommandLine(arguments, cli::Terminal{in, out, err, encoding});
    return {exit, out.str(), err.str()};
}

// The demo installation written into a game folder.
struct Demo : TempGameFolder {
    explicit Demo(demo::Edition edition = demo::Edition::Base) : TempGameFolder(edition) {
        demo::WriteDemoInstallation(*this);
    }
};

// The demo with names outside ASCII, in Windows-1252 as the game writes them: the Kestrel is the "Kestrél" and the
// Scatter Gun the "Scatter Gün".
struct AccentedDemo : Demo {
    AccentedDemo() {
        for (demo::IniSection& section : Catalogue) Rename(section.Keys);
        WriteCatalogue();
        Rename(SwitchEntries);
        SetSwitchEntry("Kestr\xE9l", "Kestr\xE9l");
    }

private:
    static void Rename(std::vector<std::pair<std::string, std::string>>& entries) {
        const std::vector<std::pair<std::string, std::string>> renamed = {{"Kestrel", "Kestr\xE9l"},
                                                                          {"Scatter Gun", "Scatter G\xFCn"}};
        for (auto& [key, value] : entries) {
            for (const auto& [from, to] : renamed) {
                if (key == from) key = to;
                if (value == from) value = to;
            }
        }
    }
};

}  // namespace tovarin::testkit
