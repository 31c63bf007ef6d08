#pragma once

#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sheets/refusal.h"

// What every command receives, and the commands built so far. The command table (command_line.cpp) fills the
// arguments from the command line and calls a command's function.
namespace tovarin::cli {

struct CommandArguments {
    std::string Game = ".";            // --game: the game folder
    std::string Name;                  // a ship, gun or missile as the catalogue names it
    std::string OtherName;             // the second ship of a swap
    std::vector<std::string> Keys;     // the profile keys to show
    std::vector<std::string> Changes;  // KEY=VALUE or FIELD=VALUE
    std::string File;                  // a profile or a sheet
    int Slot = 0;                      // a gun slot, counted from 1
    bool Json = false;                 // --json
    std::vector<std::string> Files;    // game files, relative to the game folder ("Ships\kestrel.iff")
    bool All = false;                  // --all
    bool Changed = false;              // --changed
    int Position = 0;                  // a place in the mods' load order, counted from 1
    bool DropOwnChanges = false;       // --drop-own-changes
    bool FromChanges = false;          // --from-changes
    bool Markdown = false;             // --markdown
    bool AsNew = false;                // --as-new
    bool Anyway = false;               // --anyway
    bool Table = false;                // --table
};

// Where a command reads and writes: text lines to Out (what it was asked to show) and Err (messages about
// failures), both shown in the terminal's encoding; bytes that must stay as they are (JSON, a sheet or profile
// written to "-") to Data; a sheet or profile read from "-" from In.
struct Console {
    std::istream& In;
    std::ostream& Out;
    std::ostream& Err;
    std::ostream& Data;
    std::string GameFolder;  // --game's folder, absolute: the game's files are named by their path in it
};

// Shows the exception being handled on standard error as every command's failure is shown: a refusal's message,
// or the window's error with its full stop. Called inside a catch block; a fatal end of the run shows nothing.
void ShowFailure(Console& console);

// A command: the exit code.
using CommandFunction = int (*)(const CommandArguments& arguments, Console& console);

int GetShip(const CommandArguments& arguments, Console& console);
int SetShip(const CommandArguments& arguments, Console& console);
int ExportShip(const CommandArguments& arguments, Console& console);
int ImportShip(const CommandArguments& arguments, Console& console);
int RestoreShip(const CommandArguments& arguments, Console& console);
int ExportShipSheet(const CommandArguments& arguments, Console& console);
int ImportShipSheet(const CommandArguments& arguments, Console& console);
int ListShips(const CommandArguments& arguments, Console& console);
int ShowPatchState(const CommandArguments& arguments, Console& console);
int InstallPatchCommand(const CommandArguments& arguments, Console& console);
int RemovePatchCommand(const CommandArguments& arguments, Console& console);
int ShowBackupStatus(const CommandArguments& arguments, Console& console);
int RestoreOriginalsCommand(const CommandArguments& arguments, Console& console);
int DiffCommand(const CommandArguments& arguments, Console& console);
// The lines "diff" prints and its exit codes, for its --help.
[[nodiscard]] std::string DiffFormat();

}  // namespace tovarin::cli
