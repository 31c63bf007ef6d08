#include <algorithm>
#include <cctype>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/game_session.h"
#include "gamefiles/game_paths.h"
#include "installation/installation.h"
#include "mods/load_order.h"
#include "mods/restored_files.h"

// "backup status" and "restore": the originals kept in "Tovarin Backup", looked at and put back. Both take the
// game as it is: a switch entry added first would be a change of its own.
namespace tovarin::cli {

namespace {

const char* StateWord(KeptFile::State state) {
    switch (state) {
        case KeptFile::State::Original:
            return "original";
        case KeptFile::State::Changed:
            return "changed";
        case KeptFile::State::Missing:
            return "missing";
        case KeptFile::State::Created:
            return "created";
        case KeptFile::State::Absent:
            return "absent";
    }
    return "";
}

// A file as typed on the command line and as the backup names it: either separator, any case.
bool SameName(const std::string& typed, const std::string& file) {
    return std::equal(typed.begin(), typed.end(), file.begin(), file.end(), [](char a, char b) {
        const auto normal = [](char c) { return c == '/' ? '\\' : std::tolower(static_cast<unsigned char>(c)); };
        return normal(a) == normal(b);
    });
}

// The kept files the command names, refused as a whole when one of them has no kept original.
std::vector<std::string> ChosenFiles(const CommandArguments& arguments, const std::vector<KeptFile>& kept) {
    std::vector<std::string> chosen;
    for (const KeptFile& file : kept) {
        if (arguments.All && file.Differs()) chosen.push_back(file.File);
    }
    for (const std::string& typed : arguments.Files) {
        const auto found = std::find_if(kept.begin(), kept.end(),
                                        [&typed](const KeptFile& file) { return SameName(typed, file.File); });
        if (found == kept.end()) throw Refusal(typed + " has no kept original (\"backup status\" lists them)");
        chosen.push_back(found->File);
    }
    return chosen;
}

}  // namespace

// One line per kept file, its name and its state separated by a tab.
int ShowBackupStatus(const CommandArguments& arguments, Console& console) {
    const Installation game = OpenGameAsItIs(arguments.Game);
    for (const KeptFile& file : BackupOf(game.GameFolder, game.Catalogue).Status()) {
        console.Out << file.File << '\t' << StateWord(file.Now) << '\n';
    }
    return kExitDone;
}

// One line per file put back or removed, all of them or none: a failure puts every file back as it was and says so,
// file by file, on standard error.
int RestoreOriginalsCommand(const CommandArguments& arguments, Console& console) {
    if (!arguments.All && arguments.Files.empty()) {
        console.Err << "Name the files to restore, or give --all\nRun with --help for more information.\n";
        return kExitUsage;
    }
    const Installation game = OpenGameAsItIs(arguments.Game);
    const OriginalsBackup backup = BackupOf(game.GameFolder, game.Catalogue);
    const std::vector<std::string> chosen = ChosenFiles(arguments, backup.Status());
    // Every original back leaves no mod's value in the game: the mods go off in the same step, as on the About page.
    const std::string mods = GamePath(game.GameFolder, kModsFolderName);
    const bool modsOff = arguments.All && !chosen.empty() && ModsInPlay(mods);
    bool reapply = false;
    const RestoreReport report = backup.Restore(chosen, [&](FileChangeSet& changes) {
        if (modsOff) SwitchEveryModOff(mods, changes);
        if (!arguments.All) reapply = ForgetAppliedValuesOf(game, chosen, changes);
    });
    if (modsOff) console.Out << "switched off\tevery mod in \"" << kModsFolderName << "\"\n";
    for (const std::string& file : report.PutBack) console.Out << "put back\t" << file << '\n';
    for (const std::string& file : report.Removed) console.Out << "removed\t" << file << '\n';
    if (reapply) {
        console.Out << "mods\tthe switched-on mods are not applied to these files now: \"mods apply\" lays them over "
                       "the originals again\n";
    }
    return kExitDone;
}

}  // namespace tovarin::cli
