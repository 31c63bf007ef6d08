#include "cli/command_line.h"
#include "cli/game_session.h"
#include "cli/tool_commands.h"
#include "installation/installation_check.h"

namespace tovarin::cli {

// "check": one line per finding on standard output; any finding fails the command, so that a script stops there.
int CheckCommand(const CommandArguments& arguments, Console& console) {
    const std::vector<std::string> findings = CheckInstallation(OpenGame(arguments.Game));
    for (const std::string& finding : findings) console.Out << finding << '\n';
    return findings.empty() ? kExitDone : kExitRefused;
}

}  // namespace tovarin::cli
