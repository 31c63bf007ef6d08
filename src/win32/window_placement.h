#pragma once

#include <windows.h>

namespace tovarin {

// The main window's size, position and maximised state, remembered for the user who runs the program (under
// HKEY_CURRENT_USER\Software\Tovarin, never in the game folder) from one run to the next.
void SaveWindowPlacement(HWND window);
// Puts the remembered placement back, on screen, and shows the window so: maximised when it was. False when
// nothing is remembered (the window keeps its own place and is not shown).
bool RestoreWindowPlacement(HWND window);

}  // namespace tovarin
