#pragma once

#include <string>

// Inside the program a path is UTF-8 on every system, so that a folder named in any alphabet ("Mod Légère",
// "Скорость") can be made, listed and read. Windows takes such names only through its wide calls; these are the
// conversions at that boundary. Windows only.
namespace tovarin {

// The path for Windows' wide calls. Well-formed UTF-8 is read as UTF-8; anything else was written in the system's
// code page (a path typed in an older console, a caller of the program's early days) and is read so.
[[nodiscard]] std::wstring WidePath(const std::string& path);

// UTF-16 from Windows (a name found in a folder, the program's own path) as UTF-8.
[[nodiscard]] std::string Utf8OfWide(const std::wstring& text);

// The path for the calls that take the system's code page only (the INI functions): the path in that code
// page, or its short 8.3 form when a name in it has letters the code page lacks.
[[nodiscard]] std::string CodePagePath(const std::string& path);

// Text in the system's code page (what an older console passes) as UTF-8.
[[nodiscard]] std::string Utf8OfCodePage(const std::string& text);

}  // namespace tovarin
