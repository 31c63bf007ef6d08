#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The window speaks to Windows through its wide calls only: a mod named "Скорость" or "速度", a ship's name from a
// catalogue or a path beyond the system's code page shows as it is written, not as "????". The program's own texts
// are the game's (Windows-1252, as the catalogue and ship files write names) or UTF-8 (paths, names from mods),
// often both in one line; these are the conversions at the controls, the same rule the command line prints by.
namespace tovarin {

// IDC_ARROW, which the headers give in the narrow form only when the program is built without UNICODE.
inline const LPCWSTR kArrowCursor = MAKEINTRESOURCEW(32512);

// A text of the program for a control, a box, a tooltip or a painted chart, in UTF-16: UTF-8 read as UTF-8 and every
// other byte as Windows-1252, so that no byte from a stranger's file is refused or lost.
[[nodiscard]] std::wstring Wide(std::string_view text);

// A text from a control (what the player typed or chose) as the program's text: each character Windows-1252 has
// becomes that byte, as the game's files write it; any other stays UTF-8.
[[nodiscard]] std::string ProgramText(const std::wstring& text);

// The whole text a control or window holds now.
[[nodiscard]] std::wstring WideWindowText(HWND control);

// Sets a control's or window's text.
void SetWideText(HWND control, std::string_view text);

}  // namespace tovarin
