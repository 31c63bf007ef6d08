#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "demo/demo_installation.h"
#include "fuzz/kept_window.h"
#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"
#include "window/application.h"
#include "window/form1.h"

// What the fuzz targets share. Each input starts with a few bytes that choose what the player does; the rest is
// the game file under test. A broken promise stops the process with a trap, which libFuzzer reports as a crash
// and keeps the input of.
namespace tovarin::fuzz {

using demo::Bytes;
using testkit::TempGameFolder;

// The input split into the player's choices (missing ones read as 0) and the file behind them.
struct Input {
    Input(const std::uint8_t* data, std::size_t size, std::size_t choices)
        : Choices(data, data + std::min(size, choices)), File(data + Choices.size(), data + size) {
        Choices.resize(choices);
    }
    std::vector<std::uint8_t> Choices;
    Bytes File;
};

// A game folder built once per process and put back before each input as it was built: what the last input added
// goes, what it changed or removed gets its bytes and mode back. The folders as built are watched (inotify), so that
// only what the last input touched is looked at; when the watch loses track (a built folder removed or moved, the
// queue full) the whole folder is compared with what was built. So a target runs thousands of inputs a second.
class ReusedGame {
public:
    explicit ReusedGame(const std::function<void(TempGameFolder&)>& build);
    ~ReusedGame();
    ReusedGame(const ReusedGame&) = delete;
    ReusedGame& operator=(const ReusedGame&) = delete;
    // The folder as built, with `file` in place of the file `relative` names.
    TempGameFolder& Reset(const std::string& relative, const Bytes& file);

    // The window the `depth`th program run of an input (0: the first) drives, kept from input to input
    // (fuzz/kept_window.h); none when the program must start anew because what its start reads differs from what
    // the kept window's start read. The first run of an input must come right after Reset: kept windows are made
    // then, and the folder is put back after their start.
    [[nodiscard]] KeptWindow* Window(std::size_t depth);
    // The ReusedGame whose folder this is, or nullptr.
    [[nodiscard]] static ReusedGame* Of(const TempGameFolder& game);
    // Puts back what the input touched, with the input's file in place, as the input ends: what the reset keeps
    // track of is then freed within the input that made it, and the next reset has only its file to write.
    void PutBackTouched();

private:
    struct Entry {
        bool IsFolder = false;
        Bytes Content;
        std::filesystem::perms Mode{};
    };
    void Watch();
    bool TakeChanges();  // adds the paths touched since the last call to touched_; false when the watch lost track
    void PutBack(const std::filesystem::path& path);
    void PutBackTouchedIf(bool tracked);  // only what was touched when tracked, else everything
    void PutBackEverything();
    // Whether a start finds what the kept windows' start found: every file it reads as built, the catalogue's lists
    // as they were. The files the start's loads read (ships, weapon tables), profiles and kept originals may differ.
    [[nodiscard]] bool StartsAsBuilt();

    TempGameFolder game_;
    std::map<std::filesystem::path, Entry> built_;  // each file and folder as built, by its path
    std::filesystem::path fuzzed_;                  // the file the last input put in place, and its bytes
    Bytes fuzzedBytes_;
    int watch_ = -1;
    std::map<int, std::filesystem::path> watched_;  // the folders as built, by their watch
    std::set<std::filesystem::path> touched_;
    bool lostTrack_ = false;  // a look between resets lost track of the changes
    std::vector<std::unique_ptr<KeptWindow>> windows_;
    std::string startLists_;  // the catalogue's lists the windows started on
};

// Removes the folder when the process ends: a game built once per process is never destroyed (the program's own
// statics may still use it while the process ends), and each run of a target would leave its folder behind.
void RemoveAtExit(const std::filesystem::path& folder);

// The demo's weapons and one ship, "Test", built once per process, "Ships\\test.iff" the given file.
[[nodiscard]] TempGameFolder& ReusedGameWithShip(const Bytes& file);

// What each input did, for TOVARIN_FUZZ_OUTCOMES (below): a target notes each game folder it works in, and every
// box a ProgramRun showed is noted when it ends.
void NoteFolder(const std::filesystem::path& folder);
void NoteOutcome(const std::string& text);

// Defined by each target: runs one input (LLVMFuzzerTestOneInput, in fuzz_game.cpp, runs it). When the environment
// variable TOVARIN_FUZZ_OUTCOMES names a file, a line is added to it for each input: the input's hash, then a hash
// of what it did (the boxes shown, and every file, link and folder in the noted game folders afterwards). Running
// the same inputs in two orders must give the same lines: what one input leaves behind never changes the next.
// With TOVARIN_FUZZ_OUTCOMES_IN_FULL set too, the text hashed follows each line, to see what differs.
int TestOneInput(const std::uint8_t* data, std::size_t size);

// Seed inputs: each of the choices before each of the files.
[[nodiscard]] std::vector<Bytes> Seeds(const std::vector<Bytes>& choices, const std::vector<Bytes>& files);
// The eight demo ships' files, in catalogue order.
[[nodiscard]] std::vector<Bytes> DemoShipFiles();
// Defined by each target: its seed inputs, made from the demo installation. When the environment variable
// TOVARIN_FUZZ_SEEDS names a folder, the target writes them there (seed-1, seed-2, ...) and ends at once.
[[nodiscard]] std::vector<Bytes> FuzzSeeds();

// The program started on a game folder through the headless platform, driven as a player drives it: a kept window
// put back and started (ReusedGame::Window) when the folder is a ReusedGame's, else a program started anew.
class ProgramRun {
    struct Fresh {
        explicit Fresh(const TempGameFolder& game) : Platform(game.Folder()), App(Platform) {}
        HeadlessPlatform Platform;
        Application App;
    };
    KeptWindow* kept_;
    std::unique_ptr<Fresh> fresh_;
    Application& app_;

public:
    explicit ProgramRun(const TempGameFolder& game);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;
    TForm1& Form() { return app_.Form1(); }
    // Does what the player does and returns how many boxes it showed; the program ending counts as one.
    std::size_t Act(const std::function<void()>& action);
    // Nothing shown at start-up and the program still running: the first ship, gun and missile loaded whole.
    [[nodiscard]] bool StartedClean() const { return !Ended && StartBoxes == 0; }

    HeadlessPlatform& Platform;
    bool Ended = false;
    std::size_t StartBoxes = 0;
};

// Traps when the promise is broken, after naming it and every box the run showed on the error output.
void Require(bool kept, const char* promise, const ProgramRun* run = nullptr);

// Presses "Save Modifications" on the Ships tab and checks what a player relies on: a save that shows a box
// leaves the ship file as it was, and a ship that loaded whole loads whole again after its save.
void SaveShipAndCheck(ProgramRun& run, const TempGameFolder& game, const std::string& shipFile, bool loadedWhole);

}  // namespace tovarin::fuzz
