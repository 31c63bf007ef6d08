#include "win32/file_dialog.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "gamefiles/wide_paths.h"
#include "ui/platform_texts.h"
#include "win32/wide_text.h"

namespace tovarin {

namespace {

constexpr std::size_t kFileNameRoom = 4096;

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

DWORD OptionFlags(const TFileDialog& dialog) {
    DWORD flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (dialog.OverwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    if (dialog.PathMustExist) flags |= OFN_PATHMUSTEXIST;
    if (dialog.FileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (dialog.HideReadOnly) flags |= OFN_HIDEREADONLY;
    return flags;
}

}  // namespace

bool ExecuteFileDialog(TFileDialog& dialog, HWND owner) {
    const std::wstring filter = Wide(NulSeparatedFilter(dialog.Filter));
    // The dialog starts from the name chosen in it last, as the program has always done. The program's paths are
    // UTF-8, read as the file layer reads them, so that a folder named in any alphabet opens.
    const std::wstring initialDir = WidePath(dialog.InitialDir);
    const std::wstring given = WidePath(dialog.FileName);
    const std::wstring title = Wide(dialog.Title);
    const std::wstring extension = Wide(dialog.DefaultExt);
    std::vector<wchar_t> fileName(kFileNameRoom, L'\0');
    given.copy(fileName.data(), fileName.size() - 1);

    OPENFILENAMEW settings{};
    settings.lStructSize = sizeof settings;
    settings.hwndOwner = owner;
    settings.lpstrFilter = filter.c_str();
    settings.nFilterIndex = 1;
    settings.lpstrFile = fileName.data();
    settings.nMaxFile = static_cast<DWORD>(fileName.size());
    settings.lpstrInitialDir = OrNull(initialDir);
    settings.lpstrTitle = OrNull(title);
    settings.lpstrDefExt = OrNull(extension);
    settings.Flags = OptionFlags(dialog);

    const bool saving = dynamic_cast<TSaveDialog*>(&dialog) != nullptr;
    const bool confirmed = saving ? GetSaveFileNameW(&settings) != FALSE : GetOpenFileNameW(&settings) != FALSE;
    if (confirmed) dialog.FileName = Utf8OfWide(fileName.data());
    return confirmed;
}

}  // namespace tovarin
