#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/headless_platform.h"
#include "window/application.h"
#include "window/form1.h"

// The window a fuzz target drives, kept from one input to the next: starting the program anew for each input costs
// more than the rest of the input. A kept window is started once, on its game folder with the files its first loads
// read emptied, so that those loads fail before they fill the tabs; every control, the window's own state and the
// platform's are then noted. For an input it is put back as noted, and its start runs what a start runs on the game
// folder as the input made it (the folder's lock taken, the first ship, gun and missile loaded): what the window shows
// is what a fresh start shows. The rest of a start reads the catalogue's lists, the switch file, the game's files and
// a change left unfinished, so a kept window is used only while those are as they were when it was started
// (ReusedGame::Window); otherwise the program starts anew. TOVARIN_FUZZ_FRESH_WINDOW set starts the program anew for
// every input, and scripts/fuzz-order-check.sh checks that each input does the same either way.
namespace tovarin::fuzz {

class KeptWindow {
public:
    // Starts the program on `gameFolder` (with its trailing separator) with the files of the first loads, by full
    // path, emptied: the caller puts them back.
    KeptWindow(const std::string& gameFolder, const std::vector<std::string>& emptied);
    ~KeptWindow();
    KeptWindow(const KeptWindow&) = delete;
    KeptWindow& operator=(const KeptWindow&) = delete;

    // Runs what the program's start runs after its lists are filled: the first ship, gun and missile loaded.
    void Start();
    // The window, its controls and the platform as noted after the start, before any load.
    void PutBack();

    HeadlessPlatform Platform;
    Application App;
    bool Ended = false;  // the program ended at its start or in an input: it is not used again

private:
    struct Noted;
    std::unique_ptr<Noted> noted_;
};

// A window ended (its FormDestroy takes the originals' hook away): the next kept start keeps the originals again.
void ForgetKeptOriginals();

}  // namespace tovarin::fuzz
