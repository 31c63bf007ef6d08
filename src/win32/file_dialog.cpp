#include "win32/file_dialog.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "gamefiles/wide_paths.h"
#include "ui/platform_texts.h"

namespace tovarin {

namespace {

constexpr std::size_t kFileNameRoom = 4096;

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

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
    const std::string filter = NulSeparatedFilter(dialog.Filter);
    // The dialog starts from the name chosen in it last, as the program has always done.
    // The program's paths are UTF-8; the dialog speaks the system's code page.
    const std::string initialDir = CodePageText(dialog.InitialDir);
    const std::string given = CodePageText(dialog.FileName);
    std::vector<char> fileName(kFileNameRoom, '\0');
    given.copy(fileName.data(), fileName.size() - 1);

    OPENFILENAMEA settings{};
    settings.lStructSize = sizeof settings;
    settings.hwndOwner = owner;
    settings.lpstrFilter = filter.c_str();
    settings.nFilterIndex = 1;
    settings.lpstrFile = fileName.data();
    settings.nMaxFile = static_cast<DWORD>(fileName.size());
    settings.lpstrInitialDir = OrNull(initialDir);
    settings.lpstrTitle = OrNull(dialog.Title);
    settings.lpstrDefExt = OrNull(dialog.DefaultExt);
    settings.Flags = OptionFlags(dialog);

    const bool saving = dynamic_cast<TSaveDialog*>(&dialog) != nullptr;
    const bool confirmed = saving ? GetSaveFileNameA(&settings) != FALSE : GetOpenFileNameA(&settings) != FALSE;
    if (confirmed) dialog.FileName = Utf8OfCodePage(fileName.data());
    return confirmed;
}

}  // namespace tovarin
