#include "win32/wide_text.h"

#include "gamefiles/text_encoding.h"
#include "gamefiles/wide_paths.h"

namespace tovarin {

// ShownText gives well-formed UTF-8 for any bytes, which WidePath takes as UTF-8.
std::wstring Wide(std::string_view text) { return WidePath(ShownText(text)); }

std::string ProgramText(const std::wstring& text) { return GameText(Utf8OfWide(text)); }

std::wstring WideWindowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetWideText(HWND control, std::string_view text) { SetWindowTextW(control, Wide(text).c_str()); }

}  // namespace tovarin
