// The INI reader and writer and the profile import, on any profile. Choices: [0] bits 0..2 the demo ship, bits 3..4
// what the player does with the profile: 0 import it and save the ship, 1 import it, export and import again, 2
// import it, 3 write a key into it (without the program). One action an input, so that each input is quick.
#include <filesystem>
#include <string>

#include "demo/demo_ships.h"
#include "fuzz/fuzz_game.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/profile_text.h"
#include "gamefiles/run_caches.h"

namespace {

using namespace tovarin;
using namespace tovarin::fuzz;

constexpr const char* kProfile = "Ships\\fuzzed.vks";
constexpr const char* kExported = "Ships\\exported.vks";

// Imports (Button5) or exports (Button6) the profile through the file dialog; returns the boxes shown.
std::size_t Press(ProgramRun& run, const TempGameFolder& game, TButton& button, const char* profile) {
    run.Platform.FileChoices = {game.PathOf(profile)};
    return run.Act([&] { UserInput::Click(button); });
}

// Writing one key of an INI file changes that key only: every other key of the section reads as before. A listed
// name the INI takes for the written key ("mass\f", blanks trimmed as any requested name is) may rightly read the
// new value, so the names are compared as the INI compares them.
void CheckKeyWrite(const TempGameFolder& game) {
    const RunCaches readingOnce;  // the profile is parsed once for the reads before the write, once for those after
    const TIniFile profile(game.PathOf(kProfile));
    std::vector<std::string> keys;
    profile.ReadSection("Ship", keys);
    std::vector<std::string> values;
    for (const std::string& key : keys) values.push_back(profile.ReadString("Ship", key, "\x01"));
    try {
        profile.WriteString("Ship", "mass", "4321");
    } catch (const Exception&) {
        return;
    }
    Require(profile.ReadString("Ship", "mass", "") == "4321", "a value written to an INI file reads back");
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].empty() || ProfileNameKey(keys[i]) == ProfileNameKey("mass")) continue;
        Require(profile.ReadString("Ship", keys[i], "\x01") == values[i],
                "writing one key of an INI file leaves the other keys as they were");
    }
}

}  // namespace

std::vector<Bytes> tovarin::fuzz::FuzzSeeds() {
    std::vector<Bytes> profiles;
    for (const demo::DemoShip& ship : demo::DemoShips()) {
        const std::string text = demo::DefaultProfileText(ship);
        profiles.emplace_back(text.begin(), text.end());
    }
    return Seeds({{0}, {1 | 1 << 3}, {7 | 2 << 3}, {3 << 3}}, profiles);
}

int tovarin::fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input input(data, size, 1);
    static const std::vector<demo::DemoShip> ships = demo::DemoShips();
    const std::size_t ship = input.Choices[0] % ships.size();
    const int action = input.Choices[0] >> 3 & 3;
    const std::string shipFile = "Ships\\" + ships[ship].File;
    static ReusedGame& reused = *new ReusedGame([](TempGameFolder& built) {
        demo::AddDemoWeapons(built);
        demo::AddDemoShips(built);
    });
    TempGameFolder& game = reused.Reset(kProfile, input.File);
    if (action == 3) {
        // The INI writer alone, without the program. While a window is open in the process (the kept ones) a write
        // takes the folder's lock, held to the end of the action it is part of (here one of its own, so that no
        // lock is left held into the next input or the process's end), and leaves the lock's file: gone, the folder
        // is as after a write without one.
        {
            const FolderAction writing;
            CheckKeyWrite(game);
        }
        std::filesystem::remove(game.PathOf(kFolderLockName));
        return 0;
    }
    ProgramRun run(game);
    TForm1& f = run.Form();
    Require(run.StartedClean() && run.Act([&] { UserInput::Choose(f.ComboBox1, ship); }) == 0,
            "the demo installation loads", &run);

    const Bytes shipBefore = game.ReadFile(shipFile);
    const std::size_t shown = Press(run, game, f.Button5, kProfile);
    Require(game.ReadFile(kProfile) == input.File, "importing a profile leaves it unchanged", &run);
    Require(game.ReadFile(shipFile) == shipBefore, "an import changes no ship file", &run);
    if (action == 0) SaveShipAndCheck(run, game, shipFile, true);
    if (action == 1 && shown == 0) {
        // An exported profile brings back exactly the values it was exported from: exported again, it is the same.
        Require(Press(run, game, f.Button6, kExported) == 0, "an imported profile can be exported", &run);
        const Bytes exported = game.ReadFile(kExported);
        Require(Press(run, game, f.Button5, kExported) == 0 && Press(run, game, f.Button6, kExported) == 0 &&
                    game.ReadFile(kExported) == exported,
                "an exported profile imports back to the same values", &run);
    }
    return 0;
}
