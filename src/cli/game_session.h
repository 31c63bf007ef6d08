#pragma once

#include <ostream>
#include <string>

#include "installation/installation.h"
#include "sheets/fleet.h"

namespace tovarin::cli {

// While one lives, what opening the game put back of a change of several files that did not finish when Tovarin last
// ran is told on `err` (the window shows it in a box), and the command goes on. The command line keeps one for each
// command.
class PutBackNotices {
public:
    explicit PutBackNotices(std::ostream& err);
    ~PutBackNotices();
    PutBackNotices(const PutBackNotices&) = delete;
    PutBackNotices& operator=(const PutBackNotices&) = delete;
};

// The game folder named on the command line as the program addresses it: absolute, with its trailing separator.
[[nodiscard]] std::string GameFolderOf(const std::string& given);

// The installation a command works on, opened as the window's start-up opens it: a change of several files that did
// not finish put back first, the catalogue chosen by the game executable present, the game required, the original
// of every game file kept before its first change, every catalogue ship given its switch entry. It never asks a
// question and never patches the archive. Refused when the folder does not exist, and naming the missing file when
// the game is not there. The originals are kept until the command line ends.
[[nodiscard]] Installation OpenGame(const std::string& given);
// The same without the switch entries (an unfinished change is put back all the same), for the commands that look at
// the files as they are or put originals back: an entry added first would be a change of its own.
[[nodiscard]] Installation OpenGameAsItIs(const std::string& given);
// The game as a command that edits it opens it (OpenGame), with the catalogue's lists.
[[nodiscard]] Fleet OpenFleet(const std::string& given);

}  // namespace tovarin::cli
