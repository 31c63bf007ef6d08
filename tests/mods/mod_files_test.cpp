// Mods as players unpack them and edit their load order, and how mods meet: by value, never by file.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gamefiles/errors.h"
#include "mods/load_order.h"
#include "mods/mod_cells.h"
#include "mods/mod_folder.h"
#include "sheets/names_meant.h"
#include "sheets/refusal.h"
#include "testkit/odd_files.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

namespace tovarin {
namespace {

using testkit::MakeLink;
using testkit::MakePipe;
using testkit::TempFolder;
using testkit::WriteTextFile;

void WriteMod(const std::filesystem::path& folder, const std::vector<std::pair<std::string, std::string>>& files) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, text] : files) WriteTextFile(folder / name, text);
}

// A text as Excel's "Unicode text" saves it: UTF-16 with its mark.
std::string Utf16(const std::string& bytes) {
    std::string text = "\xFF\xFE";
    for (const char c : bytes) text += {c, '\0'};
    return text;
}

// The message of what the call throws as Error; a call that throws nothing fails the test.
template <typename Error, typename Call>
std::string RefusalOf(Call call) {
    try {
        call();
    } catch (const Error& refusal) {
        return refusal.what();
    }
    ADD_FAILURE() << "nothing was refused";
    return "";
}

std::vector<std::string> Listed(const std::vector<Mod>& mods) {
    std::vector<std::string> lines;
    for (const Mod& mod : mods)
        lines.push_back(mod.Entry + (mod.On ? " on" : " off") + (mod.Missing ? " missing" : ""));
    return lines;
}

// A person's edit of the load order is read as Windows reads an INI file; mods it does not list come last and
// off, entries whose mod is gone stay as missing, and the program's own text reads back as written.
TEST(LoadOrder, ListsEveryModInTheFilesOrderAndTheRestLastSwitchedOff) {
    TempFolder folder;
    const std::filesystem::path mods = folder.Path() / kModsFolderName;
    WriteMod(mods / "Heavy Metal", {{"mod.ini", "[Mod]\r\nName=Heavy Metal\r\n"}});
    WriteMod(mods / "Faster Fighters", {{"Ships.CSV", "ship,speedmax\r\nKestrel,640\r\n"}});
    WriteMod(mods / "readme only", {{"readme.txt", "not a mod"}});
    WriteTextFile(mods / "gun pack.csv", "gun,damage\r\nPulse Laser,41\r\n");
    WriteTextFile(mods / "notes.txt", "not a mod either");
    WriteTextFile(mods / kLoadOrderFileName,
                  "; mine\n[Load order]\nfaster fighters = ON\nGo\x1bne=on\nheavy metal=off\nFaster Fighters=off\n");
    std::vector<Mod> found = InstalledMods(mods.string());
    EXPECT_EQ(Listed(found), (std::vector<std::string>{"Faster Fighters on", "Go\x1bne on missing", "Heavy Metal off",
                                                       "gun pack.csv off"}));
    const std::string refusal = RefusalOf<Exception>([&] { RefuseMissingMods(found); });
    EXPECT_NE(refusal.find(": Go\\x1bne. Nothing"), std::string::npos) << refusal;
    EXPECT_EQ(found[1].Problem.find('\x1b'), std::string::npos);

    found[2].On = true;
    WriteLoadOrder(mods.string(), found);
    EXPECT_EQ(
        Listed(InstalledMods(mods.string())),
        (std::vector<std::string>{"Faster Fighters on", "Go\x1bne on missing", "Heavy Metal on", "gun pack.csv off"}));
    found.erase(found.begin() + 1);
    RefuseMissingMods(found);

    EXPECT_EQ(found[ModNamed(found, "HEAVY METAL")].Entry, "Heavy Metal");
    EXPECT_EQ(found[ModNamed(found, "gun pack")].Entry, "gun pack.csv");
    EXPECT_EQ(found[ModNamed(found, "gun pack.csv")].Entry, "gun pack.csv");
    EXPECT_THROW((void)ModNamed(found, "Gone"), Exception);
}

// Names match in any letter case of the Latin, Greek and Cyrillic alphabets, whichever encoding each is in; two
// mods of one name are told apart by their folders, in every list and when named.
TEST(ModNames, MatchInAnyCaseAndSameNamesShowTheirFolders) {
    const struct {
        std::string A, B;
        bool Same;
    } rows[] = {
        {"vitesse élevée", "Vitesse Élevée", true},
        {"VITESSE \xC9"
         "LEV\xC9"
         "E",
         "vitesse élevée", true},  // Windows-1252 against UTF-8
        {"скорость", "СКОРОСТЬ", true},
        {"Ёлка", "ёлка", true},
        {"ταχύτητα", "ΤΑΧΎΤΗΤΑ", true},
        {"straße", "STRASSE", true},
        {"Łódź", "łÓDŹ", true},
        {"vitesse elevee", "vitesse élevée", false},
        {"скорость", "скорост", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.A + " / " + row.B);
        EXPECT_EQ(SameModName(row.A, row.B), row.Same);
    }
    std::vector<Mod> mods;
    for (const auto& [entry, name] : {std::pair{"speed-a", "Speed"}, {"speed-b", "SPEED"}, {"other", "Other"}}) {
        mods.emplace_back().Entry = entry;
        mods.back().Info.Name = name;
    }
    EXPECT_EQ(ShownModName(mods, 0), "Speed (speed-a)");
    EXPECT_EQ(ShownModName(mods, 2), "Other");
    EXPECT_EQ(ModNamed(mods, "Speed-B"), 1U);
    const std::string twoNamed = RefusalOf<Exception>([&] { (void)ModNamed(mods, "speed"); });
    EXPECT_NE(twoNamed.find("Speed (speed-a), SPEED (speed-b)"), std::string::npos) << twoNamed;
}

// What a mod is: a folder with mod.ini or a sheet of its kind's name, or a lone sheet that says by its first header
// cell what it changes. A sheet that cannot be read is the mod's problem, not a failure of the listing.
TEST(ModFolder, ReadsModsAndLoneSheetsAndNamesWhatCannotBeRead) {
    TempFolder folder;
    const std::filesystem::path root = folder.Path();
    // A sheet in Excel's "Unicode text" (UTF-16 with its mark, tab-separated) reads as a plain one.
    WriteMod(root / "balance", {{"MOD.INI", "[Mod]\r\nName=Balance\r\nVersion=2.1\r\nGame=Nightwatch\r\n"},
                                {"missiles.csv", Utf16("missile\tspeed\r\nDart\t900\r\n")},
                                {"guns.csv", "Gun;damage\r\nPulse Laser;41\r\n"}});
    WriteMod(root / "old", {{"guns.csv", "name,damage\r\nPulse Laser,41\r\n"}});
    WriteTextFile(root / "loose.csv", "name,damage\r\nPulse Laser,41\r\n");
    const auto read = [&](const std::string& entry) { return ReadMod((root / entry).string(), entry); };

    const std::optional<Mod> balance = read("balance");
    ASSERT_TRUE(balance);
    EXPECT_EQ(balance->Info.Name, "Balance");
    ASSERT_EQ(balance->Sheets.size(), 2u);
    EXPECT_EQ(balance->Sheets[0].Kind, SheetKind::Guns);
    EXPECT_EQ(balance->Sheets[1].Kind, SheetKind::Missiles);
    EXPECT_EQ(balance->Sheets[1].Rows.at(1).Fields, (std::vector<std::string>{"Dart", "900"}));
    EXPECT_EQ(balance->Problem, "");
    EXPECT_EQ(read("old")->Problem,
              "old\\guns.csv, line 1, column 1: its first line must be a header whose first cell is \"gun\", as "
              "\"export guns\" writes it");

    const std::optional<Mod> loose = read("loose.csv");
    ASSERT_TRUE(loose);
    EXPECT_EQ(loose->Problem,
              "loose.csv, line 1, column 1: the header's first cell says what the sheet changes: ship, gun or missile");
    EXPECT_FALSE(read("missing"));
}

// A sheet's filled cells as import reads them: blank rows and empty cells say nothing.
TEST(ModFolder, SheetsGiveTheirFilledCells) {
    const std::vector<SheetCell> cells = FilledCells(
        ModSheet{SheetKind::Ships, "m\\ships.csv", ReadCsv("ship,speedmax,hp\r\n\r\nKestrel,,5\r\nWarden,7\r\n")});
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].Item + " " + cells[0].Key + " " + cells[0].Text, "Kestrel hp 5");
    EXPECT_EQ(cells[0].Line, 3u);
    EXPECT_EQ(cells[0].Column, 3u);
    EXPECT_EQ(cells[1].Item + " " + cells[1].Key + " " + cells[1].Text, "Warden speedmax 7");
}

// Mods as strangers hand them out: each refused naming its file, read no further, and never followed out of its
// folder nor waited on.
TEST(ModFolder, HostileModsAreRefusedNamingTheFile) {
    const std::string cut = "ship,speedmin,speednor,speedmax\r\nKestrel,66,308,600\r\nMarauder,66,30";
    struct Row {
        std::string Entry;  // the mod's folder
        std::string File, Text;
        std::string Problem;  // the start of the mod's problem
    };
    for (const Row& row : std::vector<Row>{
             {"m", "ships.csv", "", "m\\ships.csv holds no header row"},
             {"m", "ships.csv", "ship,hp,hp\r\n", "m\\ships.csv, line 1, column 3: key hp twice"},
             {"m", "ships.csv", "ship,,speedmax\r\nKestrel,1,2\r\n",
              "m\\ships.csv, line 1, column 2: the header names no key for this column"},
             {"m", "ships.csv", "ship,hp\r\nKestrel,1,2\r\n",
              "m\\ships.csv, line 2, column 3: more cells than the header row names"},
             {"m", "ships.csv", "ship,hp\r\nKestrel,1\r\nKestrel,2\r\n",
              "m\\ships.csv, line 3, column 1: Kestrel is named twice"},
             {"m", "ships.csv", cut, "m\\ships.csv, line 3, column 3: the sheet ends inside this row"},
             {"m", "mod.ini", "[Other]\r\nName=x\r\n", "m\\mod.ini has no [Mod] section"},
             {"m", "mod.ini", std::string("[Mod]\r\nName=x\0y\r\n", 17), "m\\mod.ini is not a mod.ini"},
             {"m", "mod.ini",
              "[Mod]\r\nName=x\r\n\x7f"
              "ELF\x02\x01\r\n",
              "m\\mod.ini is not a mod.ini"},
             {"m", "ships.csv", "@link", "m\\ships.csv is a link"},
             {"m", "mod.ini", "@fifo", "m\\mod.ini is no regular file"},
             {"m", "ships.csv", "@huge", "m\\ships.csv holds 34603008 bytes, more than"},
             {"CON", "ships.csv", "ship,hp\r\n", "\"CON\" cannot name a folder on Windows"},
             {"lpt9.old", "ships.csv", "ship,hp\r\n", "\"lpt9.old\" cannot name a folder on Windows"},
             {" m", "ships.csv", "ship,hp\r\n", "\" m\" cannot name a folder on Windows: leave out the blank"},
             {"a\x1b[2Jb", "ships.csv", "ship,hp\r\n", "a mod's name cannot hold a line break"}}) {
        SCOPED_TRACE(row.Problem);
        TempFolder folder;
        const std::filesystem::path mod = folder.Path() / row.Entry;
        std::error_code unmade;  // a name this system cannot hold: only the others check it
        if (!std::filesystem::create_directories(mod, unmade)) continue;
        const std::filesystem::path path = mod / row.File;
        bool made = true;
        if (row.Text == "@link") {
            WriteTextFile(folder.Path() / "outside.csv", "ship,hp\r\nKestrel,1\r\n");
            made = MakeLink(folder.Path() / "outside.csv", path);
        } else if (row.Text == "@fifo") {
            made = MakePipe(path);
        } else {
            WriteTextFile(path, row.Text == "@huge" ? "ship,hp\r\n" : row.Text);
            if (row.Text == "@huge") std::filesystem::resize_file(path, 33u << 20);  // sparse: nothing is written
        }
        if (!made) continue;
        const std::optional<Mod> read = ReadMod(mod.string(), row.Entry);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->Problem.rfind(row.Problem, 0), 0u) << read->Problem;
        EXPECT_TRUE(read->Sheets.empty());
    }
}

// mod.ini as other editors save it: a byte-order mark, UTF-16, Windows-1252, any line ends; control characters
// in its texts shown escaped.
TEST(ModFolder, ModIniIsReadInEveryEncodingASheetIs) {
    for (const auto& [text, name] : std::vector<std::pair<std::string, std::string>>{
             {"\xEF\xBB\xBF[Mod]\nName=L\xC3\xA9g\xC3\xA8re\nGame=Nightwatch\n", "L\xE9g\xE8re"},
             {Utf16("[Mod]\r\nName=L\xE9g\xE8re\rGame=Nightwatch\n"), "L\xE9g\xE8re"},
             {"[mod]\rName=L\xE9g\xE8re\rGame=Nightwatch\r", "L\xE9g\xE8re"},
             {"[Mod]\r\nName=\x1b[31mRed\r\nGame=Nightwatch\r\n", "\\x1b[31mRed"}}) {
        SCOPED_TRACE(name);
        TempFolder folder;
        WriteMod(folder.Path() / "m", {{"mod.ini", text}});
        const std::optional<Mod> read = ReadMod((folder.Path() / "m").string(), "m");
        EXPECT_EQ(read->Problem, "");
        EXPECT_EQ(read->Info.Name, name);
        EXPECT_EQ(read->Info.Game, "Nightwatch");
    }
}

// The ships a mod's rows name are found through an index of the catalogue's names, as a typed name is: the exact
// spelling first, else the same name in any case and alphabet; one that means two names is refused naming both.
TEST(ModSheetNames, TheIndexFindsEachNameAsTheCatalogueMeansIt) {
    const NamesIndex index({"Kestrel", "Сокол", "СОКОЛ", "Warden", "Warden", "Straße"});
    const std::vector<std::string> names{"Kestrel", "kESTREL", "Сокол",    "СОКОЛ",
                                         "Warden",  "STRASSE", "Kestrel ", "Hawk"};
    const std::vector<std::optional<std::size_t>> places{0, 0, 1, 2, 3, 5, std::nullopt, std::nullopt};
    for (std::size_t row = 0; row < names.size(); ++row) {
        SCOPED_TRACE(names[row]);
        EXPECT_EQ(index.Find(names[row], "ship"), places[row]);
    }
    EXPECT_EQ(RefusalOf<Refusal>([&] { (void)index.Find("сокол", "ship"); }),
              "сокол names more than one ship: Сокол and СОКОЛ; write it as the catalogue does");
}

}  // namespace
}  // namespace tovarin
