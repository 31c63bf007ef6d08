#pragma once

#include <functional>
#include <string>

// Every write to a file (and every removal of a game file) passes here first with the file's full path, before a
// byte of it changes, so that the program can act on it. Three hooks look at it, in this order: the guard, which
// refuses a change of a file that must not change now (a file of a change of several files that did not finish),
// the before-change hook, with which a front-end keeps the original of each game file it is about to change, and
// the recorder, with which the window notes the bytes each file had before an action of the player changed it, so
// that the action can be undone. Any of them refuses the change by throwing an Exception; the write then does not
// happen.
namespace tovarin {

using BeforeChangeHook = std::function<void(const std::string& path)>;

// Installs the guard (an empty one removes it).
void SetChangeGuard(BeforeChangeHook guard);

// Installs the before-change hook (an empty one removes it).
void SetBeforeChangeHook(BeforeChangeHook hook);

// Installs the recorder (an empty one removes it).
void SetChangeRecorder(BeforeChangeHook recorder);

// Takes the game folder's lock (gamefiles/folder_lock.h), then runs the guard, the hook and the recorder for a file
// about to change; without them it does nothing more.
void BeforeChange(const std::string& path);

}  // namespace tovarin
