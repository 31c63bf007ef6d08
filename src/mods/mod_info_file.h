#pragma once

#include <string>

#include "mods/mod_folder.h"

// mod.ini as mods come from other editors and systems: UTF-8 with or without a byte-order mark, UTF-16 as Notepad
// saves it, or Windows-1252, with any line ends, read as the sheets are.
namespace tovarin {

// What the mod.ini at the path says, its texts as game text. Refused with an Exception naming `file` when it is no
// regular file, is beyond its bound, has no [Mod] section, or holds junk (a NUL byte, or a line of its [Mod]
// section that is no "key=value" and no comment).
[[nodiscard]] ModInfo ReadModInfo(const std::string& path, const std::string& file);

// The text with every control character a terminal or a list could act on (ESC, NUL, line breaks, the C1 controls)
// written out as "\x1b", so that a mod's name or description shows as text and nothing else.
[[nodiscard]] std::string WithoutControls(const std::string& text);

}  // namespace tovarin
