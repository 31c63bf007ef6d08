#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// One writer at a time per game folder. Two Tovarins on one game (the window left open while a script runs, the
// program started twice) would otherwise interleave their changes: a second start would put back the record of a
// change that is still running, and two saves of one file would lose one. Every change of the game's files (game
// files, INI files, "Tovarin Backup", "Tovarin Mods") therefore runs under an exclusive lock on the lock file in the
// game folder, taken with the system's own locking, which ends with its process: a crash never leaves it held. The
// lock file itself stays: removing it would let two processes lock two different files of one name.
namespace tovarin {

inline constexpr const char* kFolderLockName = "Tovarin.lock";

// What the player reads when another Tovarin holds the folder longer than the bounded wait.
inline constexpr const char* kFolderBusyText =
    "Another Tovarin is changing the files of this game: try again when it has finished";

// How long a change waits for the folder, in all, before it is refused: three seconds unless a test sets less.
inline constexpr std::chrono::milliseconds kFolderLockWait{3000};
void SetFolderLockWait(std::chrono::milliseconds wait);

// Holds the game folder's lock (the folder with its trailing separator) while it lives. Within one process it nests:
// only the first holder locks the file, the last one to end unlocks it. When another process holds it past the
// wait, the constructor throws an Exception with kFolderBusyText, having changed nothing. A folder where the lock file
// cannot be made (read-only, missing) is not locked: nothing can be changed there anyway.
class GameFolderLock {
public:
    explicit GameFolderLock(const std::string& gameFolder);
    ~GameFolderLock();
    GameFolderLock(const GameFolderLock&) = delete;
    GameFolderLock& operator=(const GameFolderLock&) = delete;

private:
    std::string key_;
};

// ---- The front-end's game folder -------------------------------------------------------------------------------
// Once a front-end names its game folder, every change of a file inside it (gamefiles/change_hook.h calls
// LockBeforeChange) takes the folder's lock first unless it is held already, and keeps it until the action that
// made the change ends: the command line's whole command, or one event of the window. So no writer can forget it.

// The game folder of this front-end; an empty one ends it. Returns the one it replaces.
std::string GuardGameFolder(const std::string& gameFolder);

// Before a change of the file at this path: takes the guarded folder's lock when the path lies in it.
void LockBeforeChange(const std::string& path);

// One action of the front-end (an event of the window): a lock taken by a change during it is let go at its end.
class FolderAction {
public:
    FolderAction();
    ~FolderAction();
    FolderAction(const FolderAction&) = delete;
    FolderAction& operator=(const FolderAction&) = delete;
};

// ---- The system's part (folder_lock_posix.cpp, folder_lock_win32.cpp) --------------------------------------------

// Opens (or creates) the lock file; -1 when it cannot be made.
[[nodiscard]] std::intptr_t OpenLockFile(const std::string& path);
// Tries once to lock it exclusively; false while another process holds it.
[[nodiscard]] bool TryLockFile(std::intptr_t file);
// Unlocks and closes it.
void CloseLockFile(std::intptr_t file);
// This process's number, which names its temporary files.
[[nodiscard]] std::uint32_t ProcessNumber();

}  // namespace tovarin
