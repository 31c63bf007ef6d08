#include <filesystem>
#include <fstream>

#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/system_paths.h"
#include "installation/archive_patch.h"
#include "installation/installation.h"
#include "ui/platform.h"
#include "window/form1.h"

namespace tovarin {

namespace {

std::string GameMissingMessage(const std::string& missingFile) {
    return missingFile + " not found. You have to install Tovarin into the folder where VSK is installed!";
}

// What the player is told when the game cannot be edited here. The catalogue comes apart from the program, so one
// that is missing, or names no game, is a matter of getting the right one; anything else means the wrong folder.
std::string WhyNotHere(const Installation& installation, const std::string& gameExe, const std::string& missing) {
    const std::string catalogue = ChooseCatalogue(installation.GameFolder);
    const std::string whereToGetOne = "README.txt in Tovarin's package says where to get ";
    if (catalogue.empty()) return GameMissingMessage(missing);  // neither game is here
    if (missing == catalogue) {
        const std::string game = catalogue == "nwinfo.dat" ? "nightwatch.exe" : "ashfall.exe";
        return missing + " not found: Tovarin needs this catalogue of the game beside " + game + ". " + whereToGetOne +
               "it.";
    }
    if (gameExe.empty()) {
        return catalogue + " names no game executable (the key Run in its section Info): it is no catalogue of this " +
               "game. " + whereToGetOne + "one.";
    }
    return GameMissingMessage(missing);
}

// A change of several files that did not finish when Tovarin last ran (a crash, a failing disk) is put back before
// any file is read, so that every tab shows the files whole. One that cannot be put back is said; its files are then
// refused to every save until a start that can.
// It runs holding the folder's lock: the record of a change that another Tovarin is still making is not put back, and
// the window then says that a change is running.
void PutBackUnfinishedChange(TForm1& form) {
    try {
        const GameFolderLock lock(form.GameFolder);
        if (const auto putBack = RecoverUnfinishedChange(form.GameFolder))
            form.GetPlatform().ShowMessage(*putBack + ".");
    } catch (const Exception& failure) {
        form.GetPlatform().ShowError(form.ErrorText(failure) + ".");
    }
}

// Without the game beside it the program has nothing to edit; the message names the file that is missing.
void RequireGame(TForm1& form, const Installation& installation) {
    form.GameExe = GameExecutable(form.Catalogue);
    const std::string missing = MissingGameFile(installation, form.GameExe);
    if (missing.empty()) return;
    form.GetPlatform().ShowMessage(WhyNotHere(installation, form.GameExe, missing));
    form.GetPlatform().Halt(0);
}

// The switch file tells which ship's file stands behind each name. One that is there but cannot be read (a folder
// in its place) would make every ship look unlisted, and the first load would name the Ships folder as missing.
void RequireReadableSwitchFile(TForm1& form) {
    const std::string& path = form.SwitchFile.FileName();
    std::error_code error;
    if (!std::filesystem::exists(SystemPath(path), error)) return;
    if (!std::filesystem::is_directory(SystemPath(path), error) && std::ifstream(SystemPath(path)).is_open()) return;
    form.GetPlatform().ShowMessage("Couldn't read file " + path +
                                   "\n\rPlease consult readme.txt on how to install Tovarin");
    form.GetPlatform().Halt(0);
}

void Fill(TItemList& list, const std::vector<std::string>& items) {
    list.Clear();
    list.Items() = items;
}

// Every list holds the catalogue's key names in catalogue order, so one index means one item everywhere.
void FillLists(TForm1& form) {
    const std::vector<std::string> ships = CatalogueShips(form.Catalogue);
    AddMissingIdentityEntries(form.SwitchFile, ships);
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

// Each tab's first load stands on its own: a ship that cannot be loaded shows its error and leaves the weapon tabs,
// and the start-up steps after them, to go on.
void LoadFirstItems(TForm1& form) {
    for (TComboBox* list : {&form.ComboBox1, &form.ComboBox6, &form.ComboBox4, &form.ComboBox5}) {
        list->SetItemIndex(0);
    }
    form.Dispatch([&form] { form.ComboBox1Change(); });
    form.Dispatch([&form] { form.ComboBox4Change(); });
    form.Dispatch([&form] { form.ComboBox5Change(); });
}

// Shows an archive patch run's messages; a failed run ends the program, a successful one lets start-up go on.
void Show(Platform& platform, const PatchReport& report) {
    for (const std::string& message : report.Messages) platform.ShowMessage(message);
    if (!report.Succeeded) platform.Halt(0);
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
    switch (ProbePatch(form.GameFolder, form.Catalogue)) {
        case PatchState::Unreadable:
            form.InstallPatch();
            break;
        case PatchState::NotInPlace:
            if (!form.GetPlatform().AskYesNo(InstallQuestion(form.Catalogue.ReadString("Info", "VK", "")))) {
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

std::string InstallQuestion(const std::string& game) {
    return "Install Tovarin for " + game +
           "?\n\nInstalling changes a few bytes of data.tre and records their originals in uninstall.dat; "
           "\"Tovarin.exe /u\" puts them back. Tovarin does not run without it: No ends Tovarin.";
}

void TForm1::FormCreate() {
    const Installation installation = OpenInstallation(GetPlatform().ExeFolder());
    GameFolder = installation.GameFolder;
    Catalogue = installation.Catalogue;
    SwitchFile = installation.SwitchFile;
    GuardGameFolder(GameFolder);
    PutBackUnfinishedChange(*this);
    RequireGame(*this, installation);
    RequireReadableSwitchFile(*this);
    KeepOriginals(GameFolder, Catalogue);  // before the first write: the identity entries
    FillLists(*this);
    LoadFirstItems(*this);
    RemovePatchWhenAsked(*this);
    OfferPatch(*this);
    Label39.SetCaption("for " + Catalogue.ReadString("Info", "VK", ""));
}

void TForm1::FormDestroy() {
    GuardGameFolder("");
    StopKeepingOriginals();
    Catalogue = TIniFile();
}

void TForm1::ExitClick() { Close(); }

// Starts the game without waiting for it. The path is quoted so that a game folder with blanks starts the
// game's own executable and nothing else; it is passed whole, however long. A game that cannot be started (missing,
// damaged, not a program) is reported with the system's reason.
void TForm1::Button1Click() {
    constexpr int kShowDefault = 10;  // SW_SHOWDEFAULT
    std::string commandLine = "\"";
    commandLine += GameFile(GameExe);
    commandLine += '"';
    const int error = GetPlatform().WinExec(commandLine, kShowDefault);
    if (error != 0) {
        GetPlatform().ShowMessage("The game could not be started: " + GameExe + ": " +
                                  GetPlatform().ErrorCodeText(error) + ".");
    }
}

// Opening "Add/Remove Guns" starts from the ship chosen on the Ships tab, freshly loaded from its file.
void TForm1::PageControl1Change() {
    constexpr int kGunSlotPage = 1;
    constexpr int kModsPage = 5;
    // The mods folder and the fleet are read again each time their page is shown: another tab, or a person with
    // another program, may have changed them meanwhile.
    if (PageControl1.ActivePageIndex() == kModsPage) ShowMods();
    if (PageControl1.ActivePageIndex() == kFleetPage) ShowFleet();
    if (PageControl1.ActivePageIndex() != kGunSlotPage) return;
    ComboBox6.SetItemIndex(ComboBox1.ItemIndex());
    ComboBox6Change();
}

// The archive patch, installed at start-up or removed by "/u".
void TForm1::InstallPatch() {
    Platform& platform = GetPlatform();
    Show(platform, InstallArchivePatch(GameFolder, Catalogue, [&](int code) { return platform.ErrorCodeText(code); }));
}

void TForm1::RemovePatch() {
    Platform& platform = GetPlatform();
    Show(platform, RemoveArchivePatch(GameFolder, [&](int code) { return platform.ErrorCodeText(code); }));
}

}  // namespace tovarin
