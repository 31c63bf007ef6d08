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
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
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

void SelectFirst(TComboBox& list) { list.SetItemIndex(0); }

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

}  // namespace

void TForm1::FormCreate() {
    Platform& platform = GetPlatform();
    GameFolder = platform.ExeFolder();

    Catalogue = TIniFile(GameFile(ChooseCatalogue(*this)));
    SwitchFile = TIniFile(GameFile("Ships\\switch.dat"));

    GameExe = Catalogue.ReadString("Info", "Run", "");
    if (GameExe.empty() || !FileExists(GameFile(GameExe))) {
        platform.ShowMessage(GameExe + " not found. You have to install Tovarin into the folder where VSK is installed!");
        platform.Halt(0);
    }

    std::vector<std::string> ships;
    Catalogue.ReadSection("ships", ships);
    AddMissingIdentityEntries(*this, ships);
    ComboBox1.Clear();
    ComboBox1.Items() = ships;
    ComboBox6.Clear();
    ComboBox6.Items() = ships;
    BuildSwitcherLists();
    ListBox4.SetItemIndex(0);
    ListBox5.SetItemIndex(1);

    std::vector<std::string> guns;
    std::vector<std::string> missiles;
    Catalogue.ReadSection("Guns", guns);
    Catalogue.ReadSection("Missiles", missiles);
    for (TComboBox* list : {&ComboBox2, &ComboBox4}) {
        list->Clear();
        list->Items() = guns;
    }
    for (TComboBox* list : {&ComboBox3, &ComboBox5, &ComboBox7}) {
        list->Clear();
        list->Items() = missiles;
    }

    for (TComboBox* list : {&ComboBox1, &ComboBox6, &ComboBox4, &ComboBox5}) SelectFirst(*list);
    ComboBox1Change();
    ComboBox4Change();
    ComboBox5Change();

    // "Tovarin.exe /u" restores the archive and does nothing else.
    const std::vector<std::string> arguments = platform.Arguments();
    if (!arguments.empty() && arguments.front() == "/u") {
        RemovePatch();
        platform.Halt(0);
    }

    // An archive that cannot be read where the patch belongs is patched without asking; the installation
    // reports what went wrong and ends the program when it fails.
    switch (ProbePatch(*this)) {
        case PatchState::Unreadable:
            InstallPatch();
            break;
        case PatchState::NotInPlace:
            if (!platform.AskYesNo("Install Tovarin for " + Catalogue.ReadString("Info", "VK", "") + "?")) {
                platform.Halt(0);
            }
            InstallPatch();
            break;
        case PatchState::InPlace:
        case PatchState::NotListed:
            break;
    }

    Label39.SetCaption("for " + Catalogue.ReadString("Info", "VK", ""));
}

void TForm1::FormDestroy() { Catalogue = TIniFile(); }

void TForm1::ExitClick() { Close(); }

// Starts the game without waiting for it. The path is quoted so that a game folder with blanks starts the
// game's own executable and nothing else; it is passed whole, however long.
void TForm1::Button1Click() {
    constexpr int kShowDefault = 10;  // SW_SHOWDEFAULT
    GetPlatform().WinExec("\"" + GameFile(GameExe) + "\"", kShowDefault);
}

// Opening "Add/Remove Guns" starts from the ship chosen on the Ships tab, freshly loaded from its file.
void TForm1::PageControl1Change() {
    constexpr int kGunSlotPage = 1;
    if (PageControl1.ActivePageIndex() != kGunSlotPage) return;
    ComboBox6.SetItemIndex(ComboBox1.ItemIndex());
    ComboBox6Change();
}

}  // namespace tovarin
