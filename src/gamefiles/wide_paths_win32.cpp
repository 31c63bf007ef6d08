#include <windows.h>

#include "gamefiles/text_encoding.h"
#include "gamefiles/wide_paths.h"

namespace tovarin {

namespace {

std::wstring WideOf(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// The wide text in the code page; `lost` tells whether a letter had no place in it.
std::string NarrowOf(const std::wstring& wide, UINT codePage, bool* lost = nullptr) {
    if (wide.empty()) return {};
    BOOL defaulted = FALSE;
    BOOL* usedDefault = codePage == CP_UTF8 ? nullptr : &defaulted;
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, nullptr, usedDefault);
    if (lost != nullptr) *lost = defaulted != FALSE;
    return text;
}

// The 8.3 form of an existing path, or nothing.
std::wstring ShortPath(const std::wstring& wide) {
    const DWORD room = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (room == 0) return {};
    std::wstring shortPath(room, L'\0');
    shortPath.resize(::GetShortPathNameW(wide.c_str(), shortPath.data(), room));
    return shortPath;
}

}  // namespace

std::wstring WidePath(const std::string& path) { return WideOf(path, IsUtf8(path) ? CP_UTF8 : CP_ACP); }

std::string Utf8OfWide(const std::wstring& text) { return NarrowOf(text, CP_UTF8); }

std::string CodePagePath(const std::string& path) {
    const std::wstring wide = WidePath(path);
    bool lost = false;
    std::string narrow = NarrowOf(wide, CP_ACP, &lost);
    if (!lost) return narrow;
    if (const std::wstring shortPath = ShortPath(wide); !shortPath.empty()) return NarrowOf(shortPath, CP_ACP);
    // A file not there yet (an INI file about to be written): the short form of its folder, then its name.
    const std::size_t cut = wide.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return narrow;
    const std::wstring folder = ShortPath(wide.substr(0, cut));
    return folder.empty() ? narrow : NarrowOf(folder + wide.substr(cut), CP_ACP);
}

std::string Utf8OfCodePage(const std::string& text) { return NarrowOf(WideOf(text, CP_ACP), CP_UTF8); }

}  // namespace tovarin
