#include "mods/mod_folder.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/numbers.h"
#include "gamefiles/plain_files.h"
#include "gamefiles/text_encoding.h"
#include "mods/mod_info_file.h"
#include "mods/mod_limits.h"
#include "mods/mod_names.h"
#include "sheets/refusal.h"
#include "sheets/sheet_reader.h"

namespace tovarin {

namespace {

constexpr SheetKind kKinds[] = {SheetKind::Ships, SheetKind::Guns, SheetKind::Missiles};

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWithCsv(const std::string& name) {
    return name.size() > 4 && LowerCase(name.substr(name.size() - 4)) == ".csv";
}

// The entry of the folder named so in any letter case, as the folder spells it; "" when there is none.
std::string FoundIn(const std::vector<FolderEntry>& entries, const std::string& name) {
    for (const FolderEntry& entry : entries) {
        if (!entry.IsFolder && LowerCase(entry.Name) == name) return entry.Name;
    }
    return "";
}

// The sheet's rows, read as "import" reads a sheet in any spreadsheet's dialect and encoding and through the same
// reader; a file that is no regular file, is beyond the bounds, or cannot be read or parsed is refused naming it.
std::vector<CsvRow> SheetRows(const std::string& path, const std::string& file) {
    std::string text;
    try {
        text = TextOfFile(ReadPlainFile(path, kMaxModSheetBytes));
    } catch (const Exception& error) {
        throw Exception(file + " " + error.Message());
    }
    std::vector<CsvRow> rows;
    try {
        SheetReader reader(text, file);
        rows.push_back(reader.Header());
        for (CsvRow row; reader.Next(row);) rows.push_back(row);
    } catch (const Refusal& refusal) {
        throw Exception(refusal.what());
    }
    return rows;
}

// A sheet says by its first header cell what it changes, as the exports write it ("ship", "gun", "missile").
std::optional<SheetKind> KindNamed(const std::vector<CsvRow>& rows) {
    const std::string first = rows.empty() ? "" : LowerCase(rows[0].Fields[0]);
    for (const SheetKind kind : kKinds) {
        if (first == KindWord(kind)) return kind;
    }
    return std::nullopt;
}

// The mod files of the folder's entries (mod.ini first), as the folder spells them.
std::vector<std::string> ModFilesOf(const std::vector<FolderEntry>& entries) {
    std::vector<std::string> files;
    if (const std::string found = FoundIn(entries, kModFileName); !found.empty()) files.push_back(found);
    for (const SheetKind kind : kKinds) {
        if (const std::string found = FoundIn(entries, SheetFileName(kind)); !found.empty()) files.push_back(found);
    }
    return files;
}

// The sheet's size, taken without reading it: one beyond the bound is refused naming it before it is read.
std::uint64_t SheetSize(const ModSheet& sheet) {
    std::uint64_t size = 0;
    try {
        size = PlainFileSize(sheet.Path);
    } catch (const Exception& error) {
        throw Exception(sheet.File + " " + error.Message());
    }
    if (size > kMaxModSheetBytes) {
        throw Exception(sheet.File + " holds " + std::to_string(size) + " bytes, more than the " +
                        std::to_string(kMaxModSheetBytes) + " bytes a mod's file may");
    }
    return size;
}

// Finds the mod's sheets and measures them; their rows are read by ReadModSheets.
void FindSheets(Mod& mod, const std::vector<FolderEntry>& entries) {
    for (const SheetKind kind : kKinds) {
        const std::string file = FoundIn(entries, SheetFileName(kind));
        if (!file.empty()) mod.Sheets.push_back({kind, mod.Entry + "\\" + file, {}, PathIn(mod.Path, file)});
    }
}

std::optional<Mod> ReadModFolder(const std::string& path, const std::string& entry) {
    const std::vector<FolderEntry> entries = ListFolder(path);
    if (ModFilesOf(entries).empty()) return std::nullopt;
    Mod mod{entry, {}, {}, "", false};
    mod.Path = path;
    const std::string modFile = FoundIn(entries, kModFileName);
    try {
        if (!modFile.empty()) mod.Info = ReadModInfo(PathIn(path, modFile), entry + "\\" + modFile);
    } catch (const Exception& error) {
        mod.Problem = error.Message();
    }
    if (mod.Info.Name.empty()) mod.Info.Name = entry;
    if (mod.Problem.empty()) FindSheets(mod, entries);
    return mod;
}

Mod ReadLoneSheet(const std::string& path, const std::string& entry) {
    Mod mod{entry, {entry.substr(0, entry.size() - 4), "", "", "", ""}, {}, "", false};
    mod.Path = path;
    mod.Sheets.push_back({SheetKind::Ships, entry, {}, path});  // its kind is known once its header is read
    return mod;
}

// The sheet's rows, and its kind checked: a mod folder's sheet is of the kind its file name says, a lone sheet
// says by its header what it changes.
void ReadSheet(ModSheet& sheet, bool lone) {
    sheet.Rows = SheetRows(sheet.Path, sheet.File);
    const std::optional<SheetKind> kind = KindNamed(sheet.Rows);
    if (lone && !kind) {
        throw Exception(SheetPlace(sheet.File, 1, 1) +
                        "the header's first cell says what the sheet changes: ship, gun or missile");
    }
    if (lone) sheet.Kind = *kind;
    if (kind != sheet.Kind) {
        throw Exception(SheetPlace(sheet.File, 1, 1) + "its first line must be a header whose first cell is \"" +
                        KindWord(sheet.Kind) + "\", as \"export " + KindWord(sheet.Kind) + "s\" writes it");
    }
}

}  // namespace

const char* KindWord(SheetKind kind) {
    switch (kind) {
        case SheetKind::Ships:
            return "ship";
        case SheetKind::Guns:
            return "gun";
        case SheetKind::Missiles:
            return "missile";
    }
    return "";
}

std::string SheetFileName(SheetKind kind) { return std::string(KindWord(kind)) + "s.csv"; }

namespace {

// A mod that is read no further than its name: a link, a pipe or device, or a name no mod may have.
Mod Unreadable(const std::string& entry, const std::string& problem) {
    return Mod{entry, {entry, "", "", "", ""}, {}, problem, false};
}

}  // namespace

std::optional<Mod> ReadMod(const std::string& path, const std::string& entry, bool withSheets) {
    const EntryType type = EntryTypeAt(path);
    const bool file = type == EntryType::File || type == EntryType::Other;
    if (type == EntryType::Missing || (file && !EndsWithCsv(entry))) return std::nullopt;
    if (const std::string problem = EntryTypeProblem(type); !problem.empty()) {
        return Unreadable(entry, entry + " " + problem);
    }
    if (const std::string problem = ModNameProblem(entry); !problem.empty()) return Unreadable(entry, problem);
    std::optional<Mod> mod = type == EntryType::Folder ? ReadModFolder(path, entry) : ReadLoneSheet(path, entry);
    if (!mod || !mod->Problem.empty()) return mod;
    try {
        for (const ModSheet& sheet : mod->Sheets) mod->SheetBytes += SheetSize(sheet);
    } catch (const Exception& error) {
        mod->Problem = WithoutControls(error.Message());
        mod->Sheets.clear();
        return mod;
    }
    mod->SheetsUnread = true;
    if (withSheets) ReadModSheets(*mod);
    return mod;
}

void ReadModSheets(Mod& mod) {
    if (!mod.SheetsUnread) return;
    mod.SheetsUnread = false;
    try {
        for (ModSheet& sheet : mod.Sheets) ReadSheet(sheet, sheet.Path == mod.Path);
    } catch (const Exception& error) {
        mod.Problem = WithoutControls(error.Message());
        mod.Sheets.clear();
    }
}

Mod WithSheets(const Mod& mod) {
    Mod read = mod;
    ReadModSheets(read);
    return read;
}

std::vector<std::string> ModFilesIn(const std::string& folder) { return ModFilesOf(ListFolder(folder)); }

// The sheet was read through the sheet reader, which refused what makes it no sheet; blank rows are left out.
std::vector<SheetCell> FilledCells(const ModSheet& sheet) {
    if (sheet.Rows.empty()) throw Exception(sheet.File + " holds no header row");
    const std::vector<std::string>& header = sheet.Rows[0].Fields;
    std::vector<SheetCell> cells;
    for (std::size_t r = 1; r < sheet.Rows.size(); ++r) {
        const CsvRow& row = sheet.Rows[r];
        for (std::size_t column = 1; column < row.Fields.size() && column < header.size(); ++column) {
            if (row.Fields[column].empty()) continue;
            cells.push_back({row.Fields[0], header[column], row.Fields[column], row.Line, column + 1});
        }
    }
    return cells;
}

std::string SheetPlace(const std::string& file, std::size_t line, std::size_t column) {
    return file + ", line " + IntToStr(static_cast<std::int64_t>(line)) + ", column " +
           IntToStr(static_cast<std::int64_t>(column)) + ": ";
}

std::string ModFileText(const ModInfo& info) {
    // A comment first: a byte-order mark before it cannot hide the section from an INI reader that lacks the mark.
    return std::string("; Who made this mod, and for which game\r\n[") + kModSection + "]\r\nName=" + info.Name +
           "\r\nVersion=" + info.Version + "\r\nAuthor=" + info.Author + "\r\nDescription=" + info.Description +
           "\r\nGame=" + info.Game + "\r\n";
}

}  // namespace tovarin
