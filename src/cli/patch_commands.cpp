#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/game_session.h"
#include "gamefiles/system_error_texts.h"
#include "installation/archive_patch.h"

// "patch status|install|remove": the window's archive patch, run only when asked and reported with the window's
// messages.
namespace tovarin::cli {

namespace {

// A successful run's messages are data; a failed run's go to standard error and end with exit code 1.
int Report(const PatchReport& report, Console& console) {
    std::ostream& stream = report.Succeeded ? console.Out : console.Err;
    for (const std::string& message : report.Messages) stream << message << '\n';
    return report.Succeeded ? kExitDone : kExitRefused;
}

}  // namespace

int ShowPatchState(const CommandArguments& arguments, Console& console) {
    const Installation game = OpenGame(arguments.Game);
    switch (ProbePatch(game.GameFolder, game.Catalogue)) {
        case PatchState::InPlace:
            console.Out << "installed\n";
            break;
        case PatchState::NotInPlace:
            console.Out << "not installed\n";
            break;
        case PatchState::Unreadable:
            console.Out << "unreadable\n";
            break;
        case PatchState::NotListed:
            console.Out << "not listed\n";
            break;
    }
    return kExitDone;
}

int InstallPatchCommand(const CommandArguments& arguments, Console& console) {
    const Installation game = OpenGame(arguments.Game);
    return Report(InstallArchivePatch(game.GameFolder, game.Catalogue, SystemErrorText), console);
}

int RemovePatchCommand(const CommandArguments& arguments, Console& console) {
    return Report(RemoveArchivePatch(OpenGame(arguments.Game).GameFolder, SystemErrorText), console);
}

}  // namespace tovarin::cli
