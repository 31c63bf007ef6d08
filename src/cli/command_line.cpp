#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/chart_commands.h"
#include "cli/command_files.h"
#include "cli/commands.h"
#include "cli/game_session.h"
#include "cli/mod_commands.h"
#include "cli/terminal.h"
#include "cli/tool_commands.h"
#include "cli/weapon_commands.h"
#include "cli/why_command.h"
#include "gamefiles/errors.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/run_caches.h"
#include "gamefiles/text_encoding.h"
#include "installation/installation.h"

namespace tovarin::cli {

namespace {

using ArgumentsOf = void (*)(CLI::App& command, CommandArguments& arguments);

// One command of the table: where it sits ("ship get"), what it does, an example, its arguments and its function.
struct Command {
    std::string Path;
    std::string Summary;
    std::string Example;
    ArgumentsOf Arguments;
    CommandFunction Run;
};

void ShipName(CLI::App& command, CommandArguments& arguments) {
    command.add_option("NAME", arguments.Name, "The ship, as the catalogue names it")->required();
}

void ShipChanges(CLI::App& command, CommandArguments& arguments) {
    ShipName(command, arguments);
    command.add_option("CHANGES", arguments.Changes, "KEY=VALUE with the keys of a ship profile")->required();
}

void WeaponChanges(CLI::App& command, CommandArguments& arguments) {
    command.add_option("NAME", arguments.Name, "The weapon, as the catalogue names it")->required();
    command.add_option("CHANGES", arguments.Changes, "FIELD=VALUE with the editor's captions in lower case")
        ->required();
}

void OptionalWeapon(CLI::App& command, CommandArguments& arguments) {
    command.add_option("NAME", arguments.Name, "One weapon, as the catalogue names it (default: all)");
    command.add_option("FIELD", arguments.Keys,
                       "Only these fields, the editor's captions in lower case, in this order (default: all)");
    command.add_flag("--json", arguments.Json, "One JSON object instead of FIELD=VALUE lines");
}

void ShipAndProfileOut(CLI::App& command, CommandArguments& arguments) {
    ShipName(command, arguments);
    command.add_option("FILE", arguments.File, "The ship profile (.vks); - for standard output")->required();
}

void ShipAndProfileIn(CLI::App& command, CommandArguments& arguments) {
    ShipName(command, arguments);
    command.add_option("FILE", arguments.File, "The ship profile (.vks); - for standard input")->required();
}

void ShipAndSlot(CLI::App& command, CommandArguments& arguments) {
    ShipName(command, arguments);
    command.add_option("N", arguments.Slot, "The gun slot, counted from 1")->required();
}

void Sheet(CLI::App& command, CommandArguments& arguments) {
    command.add_option("FILE", arguments.File, "The sheet (.csv); - for standard input")->required();
}

void ExportedSheet(CLI::App& command, CommandArguments& arguments) {
    command.add_option("FILE", arguments.File, "The sheet (.csv); - for standard output")->required();
    command.add_flag("--changed", arguments.Changed,
                     "Only the rows and cells that differ from the originals kept in \"Tovarin Backup\", the other "
                     "cells empty: a balance mod that \"import\" applies to the original installation (gun slots "
                     "and swaps are not part of a sheet; a cell a sheet cannot carry is named on standard error). "
                     "Nothing changed: the header's first cell alone");
}

void ModName(CLI::App& command, CommandArguments& arguments) {
    command.add_option("NAME", arguments.Name, "The mod: its name, or its folder in \"Tovarin Mods\"")->required();
}

void ChartOutput(CLI::App& command, CommandArguments& arguments) {
    command.add_option("--out", arguments.File, "The SVG file to write; - for standard output (the default)")
        ->type_name("FILE");
    command.add_flag("--table", arguments.Table, "The chart's values as a tab-separated table instead of a picture");
}

void ChartField(CLI::App& command, CommandArguments& arguments) {
    command.add_option("FIELD", arguments.Keys, "The field, the editor's caption in lower case")
        ->required()
        ->expected(1);
    ChartOutput(command, arguments);
}

// Every command, in the order --help lists them.
const std::vector<Command>& CommandTable() {
    static const std::vector<Command> table = {
        {"ships", "Lists the catalogue's ships in catalogue order: name, ship file and, when exchanged, the partner",
         "tovarin-cli ships", nullptr, ListShips},
        {"ship get", "Shows a ship's values as the keys of a ship profile, in a profile's order",
         "tovarin-cli ship get Kestrel speedmax mass",
         [](CLI::App& command, CommandArguments& arguments) {
             ShipName(command, arguments);
             command.add_option("KEY", arguments.Keys, "Only these profile keys (default: all)");
             command.add_flag("--json", arguments.Json, "One JSON object instead of KEY=VALUE lines");
         },
         GetShip},
        {"ship set", "Changes a ship's values, writing only the values that change",
         "tovarin-cli ship set Kestrel speedmax=450 gun1=3", ShipChanges, SetShip},
        {"ship export", "Writes a ship's values to a ship profile", "tovarin-cli ship export Kestrel kestrel.vks",
         ShipAndProfileOut, ExportShip},
        {"ship import", "Applies a ship profile to a ship and saves it", "tovarin-cli ship import Kestrel kestrel.vks",
         ShipAndProfileIn, ImportShip},
        {"ship restore", "Restores a ship's default profile and saves it", "tovarin-cli ship restore Kestrel", ShipName,
         RestoreShip},
        {"guns get", "Shows a gun's values, or every gun's", "tovarin-cli guns get \"Ion Cannon\" damage speed",
         OptionalWeapon, GetGuns},
        {"guns set", "Changes a gun's values in the gun table", "tovarin-cli guns set \"Ion Cannon\" damage=40",
         WeaponChanges, SetGun},
        {"missiles get", "Shows a missile's values with its flags and split-up, or every missile's",
         "tovarin-cli missiles get Dart", OptionalWeapon, GetMissiles},
        {"missiles set", "Changes a missile's values in the missile table", "tovarin-cli missiles set Dart speed=900",
         WeaponChanges, SetMissile},
        {"slots list", "Lists a ship's gun slots", "tovarin-cli slots list Kestrel", ShipName, ListSlots},
        {"slots copy", "Copies a gun slot and saves the ship at once", "tovarin-cli slots copy Kestrel 2", ShipAndSlot,
         CopySlot},
        {"slots delete", "Deletes a gun slot and saves the ship at once", "tovarin-cli slots delete Kestrel 2",
         ShipAndSlot, DeleteSlot},
        {"swap", "Exchanges two ships throughout the game, or exchanges them back", "tovarin-cli swap Kestrel Warden",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_option("A", arguments.Name, "The ship to be replaced")->required();
             command.add_option("B", arguments.OtherName, "The ship to fly in its place")->required();
         },
         SwapShips},
        {"patch status",
         "Tells whether the game's archive carries the patch: installed, not installed, unreadable "
         "or not listed (the catalogue lists no position)",
         "tovarin-cli patch status", nullptr, ShowPatchState},
        {"patch install", "Patches the game's archive and records its original bytes in uninstall.dat",
         "tovarin-cli patch install", nullptr, InstallPatchCommand},
        {"patch remove", "Puts the recorded original bytes back into the game's archive", "tovarin-cli patch remove",
         nullptr, RemovePatchCommand},
        {"export ships", "Writes every ship's values to a sheet, one row per ship, or with --changed only what differs",
         "tovarin-cli export ships fleet.csv --changed", ExportedSheet, ExportShipSheet},
        {"export guns", "Writes every gun's values to a sheet, or with --changed only what differs",
         "tovarin-cli export guns guns.csv", ExportedSheet, ExportGuns},
        {"export missiles", "Writes every missile's values to a sheet, or with --changed only what differs",
         "tovarin-cli export missiles missiles.csv", ExportedSheet, ExportMissiles},
        {"import ships", "Applies a sheet of ship values, whole or not at all", "tovarin-cli import ships fleet.csv",
         Sheet, ImportShipSheet},
        {"import guns", "Applies a sheet of gun values, whole or not at all", "tovarin-cli import guns guns.csv", Sheet,
         ImportGuns},
        {"import missiles", "Applies a sheet of missile values, whole or not at all",
         "tovarin-cli import missiles missiles.csv", Sheet, ImportMissiles},
        {"check", "Verifies the installation: one line per finding, exit code 1 when anything is found",
         "tovarin-cli check", nullptr, CheckCommand},
        {"backup status",
         "Lists each file whose original is kept in \"Tovarin Backup\", with how it stands now: original, changed "
         "or missing; for a file Tovarin created: created, or absent once removed",
         "tovarin-cli backup status", nullptr, ShowBackupStatus},
        {"restore",
         "Puts the kept originals of the files named back (as \"backup status\" names them), or of every file "
         "with --all, and removes the files Tovarin created; the originals stay kept",
         "tovarin-cli restore \"Ships\\kestrel.iff\" \"Game\\bullet.iff\"",
         [](CLI::App& command, CommandArguments& arguments) {
             CLI::Option* all = command.add_flag("--all", arguments.All, "Every file that differs from its original");
             command.add_option("FILE", arguments.Files, "A game file with a kept original")->excludes(all);
         },
         RestoreOriginalsCommand},
        {"diff",
         "Says value by value what differs from the kept originals: ship keys, gun and missile fields, "
         "gun slots, swaps; exit code 1 when anything differs, 2 when a file could not be read",
         "tovarin-cli diff", nullptr, DiffCommand},
        {"why",
         "Says where each value came from: its original, each switched-on mod the last apply laid over it, in load "
         "order, and your own change on top, ending with the value the file holds now. \"why gun NAME [FIELD...]\" "
         "and \"why missile NAME [FIELD...]\" do the same for the gun and missile tables",
         "tovarin-cli why Kestrel speedmax hp",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_option("SHIP", arguments.Name, "The ship, as the catalogue names it; or gun, or missile")
                 ->required();
             command.add_option("KEY", arguments.Keys,
                                "Only these keys (after gun or missile: the weapon, then only these fields) "
                                "(default: every value that is not its original)");
             command.add_flag("--json", arguments.Json,
                              "One JSON object instead of lines: each key with its chain of {\"value\", \"from\"}");
         },
         WhyCommand},
        {"chart ships",
         "A scatter of two ship keys over the whole fleet (default: speedmax and hp); a changed ship "
         "also as its original point with an arrow to where it is now",
         "tovarin-cli chart ships speedmax hp --out fleet.svg",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_option("KEY", arguments.Keys, "X and Y: two keys of a ship profile")->expected(0, 2);
             ChartOutput(command, arguments);
         },
         ChartShips},
        {"chart guns",
         "Bars of one field for every gun, or of \"damage per second\" (damage x 1000 / refire delay); "
         "a changed one before its original",
         "tovarin-cli chart guns \"damage per second\" --out guns.svg", ChartField, ChartGuns},
        {"chart missiles", "Bars of one field for every missile, a changed one before its original",
         "tovarin-cli chart missiles damage --table", ChartField, ChartMissiles},
        {"chart why", "Steps of one value's chain, as \"why\" prints it: original, each mod, your change",
         "tovarin-cli chart why Kestrel speedmax --out speed.svg",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_option("SHIP", arguments.Name, "The ship; or gun, or missile")->required();
             command.add_option("KEY", arguments.Keys, "The key (after gun or missile: the weapon, then its field)")
                 ->required();
             ChartOutput(command, arguments);
         },
         ChartWhy},
        {"mods",
         "Lists the mods in \"Tovarin Mods\" in load order, a line each, tab-separated: place, state (on and applied, "
         "on, not applied yet, off, cannot be switched on, missing), name, version, author, what it changes (or why "
         "it cannot be switched on) and description",
         "tovarin-cli mods", nullptr, ListMods},
        {"mods add",
         "Copies a mod (its folder, or a lone sheet) into \"Tovarin Mods\", last in the load order; a mod whose "
         "folder or name is there already is updated in its place, switched as it was, and what changed is listed",
         "tovarin-cli mods add \"Faster Fighters\"",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_option("PATH", arguments.File, "The mod's folder, or a sheet (.csv)")->required();
             command.add_flag("--as-new", arguments.AsNew,
                              "Add it beside the mod of its folder or name (\"hm (2)\"), not as its update");
         },
         AddMod},
        {"mods remove", "Deletes a mod's files from \"Tovarin Mods\" and takes it out of the load order",
         "tovarin-cli mods remove \"Heavy Metal\"", ModName, RemoveMod},
        {"mods on", "Switches a mod on; \"mods apply\" puts it into the game", "tovarin-cli mods on \"Heavy Metal\"",
         ModName, SwitchModOn},
        {"mods off", "Switches a mod off; \"mods apply\" takes it out of the game",
         "tovarin-cli mods off \"Heavy Metal\"", ModName, SwitchModOff},
        {"mods move", "Moves a mod to another place in the load order: a later mod's value wins",
         "tovarin-cli mods move \"Heavy Metal\" 1",
         [](CLI::App& command, CommandArguments& arguments) {
             ModName(command, arguments);
             command.add_option("POSITION", arguments.Position, "Its new place, counted from 1")->required();
         },
         MoveMod},
        {"mods conflicts",
         "One line per value that two switched-on mods set differently: each mod with its value, and the one that "
         "wins",
         "tovarin-cli mods conflicts", nullptr, ShowModConflicts},
        {"mods apply",
         "Makes the game files the kept originals with every switched-on mod laid over them in load order, and "
         "your own changes since the last apply on top; whole or not at all",
         "tovarin-cli mods apply",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_flag("--drop-own-changes", arguments.DropOwnChanges,
                              "Let the mods decide alone: values changed in the editor since the last apply go back "
                              "to the originals");
         },
         ApplyMods},
        {"mods make",
         "Makes a mod folder in \"Tovarin Mods\" with a mod.ini to fill in, and with --from-changes the sheets of your "
         "own changes (since the last apply, or since the originals)",
         "tovarin-cli mods make \"My Balance\" --from-changes",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_option("NAME", arguments.Name, "The mod's name, which names its folder too")->required();
             command.add_flag("--from-changes", arguments.FromChanges,
                              "The sheets hold the values changed since the last apply (since the originals when "
                              "nothing was applied), as \"export --changed\" writes them");
         },
         MakeMod},
        {"mods describe",
         "What a mod changes, value by value against the originals (\"Kestrel speedmax 600 -> 660\"); with "
         "--markdown as a mod page to publish",
         "tovarin-cli mods describe \"Heavy Metal\" --markdown",
         [](CLI::App& command, CommandArguments& arguments) {
             ModName(command, arguments);
             command.add_flag("--markdown", arguments.Markdown,
                              "A page in Markdown: heading, author, description "
                              "and a table per sheet");
         },
         DescribeMod},
        {"mods export-list",
         "Writes the load order into one file to pass on: each mod's folder, name, version, switch, and SHA-256 of "
         "its files and of the originals it goes into",
         "tovarin-cli mods export-list \"my set.ini\"",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_option("FILE", arguments.File, "The file to write; - for standard output")->required();
         },
         ExportModList},
        {"mods import-list",
         "Sets the load order and switches of a list that \"mods export-list\" wrote; refused, changing nothing, "
         "while a listed mod is missing or its files differ, unless --anyway",
         "tovarin-cli mods import-list \"my set.ini\"",
         [](CLI::App& command, CommandArguments& arguments) {
             command.add_option("FILE", arguments.File, "The list")->required();
             command.add_flag("--anyway", arguments.Anyway,
                              "Set the order of the mods that are here, leaving out the missing ones");
         },
         ImportModList},
    };
    return table;
}

// The groups that hold commands of their own ("ship get", "ship set", ...).
const std::map<std::string, std::string>& GroupSummaries() {
    static const std::map<std::string, std::string> groups = {
        {"ship", "One ship's values: get, set, export, import, restore"},
        {"guns", "The gun table: get, set"},
        {"missiles", "The missile table: get, set"},
        {"slots", "A ship's gun slots: list, copy, delete"},
        {"patch", "The game archive's patch: status, install, remove"},
        {"export", "Sheets (CSV) of every ship, gun or missile"},
        {"import", "Sheets (CSV) applied to the ships, guns or missiles"},
        {"backup", "The originals kept in \"Tovarin Backup\": status"},
        {"mods",
         "The mods in \"Tovarin Mods\": add, remove, on, off, move, conflicts, apply, make, describe, export-list, "
         "import-list"},
        {"chart",
         "Charts of the fleet, the weapons and one value's chain, as SVG or a table: ships, guns, missiles, why"},
    };
    return groups;
}

// Every command with an example, or only those of one group ("ship"), whose --help lists its own.
std::string Overview(const std::string& group = "") {
    std::ostringstream text;
    text << (group.empty() ? "Every command" : "Its commands") << ", with an example (each has --help):\n";
    for (const Command& command : CommandTable()) {
        if (!group.empty() && !command.Path.starts_with(group + " ")) continue;
        text << "  " << command.Path << std::string(18 - std::min<std::size_t>(command.Path.size(), 17), ' ')
             << command.Example << '\n';
    }
    text << "Exit codes: 0 done, 1 refused or failed, 2 wrong usage.";
    return text.str();
}

// The command the arguments name when it is none of the table's: CLI11 would only list it among the unexpected
// arguments, last first. The first word that is neither an option nor --game's folder names the command, or its
// group and then the second such word names the command.
std::optional<std::string> UnknownCommand(const std::vector<std::string>& arguments) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < arguments.size() && words.size() < 2; ++i) {
        if (arguments[i] == "--game") {
            ++i;
        } else if (!arguments[i].starts_with("-")) {
            words.push_back(arguments[i]);
        }
    }
    if (words.empty()) return std::nullopt;
    const auto known = [](const std::string& path) {
        return std::any_of(CommandTable().begin(), CommandTable().end(),
                           [&](const Command& command) { return command.Path == path; });
    };
    if (!GroupSummaries().contains(words[0])) return known(words[0]) ? std::nullopt : std::optional(words[0]);
    if (words.size() < 2) return std::nullopt;  // CLI11 asks for the group's command
    const std::string path = words[0] + " " + words[1];
    return known(path) ? std::nullopt : std::optional(path);
}

// The command line's parser with every command of the table; `chosen` is set to the command that was named.
std::unique_ptr<CLI::App> Parser(CommandArguments& arguments, const Command*& chosen) {
    auto app = std::make_unique<CLI::App>(
        "Tovarin's command line: edits the ships, guns and missiles of Vantorsk Ashfall and Nightwatch as the "
        "window does.",
        "tovarin-cli");
    app->fallthrough();
    // "/home/x.csv" is a path, also on Windows; an option always starts with "-".
    app->allow_windows_style_options(false);
    app->add_option("--game", arguments.Game, "The game folder (default: the current folder)")->type_name("DIR");
    app->footer(Overview());
    std::map<std::string, CLI::App*> groups;
    for (const Command& command : CommandTable()) {
        const std::size_t blank = command.Path.find(' ');
        CLI::App* parent = app.get();
        if (blank != std::string::npos) {
            const std::string group = command.Path.substr(0, blank);
            if (!groups.contains(group)) {
                groups[group] = app->add_subcommand(group, GroupSummaries().at(group))->require_subcommand(1);
                groups[group]->footer(Overview(group));
            }
            parent = groups[group];
        }
        CLI::App* sub = nullptr;
        if (blank == std::string::npos && GroupSummaries().contains(command.Path)) {
            // A group that is a command itself when none of its commands is named ("mods" lists the mods). Its
            // callback may run before or after the named command's: the named command wins either way.
            sub = app->add_subcommand(command.Path, command.Summary)->require_subcommand(0, 1);
            groups[command.Path] = sub;
            sub->callback([&chosen, &command] {
                if (chosen == nullptr) chosen = &command;
            });
        } else {
            sub = parent->add_subcommand(command.Path.substr(blank + 1), command.Summary);
            sub->callback([&chosen, &command] { chosen = &command; });
        }
        sub->footer("Example: " + command.Example + (command.Path == "diff" ? "\n" + DiffFormat() : ""));
        if (command.Arguments != nullptr) command.Arguments(*sub, arguments);
    }
    return app;
}

// Names typed in the terminal, in UTF-8 or in Windows-1252, become the game's own text, as the catalogue writes
// them; paths become what the system's file functions take.
void TakeAsTyped(CommandArguments& given) {
    given.Game = FileSystemName(given.Game);
    given.File = FileSystemName(given.File);
    given.Name = GameText(given.Name);
    given.OtherName = GameText(given.OtherName);
    for (std::vector<std::string>* list : {&given.Keys, &given.Changes, &given.Files}) {
        for (std::string& text : *list) text = GameText(text);
    }
}

// A command holds the game folder's lock from before it opens the game (which puts back an unfinished change) until
// it ends: what it reads, computes and writes is one step against every other Tovarin on the folder. Reading
// commands hold it too, so that they see the files before or after another's change, never in between.
int Run(const Command& command, const CommandArguments& arguments, Console& console) {
    const std::string outer = GuardGameFolder(console.GameFolder);
    int code = kExitRefused;
    try {
        // A folder without the game's catalogue has nothing to change: it gets no lock file of ours.
        std::optional<GameFolderLock> lock;
        if (!ChooseCatalogue(console.GameFolder).empty()) lock.emplace(console.GameFolder);
        code = command.Run(arguments, console);
    } catch (...) {
        ShowFailure(console);
    }
    GuardGameFolder(outer);
    return code;
}

}  // namespace

void ShowFailure(Console& console) {
    try {
        throw;
    } catch (const Refusal& refusal) {
        console.Err << refusal.what() << '\n';
    } catch (const Exception& error) {
        // As the window's general error box shows it, the message and a full stop, with the file it concerns.
        console.Err << Described(error, console.GameFolder) << ".\n";
    } catch (const ProgramEnded&) {
        // A fatal condition that ends the window's run ends the command as failed.
    } catch (const std::exception& error) {
        console.Err << "tovarin-cli: " << error.what() << '\n';
    }
}

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::istringstream nothing;
    return RunCommandLine(arguments, Terminal{nothing, out, err, TerminalEncoding::Utf8});
}

int RunCommandLine(const std::vector<std::string>& arguments, const Terminal& terminal) {
    TerminalTextBuffer outText(terminal.Out, terminal.Encoding);
    TerminalTextBuffer errText(terminal.Err, terminal.Encoding);
    std::ostream out(&outText);
    std::ostream err(&errText);
    CommandArguments given;
    const Command* chosen = nullptr;
    const std::unique_ptr<CLI::App> parser = Parser(given, chosen);
    if (const std::optional<std::string> unknown = UnknownCommand(arguments)) {
        err << "Unknown command: " << *unknown << "\nRun with --help for more information.\n";
        return kExitUsage;
    }
    try {
        // CLI11 takes the arguments last first.
        parser->parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
    } catch (const CLI::ParseError& error) {
        const int code = parser->exit(error, out, err);
        return code == static_cast<int>(CLI::ExitCodes::Success) ? kExitDone : kExitUsage;
    }
    if (chosen == nullptr) {
        err << "A command is required\nRun with --help for more information.\n";
        return kExitUsage;
    }
    TakeAsTyped(given);
    Console console{terminal.In, out, err, terminal.Out, GameFolderOf(given.Game)};
    // A command is one run: what it learns of the game folder is kept until it ends (gamefiles/run_caches.h).
    const RunCaches caches;
    const PutBackNotices notices(err);
    const int code = Run(*chosen, given, console);
    StopKeepingOriginals();  // the game session ends with the command
    return code;
}

}  // namespace tovarin::cli
