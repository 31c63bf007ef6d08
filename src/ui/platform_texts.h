#pragma once

#include <string>
#include <string_view>

// Texts handed to and taken from the operating system, in the form the program needs them.
namespace tovarin {

// A file dialog's filter "description|pattern" (pairs joined by more bars) in the form the standard dialogs
// take: every bar a NUL, the whole ended by two NULs.
[[nodiscard]] std::string NulSeparatedFilter(std::string_view filter);

// The system's description of an error code as the program shows it: without trailing blanks, line breaks
// and full stops ("Access is denied.\r\n" becomes "Access is denied").
[[nodiscard]] std::string TrimSystemMessage(std::string text);

}  // namespace tovarin
