#pragma once

#include <string>

#include "app/installation.h"

namespace tovarin::cli {

// The game folder named on the command line as the program addresses it: absolute, with its trailing separator.
[[nodiscard]] std::string GameFolderOf(const std::string& given);

// The installation a command works on, opened as the window's start-up opens it: the catalogue chosen by the
// game executable present, the game required, every catalogue ship given its switch entry, an unfinished swap put back.
// It never asks a question and never patches the archive. Refused with the window's own message when the game is not
// there.
[[nodiscard]] Installation OpenGame(const std::string& given);

}  // namespace tovarin::cli
