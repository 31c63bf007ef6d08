#include "fuzz/kept_window.h"

#include <fstream>
#include <optional>

#include "gamefiles/errors.h"
#include "gamefiles/folder_lock.h"
#include "installation/installation.h"
#include "window/booster_dialog.h"
#include "window/fleet_rows.h"

namespace tovarin::fuzz {

namespace {

bool originalsKept = false;  // the hook a kept window's start set is in place: no window ended since

// One control as noted, with its kind found once. What differs is put back as a new copy, so that the window holds
// as many allocations after every input: libFuzzer runs an input a second time, under the leak checker, when it
// allocated more than it freed.
struct ControlState {
    TControl* Control = nullptr;
    TEdit* Edit = nullptr;
    TMemo* Memo = nullptr;
    TCheckBox* Box = nullptr;
    TItemList* List = nullptr;
    TComboBox* Combo = nullptr;
    TPageControl* Pages = nullptr;
    TFileDialog* Dialog = nullptr;
    bool Visible = true;
    bool Enabled = true;
    std::string Caption;
    std::string Text;  // an edit box's, with what it holds as checked and whether the player typed since
    std::string CheckedText;
    bool Typed = false;
    bool AllSelected = false;
    bool ReadOnly = false;
    std::vector<std::string> Lines;  // a memo's lines or a list's items
    int Index = -1;                  // a list's selection, a page control's page
    bool Checked = false;
    std::vector<std::string> DialogTexts;  // a file dialog's fields
    std::vector<bool> DialogFlags;
};

template <typename Event, typename Set>
void Quietly(Event& event, Set set) {  // puts a value back without firing the control's event
    Event kept = std::move(event);
    event = nullptr;
    set();
    event = std::move(kept);
}

template <typename T>
void Fresh(T& value, const T& noted) {
    if (value != noted) value = T(noted);
}

std::vector<std::string*> TextsOf(TFileDialog& dialog) {
    return {&dialog.Title, &dialog.Filter, &dialog.DefaultExt, &dialog.InitialDir, &dialog.FileName};
}

std::vector<bool*> FlagsOf(TFileDialog& dialog) {
    return {&dialog.OverwritePrompt, &dialog.PathMustExist, &dialog.FileMustExist, &dialog.HideReadOnly};
}

ControlState Note(TControl& control) {
    ControlState state;
    state.Control = &control;
    state.Visible = control.Visible();
    state.Enabled = control.Enabled();
    state.Caption = control.Caption();
    if ((state.Edit = dynamic_cast<TEdit*>(&control)) != nullptr) {
        state.Text = state.Edit->Text();
        state.CheckedText = state.Edit->CheckedText();
        state.Typed = state.Edit->CanUndo();
        state.AllSelected = state.Edit->AllSelected();
        state.ReadOnly = state.Edit->ReadOnly();
    } else if ((state.Memo = dynamic_cast<TMemo*>(&control)) != nullptr) {
        state.Lines = state.Memo->Lines();
    } else if ((state.Box = dynamic_cast<TCheckBox*>(&control)) != nullptr) {
        state.Checked = state.Box->Checked();
    } else if ((state.List = dynamic_cast<TItemList*>(&control)) != nullptr) {
        state.Combo = dynamic_cast<TComboBox*>(&control);
        state.Lines = state.List->Items();
        state.Index = state.List->ItemIndex();
    } else if ((state.Pages = dynamic_cast<TPageControl*>(&control)) != nullptr) {
        state.Index = state.Pages->ActivePageIndex();
    } else if ((state.Dialog = dynamic_cast<TFileDialog*>(&control)) != nullptr) {
        for (const std::string* text : TextsOf(*state.Dialog)) state.DialogTexts.push_back(*text);
        for (const bool* flag : FlagsOf(*state.Dialog)) state.DialogFlags.push_back(*flag);
    }
    return state;
}

void PutBack(const ControlState& state) {
    TControl& control = *state.Control;
    control.SetVisible(state.Visible);
    control.SetEnabled(state.Enabled);
    if (control.Caption() != state.Caption) control.SetCaption(std::string(state.Caption));
    if (TEdit* edit = state.Edit) {
        if (edit->Text() != state.Text || edit->CheckedText() != state.CheckedText || edit->CanUndo() != state.Typed ||
            edit->AllSelected() != state.AllSelected) {
            Quietly(edit->OnChange, [&] {
                edit->SetText(std::string(state.CheckedText));
                if (state.Typed) edit->TypeText(std::string(state.Text));
            });
            if (state.AllSelected) edit->SelectAll();
        }
        edit->SetReadOnly(state.ReadOnly);
    } else if (state.Memo != nullptr) {
        Fresh(state.Memo->Lines(), state.Lines);
    } else if (TCheckBox* box = state.Box) {
        Quietly(box->OnClick, [&] { box->SetChecked(state.Checked); });
    } else if (TItemList* list = state.List) {
        if (state.Combo != nullptr && state.Combo->DroppedDown()) state.Combo->CloseUp(true);
        Fresh(list->Items(), state.Lines);
        list->SetItemIndex(state.Index);
    } else if (state.Pages != nullptr) {
        state.Pages->SetActivePageIndex(state.Index);
    } else if (state.Dialog != nullptr) {
        const std::vector<std::string*> texts = TextsOf(*state.Dialog);
        for (std::size_t i = 0; i < texts.size(); ++i) Fresh(*texts[i], state.DialogTexts[i]);
        const std::vector<bool*> flags = FlagsOf(*state.Dialog);
        for (std::size_t i = 0; i < flags.size(); ++i) *flags[i] = state.DialogFlags[i];
    }
}

// A form: its controls, its focus, its caption.
struct FormState {
    std::vector<ControlState> Controls;
    TControl* Focused = nullptr;
    std::string Caption;
};

FormState Note(TForm& form) {
    FormState state;
    state.Focused = form.Focused();
    state.Caption = form.TForm::Caption();
    for (TControl* control : form.Components()) state.Controls.push_back(Note(*control));
    return state;
}

void PutBack(TForm& form, const FormState& state) {
    for (const ControlState& control : state.Controls) PutBack(control);
    form.SetFocused(state.Focused);
    form.SetCaption(std::string(state.Caption));
    form.Reopen();
}

}  // namespace

// What the window holds beside its controls: what its loads and saves keep of the ship, the slots and the weapons,
// the undo history, the unsaved-changes bookkeeping and the Fleet page's.
struct KeptWindow::Noted {
    FormState Form1;
    FormState Form3;
    ShipState Ship;
    decltype(TForm1::GunMountTypes) GunMountTypes{};
    decltype(TForm1::GunMountAmmo) GunMountAmmo{};
    decltype(TForm1::MissileMountTypes) MissileMountTypes{};
    std::vector<std::uint8_t> ShipBytesAsRead;
    GunSlotTable GunSlots;
    std::vector<std::uint8_t> SlotShipAsRead;
    std::vector<std::pair<std::string, std::string>> SlotSectionAsRead;
    int LoadedGun = -1;
    std::vector<std::uint8_t> GunRecordAsRead;
    int LoadedMissile = -1;
    std::vector<std::uint8_t> MissileRecordAsRead;
    bool ModsNotAppliedYet = false;
    decltype(TForm1::LoadedItems) LoadedItems;
    int PageShown = 0;
    std::vector<bool> FleetCompared;
    std::vector<std::string> ChartKeys;
};

KeptWindow::KeptWindow(const std::string& gameFolder, const std::vector<std::string>& emptied)
    : Platform(gameFolder), App(Platform) {
    for (const std::string& path : emptied) std::ofstream(path, std::ios::trunc);
    Ended = App.Start().has_value();
    if (Ended) return;
    TForm1& f = App.Form1();
    noted_ = std::make_unique<Noted>(Noted{
        Note(f), Note(App.Form3()), f.Ship, f.GunMountTypes, f.GunMountAmmo, f.MissileMountTypes, f.ShipBytesAsRead,
        f.GunSlots, f.SlotShipAsRead, f.SlotSectionAsRead, f.LoadedGun, f.GunRecordAsRead, f.LoadedMissile,
        f.MissileRecordAsRead, f.ModsNotAppliedYet, f.LoadedItems, f.PageShown, f.FleetCompared, f.ChartKeys});
    PutBack();
}

KeptWindow::~KeptWindow() { ForgetKeptOriginals(); }

void ForgetKeptOriginals() { originalsKept = false; }

void KeptWindow::Start() {
    TForm1& f = App.Form1();
    // As the program's start, in its order: the folder guarded, its lock taken (which leaves the lock file), the
    // originals kept before the first write, then each tab's first load. A kept window starts only on a folder with
    // no change left unfinished and no temporary file (ReusedGame::StartsAsBuilt), where the start's recovery finds
    // nothing; the originals' hook stays from its last start until a window ends (FormDestroy takes it away).
    (void)GuardGameFolder(f.GameFolder);
    try {
        const GameFolderLock lock(f.GameFolder);
    } catch (const Exception& failure) {
        Platform.ShowError(f.ErrorText(failure) + ".");
    }
    if (!originalsKept) KeepOriginals(f.GameFolder, f.Catalogue);
    originalsKept = true;
    try {
        for (TComboBox* list : {&f.ComboBox1, &f.ComboBox6, &f.ComboBox4, &f.ComboBox5}) list->SetItemIndex(0);
        f.Dispatch([&f] { f.ComboBox1Change(); });
        f.Dispatch([&f] { f.ComboBox4Change(); });
        f.Dispatch([&f] { f.ComboBox5Change(); });
    } catch (const ProgramEnded&) {
        Ended = true;
    }
}

void KeptWindow::PutBack() {
    TForm1& f = App.Form1();
    const Noted& noted = *noted_;
    f.Ship = ShipState(noted.Ship);
    f.GunMountTypes = noted.GunMountTypes;
    f.GunMountAmmo = noted.GunMountAmmo;
    f.MissileMountTypes = noted.MissileMountTypes;
    Fresh(f.ShipBytesAsRead, noted.ShipBytesAsRead);
    f.GunSlots = GunSlotTable(noted.GunSlots);
    Fresh(f.SlotShipAsRead, noted.SlotShipAsRead);
    Fresh(f.SlotSectionAsRead, noted.SlotSectionAsRead);
    f.LoadedGun = noted.LoadedGun;
    Fresh(f.GunRecordAsRead, noted.GunRecordAsRead);
    f.LoadedMissile = noted.LoadedMissile;
    Fresh(f.MissileRecordAsRead, noted.MissileRecordAsRead);
    f.ModsNotAppliedYet = noted.ModsNotAppliedYet;
    f.LoadedItems = decltype(f.LoadedItems)(noted.LoadedItems);
    f.PageShown = noted.PageShown;
    Fresh(f.FleetCompared, noted.FleetCompared);
    Fresh(f.ChartKeys, noted.ChartKeys);
    f.FleetRows.reset();
    std::function<void()> onChange = std::move(f.History.OnChange);
    f.History = UndoHistory();
    f.History.OnChange = std::move(onChange);
    // The controls last: the history's buttons, the boxes and lists as noted, whatever the members' setting did.
    tovarin::fuzz::PutBack(f, noted.Form1);
    tovarin::fuzz::PutBack(App.Form3(), noted.Form3);
    Platform.Boxes = {};
    Platform.Answers.clear();
    Platform.SaveAnswers.clear();
    Platform.FileChoices.clear();
    Platform.InsideBoosterDialog = nullptr;
    Platform.InsideDialog = nullptr;
    Platform.Launched = {};
    Platform.LaunchErrors.clear();
    Platform.DialogsShown = {};
}

}  // namespace tovarin::fuzz
