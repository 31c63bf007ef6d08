#pragma once

#include <string>

namespace tovarin {

// What Windows' FormatMessageA says for the error codes the file layer can produce, with trailing blanks,
// line breaks and full stops removed. Used where the real FormatMessageA is not at hand.
[[nodiscard]] std::string SystemErrorText(int code);

}  // namespace tovarin
