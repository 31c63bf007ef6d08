#include <algorithm>
#include <cctype>

#include "app/form1.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/numbers.h"
#include "ui/platform.h"

namespace tovarin {

namespace {

// The catalogue that describes the installed edition: the expansion wins when both executables are present.
std::string ChooseCatalogue(const TForm1& form) {
    std::string name;
    if (FileExists(form.GameFile("ashfall.exe"))) name = "vskinfo.dat";
    if (FileExists(form.GameFile("nightwatch.exe"))) name = "nwinfo.dat";
    return name;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// A ship without an entry in the switch file could not be loaded: its key would be empty and the loader would
// look for the Ships folder itself. A fresh installation has no switch file at all, so every ship that lacks
// an entry gets its identity entry. When the switch file cannot be written, start-up goes on without them.
void AddMissingIdentityEntries(const TForm1& form, const std::vector<std::string>& ships) {
    std::vector<std::string> present;
    form.SwitchFile.ReadSection("swships", present);
    try {
        for (const std::string& ship : ships) {
            const bool listed = std::any_of(present.begin(), present.end(),
                                            [&](const std::string& key) { return SameTextIgnoringCase(key, ship); });
            if (!listed) {
                form.SwitchFile.WriteString("swships", ship, ship);
                present.push_back(ship);
            }
        }
    } catch (const EIniFileException&) {
        // The ships without an entry show as swapped with nothing; everything else works.
    }
}

enum class PatchState { NotListed, InPlace, NotInPlace, Unreadable };

// The archive's last listed byte tells whether the patch is in place: installation patches the listed bytes in
// order, so an installation that stopped part-way leaves the last one unmarked.
PatchState ProbePatch(const TForm1& form) {
    constexpr std::uint8_t kPatchMark = 65;  // "A"
    const std::int32_t count = form.Catalogue.ReadInteger("InstallData", "num", 0);
    const std::int32_t position = form.Catalogue.ReadInteger("InstallData", IntToStr(std::int64_t{count} - 1), 0);
    if (position == 0) return PatchState::NotListed;
    try {
        return ReadByteAt(form.GameFile("data.tre"), position) == kPatchMark ? PatchState::InPlace
                                                                             : PatchState::NotInPlace;
    } catch (const EInOutError&) {
        return PatchState::Unreadable;
    }
}

// Without the game's executable beside it the program has nothing to edit. The message names what is missing:
// the executable the catalogue names, the catalogue itself, or, with no game at all, the base game's executable.
void RequireGame(TForm1& form, const std::string& catalogue) {
    form.GameExe = form.Catalogue.ReadString("Info", "Run", "");
    if (!form.GameExe.empty() && FileExists(form.GameFile(form.GameExe))) return;
    std::string missing = form.GameExe;
    if (catalogue.empty()) {
        missing = "ashfall.exe";
    } else if (!FileExists(form.GameFile(catalogue))) {
        missing = catalogue;
    }
    form.GetPlatform().ShowMessage(missing +
                                   " not found. You have to install Tovarin into the folder where VSK is installed!");
    form.GetPlatform().Halt(0);
}

void Fill(TItemList& list, const std::vector<std::string>& items) {
    list.Clear();
    list.Items() = items;
}

// Every list holds the catalogue's key names in catalogue order, so one index means one item everywhere.
void FillLists(TForm1& form) {
    std::vector<std::string> ships;
    form.Catalogue.ReadSection("ships", ships);
    AddMissingIdentityEntries(form, ships);
    Fill(form.ComboBox1, ships);
    Fill(form.ComboBox6, ships);
    form.BuildSwitcherLists();
    form.ListBox4.SetItemIndex(0);
    form.ListBox5.SetItemIndex(1);

    std::vector<std::string> guns;
    form.Catalogue.ReadSection("Guns", guns);
    for (TComboBox* list : {&form.ComboBox2, &form.ComboBox4}) Fill(*list, guns);
    std::vector<std::string> missiles;
    form.Catalogue.ReadSection("Missiles", missiles);
    for (TComboBox* list : {&form.ComboBox3, &form.ComboBox5, &form.ComboBox7}) Fill(*list, missiles);
}

void LoadFirstItems(TForm1& form) {
    for (TComboBox* list : {&form.ComboBox1, &form.ComboBox6, &form.ComboBox4, &form.ComboBox5}) {
        list->SetItemIndex(0);
    }
    form.ComboBox1Change();
    form.ComboBox4Change();
    form.ComboBox5Change();
}

// "Tovarin.exe /u" restores the archive and does nothing else.
void RemovePatchWhenAsked(TForm1& form) {
    const std::vector<std::string> arguments = form.GetPlatform().Arguments();
    if (arguments.empty() || arguments.front() != "/u") return;
    form.RemovePatch();
    form.GetPlatform().Halt(0);
}

// An archive that cannot be read where the patch belongs is patched without asking; the installation
// reports what went wrong and ends the program when it fails.
void OfferPatch(TForm1& form) {
    switch (ProbePatch(form)) {
        case PatchState::Unreadable:
            form.InstallPatch();
            break;
        case PatchState::NotInPlace:
            if (!form.GetPlatform().AskYesNo("Install Tovarin for " + form.Catalogue.ReadString("Info", "VK", "") +
                                             "?")) {
                form.GetPlatform().Halt(0);
            }
            form.InstallPatch();
            break;
        case PatchState::InPlace:
        case PatchState::NotListed:
            break;
    }
}

}  // namespace

void TForm1::FormCreate() {
    GameFolder = GetPlatform().ExeFolder();
    const std::string catalogue = ChooseCatalogue(*this);
    Catalogue = TIniFile(GameFile(catalogue));
    SwitchFile = TIniFile(GameFile("Ships\\switch.dat"));
    RequireGame(*this, catalogue);
    FillLists(*this);
    LoadFirstItems(*this);
    RemovePatchWhenAsked(*this);
    OfferPatch(*this);
    Label39.SetCaption("for " + Catalogue.ReadString("Info", "VK", ""));
}

void TForm1::FormDestroy() { Catalogue = TIniFile(); }

void TForm1::ExitClick() { Close(); }

// Starts the game without waiting for it. The path is quoted so that a game folder with blanks starts the
// game's own executable and nothing else; it is passed whole, however long.
void TForm1::Button1Click() {
    constexpr int kShowDefault = 10;  // SW_SHOWDEFAULT
    std::string commandLine = "\"";
    commandLine += GameFile(GameExe);
    commandLine += '"';
    GetPlatform().WinExec(commandLine, kShowDefault);
}

// Opening "Add/Remove Guns" starts from the ship chosen on the Ships tab, freshly loaded from its file.
void TForm1::PageControl1Change() {
    constexpr int kGunSlotPage = 1;
    if (PageControl1.ActivePageIndex() != kGunSlotPage) return;
    ComboBox6.SetItemIndex(ComboBox1.ItemIndex());
    ComboBox6Change();
}

}  // namespace tovarin
