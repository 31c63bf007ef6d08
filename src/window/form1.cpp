#include "window/form1.h"

#include "gamefiles/errors.h"
#include "gamefiles/game_paths.h"
#include "ui/main_window_layout.h"
#include "window/fleet_rows.h"

namespace tovarin {

TForm1::TForm1(Platform& platform) : TForm(platform) {
    ApplyLayout(MainWindowLayout());

    SaveDialog1.Title = "Export Ship";
    SaveDialog1.Filter = "Vantorsk Ship (*.vks)|*.VKS";
    SaveDialog1.DefaultExt = "vks";
    SaveDialog1.OverwritePrompt = true;
    SaveDialog1.HideReadOnly = true;
    SaveDialog1.PathMustExist = true;

    OpenDialog1.Title = "Import Ship";
    OpenDialog1.Filter = "Vantorsk Ship (*.vks)|*.VKS";
    OpenDialog1.HideReadOnly = true;
    OpenDialog1.PathMustExist = true;
    OpenDialog1.FileMustExist = true;

    OpenDialog2.Title = "Add Mod";
    OpenDialog2.Filter = "Tovarin mod (mod.ini, *.csv)|mod.ini;*.csv";
    OpenDialog2.HideReadOnly = true;
    OpenDialog2.PathMustExist = true;
    SaveDialog2.Title = "Export Mod List";
    SaveDialog2.Filter = "Tovarin mod list (*.ini)|*.INI";
    SaveDialog2.DefaultExt = "ini";
    SaveDialog2.OverwritePrompt = true;
    SaveDialog2.HideReadOnly = true;
    SaveDialog2.PathMustExist = true;
    OpenDialog3.Title = "Import Mod List";
    OpenDialog3.Filter = "Tovarin mod list (*.ini)|*.INI";
    OpenDialog3.HideReadOnly = true;
    OpenDialog3.PathMustExist = true;
    OpenDialog2.FileMustExist = true;

    // The gun slots' Save writes the slot table back over the ship; it has nothing to write until the
    // "Add/Remove Guns" tab has read the ship's slots.
    Button14.SetEnabled(false);
    BindEvents();
    ShowUndoButtons();
}

TForm1::~TForm1() = default;

void TForm1::BindEvents() {
    // Leaving an item with unsaved changes asks first (window/unsaved_changes.cpp); Exit, Esc and the close box
    // all close the window through Close.
    OnCloseQuery = [this] { return MayLeaveEveryItem() && MayLeaveModsUnapplied(); };
    Exit.OnClick = [this] { ExitClick(); };
    Button1.OnClick = [this] {
        if (MayLeaveEveryItem()) Button1Click();  // the game reads the files: unsaved edits are asked about as on Exit
    };
    Undo.OnClick = [this] { UndoClick(); };
    Redo.OnClick = [this] { RedoClick(); };
    OnShortCut = [this](char key, bool shift) { return FormShortCut(key, shift); };
    History.OnChange = [this] { ShowUndoButtons(); };
    PageControl1.OnChange = [this] {
        if (MayChangePage()) PageControl1Change();
    };

    for (TEdit* box :
         {&Edit1,  &Edit2,  &Edit3,  &Edit4,  &Edit5,  &Edit6,  &Edit7,  &Edit8,  &Edit10, &Edit11, &Edit12, &Edit13,
          &Edit15, &Edit16, &Edit17, &Edit18, &Edit19, &Edit20, &Edit21, &Edit22, &Edit23, &Edit24, &Edit25, &Edit26,
          &Edit27, &Edit28, &Edit29, &Edit30, &Edit31, &Edit32, &Edit33, &Edit34, &Edit35, &Edit36, &Edit37, &Edit38,
          &Edit39, &Edit40, &Edit41, &Edit42, &Edit43, &Edit46, &Edit47, &Edit48, &Edit14, &Edit9,  &Edit49}) {
        box->OnExit = [this, box] { return Edit1Exit(*box); };
    }

    ComboBox1.OnChange = [this] {
        if (MayLeave(ComboBox1, {Editor::Ship})) ComboBox1Change();
    };
    Button2.OnClick = [this] { Button2Click(); };
    ListBox1.OnClick = [this] { ListBox1Click(); };
    Button3.OnClick = [this] { Button3Click(); };
    ListBox2.OnClick = [this] { ListBox2Click(); };
    Button4.OnClick = [this] { Button4Click(); };
    CheckBox2.OnClick = [this] { CheckBox2Click(); };
    Button11.OnClick = [this] { Button11Click(); };
    Button6.OnClick = [this] { Button6Click(); };
    Button5.OnClick = [this] { Button5Click(); };
    Button9.OnClick = [this] {
        if (MayRestoreDefaults()) Button9Click();
    };

    ComboBox6.OnChange = [this] {
        if (MayLeave(ComboBox6, {Editor::Ship, Editor::GunSlots})) ComboBox6Change();
    };
    Button13.OnClick = [this] { Button13Click(); };
    Button12.OnClick = [this] { Button12Click(); };
    Button14.OnClick = [this] { Button14Click(); };

    Button10.OnClick = [this] {
        if (MaySwap()) Button10Click();
    };

    ComboBox4.OnChange = [this] {
        if (MayLeave(ComboBox4, {Editor::Gun})) ComboBox4Change();
    };
    Button7.OnClick = [this] { Button7Click(); };

    ComboBox5.OnChange = [this] {
        if (MayLeave(ComboBox5, {Editor::Missile})) ComboBox5Change();
    };
    CheckBox3.OnClick = [this] { CheckBox3Click(); };
    Button8.OnClick = [this] { Button8Click(); };

    ListBox6.OnClick = [this] { ListBox6Click(); };
    CheckBox4.OnClick = [this] { CheckBox4Click(); };
    Button16.OnClick = [this] { Button16Click(); };
    Button17.OnClick = [this] { Button17Click(); };
    Button18.OnClick = [this] { Button18Click(); };
    Button19.OnClick = [this] { Button19Click(); };
    Button20.OnClick = [this] { Button20Click(); };
    Button21.OnClick = [this] { Button21Click(); };
    Button22.OnClick = [this] { Button22Click(); };

    ComboBox8.OnChange = [this] { ComboBox8Change(); };
    Edit50.OnChange = [this] { Edit50Change(); };
    CheckBox5.OnClick = [this] { CheckBox5Click(); };
    CheckBox6.OnClick = [this] { CheckBox6Click(); };
    ComboBox9.OnChange = [this] { ComboBox9Change(); };
    ComboBox10.OnChange = [this] { ComboBox10Change(); };
    Chart1.OnPick = [this](int item) { Chart1Pick(item); };
    Grid1.OnEditCommit = [this](std::size_t row, std::size_t column, const std::string& text) {
        return Grid1EditCommit(row, column, text);
    };
    Grid1.CanEditColumn = [this](std::size_t column) {
        return FleetRows && column >= FleetRows->Table().LeadingColumns();
    };
    Grid1.EditChoices = [this](std::size_t column) { return Grid1EditChoices(column); };
    Grid1.OnSelect = [this] { Grid1Select(); };
    Button23.OnClick = [this] { Button23Click(); };
    Button24.OnClick = [this] { Button24Click(); };
    Button25.OnClick = [this] { Button25Click(); };
    CheckBox7.OnClick = [this] { CheckBox7Click(); };

    Button15.OnClick = [this] {
        if (MayLeaveEveryItem()) Button15Click();
    };
}

void TForm1::ShowStatus(std::string text) { StatusLine.SetCaption(std::move(text)); }

std::string TForm1::InGameFolder(const std::string& path) const {
    return path.starts_with(GameFolder) ? path.substr(GameFolder.size()) : path;
}

std::string TForm1::ErrorText(const Exception& error) const { return Described(error, GameFolder); }

std::string TForm1::GameFile(std::string_view relativeName) const { return GamePath(GameFolder, relativeName); }

std::string TForm1::ShipPath() const { return GameFile("Ships\\" + Ship.ShipFile); }

}  // namespace tovarin
