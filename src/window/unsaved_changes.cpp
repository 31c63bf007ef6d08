#include "window/unsaved_changes.h"

#include <algorithm>
#include <array>
#include <exception>
#include <span>

#include "gamefiles/errors.h"
#include "gamefiles/file_change_set.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/narrowing.h"
#include "ui/platform.h"
#include "window/application.h"
#include "window/form1.h"

// The player's unsaved changes: each editor keeps what it showed when it loaded its item, and before the player
// leaves an item whose controls show something else (another item chosen, the gun slot tab opened or left, a
// swap that reloads the shown ship, the window closed) the program asks whether to save. The caption names the
// item of the shown tab and marks its unsaved changes.
namespace tovarin {

namespace {

using Values = std::vector<std::string>;

constexpr int kGunSlotPage = 1;

template <typename Numbers>
void AddNumbers(Values& values, const Numbers& numbers) {
    for (const auto number : numbers) values.push_back(std::to_string(number));
}

using Boxes = std::span<TEdit TForm1::*const>;

void AddTexts(Values& values, const TForm1& f, Boxes boxes) {
    for (const auto box : boxes) values.push_back((f.*box).Text());
}

void AddChecks(Values& values, std::initializer_list<bool> checks) {
    for (const bool check : checks) values.emplace_back(check ? "1" : "0");
}

// The Ships tab's value boxes, in the order their texts are kept.
constexpr std::array<TEdit TForm1::*, 27> kShipBoxes{
    &TForm1::Edit29, &TForm1::Edit27, &TForm1::Edit1,  &TForm1::Edit2,  &TForm1::Edit15, &TForm1::Edit4,
    &TForm1::Edit3,  &TForm1::Edit6,  &TForm1::Edit26, &TForm1::Edit7,  &TForm1::Edit5,  &TForm1::Edit8,
    &TForm1::Edit25, &TForm1::Edit10, &TForm1::Edit11, &TForm1::Edit12, &TForm1::Edit13, &TForm1::Edit17,
    &TForm1::Edit16, &TForm1::Edit20, &TForm1::Edit21, &TForm1::Edit22, &TForm1::Edit18, &TForm1::Edit19,
    &TForm1::Edit23, &TForm1::Edit24, &TForm1::Edit14};

// Everything the Ships tab's save writes: the boxes, autoslide, the booster and its values, the mount tables.
// The ammunition and missile boxes beside the mount lists are only the input of "Change".
Values ShipValues(const TForm1& f) {
    Values values;
    AddTexts(values, f, kShipBoxes);
    AddChecks(values, {f.CheckBox1.Checked(), f.Ship.HasBooster});
    AddNumbers(values, f.Ship.BoosterValues);
    AddNumbers(values, f.GunMountTypes);
    AddNumbers(values, f.GunMountAmmo);
    AddNumbers(values, f.Ship.TurretGunTypes);
    AddNumbers(values, f.MissileMountTypes);
    AddNumbers(values, f.Ship.MissileMountLoads);
    return values;
}

// The slot records as the save would write them.
Values GunSlotValues(const TForm1& f) {
    Values values;
    for (const GunSlot& slot : f.GunSlots.Slots) values.emplace_back(slot.Record.begin(), slot.Record.end());
    return values;
}

constexpr std::array<TEdit TForm1::*, 5> kGunValueBoxes{&TForm1::Edit30, &TForm1::Edit31, &TForm1::Edit34,
                                                        &TForm1::Edit32, &TForm1::Edit33};

Values GunValues(const TForm1& f) {
    Values values;
    AddTexts(values, f, kGunValueBoxes);
    return values;
}

// The Missiles tab's boxes, in the order their texts are kept; the last is the number of sub-missiles.
constexpr std::array<TEdit TForm1::*, 13> kMissileValueBoxes{
    &TForm1::Edit42, &TForm1::Edit37, &TForm1::Edit38, &TForm1::Edit39, &TForm1::Edit36,
    &TForm1::Edit35, &TForm1::Edit46, &TForm1::Edit40, &TForm1::Edit43, &TForm1::Edit41,
    &TForm1::Edit47, &TForm1::Edit48, &TForm1::Edit49};

// "Split up" only shows or hides the split-up values; the number of sub-missiles is what the save writes.
Values MissileValues(const TForm1& f) {
    Values values;
    AddTexts(values, f, kMissileValueBoxes);
    values.push_back(std::to_string(f.ComboBox7.ItemIndex()));
    values.push_back(std::to_string(f.CollectMissileFlags()));
    return values;
}

std::size_t Slot(Editor editor) { return static_cast<std::size_t>(editor); }

// What each tab edits; the switcher's swaps and the About page leave nothing pending.
std::optional<Editor> EditorOfPage(int page) {
    switch (page) {
        case 0:
            return Editor::Ship;  // "Ships"
        case 1:
            return Editor::GunSlots;  // "Add/Remove Guns"
        case 3:
            return Editor::Gun;  // "Guns"
        case 4:
            return Editor::Missile;  // "Missiles"
        default:
            return std::nullopt;
    }
}

// How each editor is chosen, compared and saved, in the order of Editor.
struct EditorParts {
    TComboBox TForm1::*List;
    Values (*Current)(const TForm1&);
    void (TForm1::*Save)();
};

const EditorParts& PartsOf(Editor editor) {
    static const std::array<EditorParts, kEditorCount> parts{{
        {&TForm1::ComboBox1, ShipValues, &TForm1::Button2Click},
        {&TForm1::ComboBox6, GunSlotValues, &TForm1::Button14Click},
        {&TForm1::ComboBox4, GunValues, &TForm1::Button7Click},
        {&TForm1::ComboBox5, MissileValues, &TForm1::Button8Click},
    }};
    return parts[Slot(editor)];
}

Values CurrentValues(const TForm1& form, Editor editor) { return PartsOf(editor).Current(form); }

const TComboBox& ListOf(const TForm1& form, Editor editor) { return form.*PartsOf(editor).List; }

}  // namespace

EditorLoad::EditorLoad(TForm1& form, Editor editor)
    : form_(form), editor_(editor), exceptions_(std::uncaught_exceptions()) {
    form_.LoadedItems[Slot(editor_)].reset();
}

EditorLoad::~EditorLoad() {
    if (std::uncaught_exceptions() == exceptions_) form_.KeepLoadedValues(editor_);
}

void TForm1::KeepLoadedValues(Editor editor) {
    const TComboBox& list = ListOf(*this, editor);
    LoadedItems[Slot(editor)] = LoadedItem{list.Text(), list.ItemIndex(), CurrentValues(*this, editor)};
}

// The slot table is whole only while its save is enabled; before that it holds nothing of the player's.
bool TForm1::Modified(Editor editor) const {
    const std::optional<LoadedItem>& loaded = LoadedItems[Slot(editor)];
    if (!loaded || (editor == Editor::GunSlots && !Button14.Enabled())) return false;
    return CurrentValues(*this, editor) != loaded->Values;
}

std::string TForm1::Caption() const {
    const std::string title = std::string(kProgramTitle) + " " + kProgramVersion;
    const std::optional<Editor> editor = EditorOfPage(PageControl1.ActivePageIndex());
    const std::string name = editor ? ListOf(*this, *editor).Text() : "";
    if (name.empty()) return title;
    return (Modified(*editor) ? "*" : "") + name + " - " + title;
}

// Yes saves, and goes on only when the save left nothing unsaved: a save that was refused or failed keeps the
// player where they are, with its message or error shown.
bool TForm1::AskToSave(Editor editor) {
    if (!Modified(editor)) return true;
    switch (GetPlatform().AskYesNoCancel("Save changes to " + LoadedItems[Slot(editor)]->Name + "?")) {
        case Platform::Answer::No:
            return true;
        case Platform::Answer::Cancel:
            return false;
        case Platform::Answer::Yes:
            break;
    }
    (this->*PartsOf(editor).Save)();
    return !Modified(editor);
}

// The list shows the item the boxes hold while the questions are asked and the saves run (a save loads that
// item again), and the new choice only once the player may go on.
bool TForm1::MayLeave(TComboBox& list, std::initializer_list<Editor> editors) {
    if (std::none_of(editors.begin(), editors.end(), [this](Editor e) { return Modified(e); })) return true;
    const int chosen = list.ItemIndex();
    for (const Editor editor : editors) {
        if (const auto& loaded = LoadedItems[Slot(editor)]) {
            list.SetItemIndex(loaded->Index);
            break;
        }
    }
    for (const Editor editor : editors) {
        if (!AskToSave(editor)) return false;
    }
    list.SetItemIndex(chosen);
    return true;
}

// Opening the gun slot tab loads the ship of the Ships tab and its slots afresh, so the slot table's changes are
// asked about when the player leaves the tab, and the ship's when the player opens it. The two are never
// pending together: a slot save loads the ship again, and a ship save rewrites the records the table holds.
bool TForm1::MayChangePage() {
    const int page = PageControl1.ActivePageIndex();
    PageControl1.SetActivePageIndex(PageShown);
    if (PageShown == kGunSlotPage && page != kGunSlotPage) {
        if (!AskToSave(Editor::GunSlots)) return false;
        LoadedItems[Slot(Editor::GunSlots)].reset();  // read again when the tab opens
    }
    if (page == kGunSlotPage && !AskToSave(Editor::Ship)) return false;
    PageControl1.SetActivePageIndex(page);
    PageShown = page;
    return true;
}

// A swap loads the shown ship again when its file is one of the two exchanged.
bool TForm1::MaySwap() {
    if (!Modified(Editor::Ship)) return true;
    std::vector<std::string> ships;
    Catalogue.ReadSection("ships", ships);
    for (const int index : {ListBox4.ItemIndex(), ListBox5.ItemIndex()}) {
        if (index < 0 || static_cast<std::size_t>(index) >= ships.size()) continue;
        const std::string& ship = ships[static_cast<std::size_t>(index)];
        if (GameFile("Ships\\" + Catalogue.ReadString("ships", ship, "")) == ShipPath()) {
            return AskToSave(Editor::Ship);
        }
    }
    return true;
}

bool TForm1::MayRestoreDefaults() {
    if (!Modified(Editor::Ship)) return true;
    return GetPlatform().AskYesNo("Replace the unsaved changes to " + LoadedItems[Slot(Editor::Ship)]->Name +
                                  " with its default values?");
}

namespace {

// Each box the player had changed from what was loaded gets the player's text back.
void PutBackTexts(TForm1& f, Boxes boxes, const Values& typed, const Values& loaded) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (typed[i] != loaded[i]) (f.*boxes[i]).SetText(typed[i]);
    }
}

void PutBackShip(TForm1& f, const Values& typed, const Values& loaded) {
    PutBackTexts(f, kShipBoxes, typed, loaded);
    const std::size_t autoslide = kShipBoxes.size();
    if (typed[autoslide] != loaded[autoslide]) f.CheckBox1.SetChecked(typed[autoslide] == "1");
}

// The sub-missile type and each flag the player had changed; "Split up" shows the split-up values of the number
// of sub-missiles the boxes now hold.
void PutBackMissile(TForm1& f, const Values& typed, const Values& loaded) {
    PutBackTexts(f, kMissileValueBoxes, typed, loaded);
    const std::size_t type = kMissileValueBoxes.size();
    if (typed[type] != loaded[type]) f.ComboBox7.SetItemIndex(std::stoi(typed[type]));
    const auto flagsOf = [](const Values& values) { return std::stoi(values[type + 1]); };
    const int changed = flagsOf(typed) ^ flagsOf(loaded);
    f.ShowMissileFlags(static_cast<std::uint16_t>((f.CollectMissileFlags() & ~changed) | (flagsOf(typed) & changed)));
    f.CheckBox3.SetChecked(f.Edit49.Text() != "0");
}

}  // namespace

// The new values of the file show wherever the player had left a box as it was loaded; a box the player changed
// keeps the player's text, so that a second save writes the player's edits over the other program's change. A slot
// table the player changed is kept whole, over the slots read again.
void TForm1::ReloadKeepingEdits(Editor editor) {
    const std::optional<LoadedItem> loaded = LoadedItems[Slot(editor)];
    const Values typed = CurrentValues(*this, editor);
    const std::vector<GunSlot> slots = GunSlots.Slots;
    switch (editor) {
        case Editor::Ship:
            LoadShipFile();
            break;
        case Editor::GunSlots:
            ComboBox1Change();
            LoadGunSlots();
            break;
        case Editor::Gun:
            LoadGun(ToByte(ComboBox4.ItemIndex()));
            break;
        case Editor::Missile:
            LoadMissile(ToByte(ComboBox5.ItemIndex()));
            break;
    }
    if (!loaded || typed == loaded->Values) return;
    switch (editor) {
        case Editor::Ship:
            PutBackShip(*this, typed, loaded->Values);
            break;
        case Editor::GunSlots:
            GunSlots.Slots = slots;
            ListBox3.Clear();
            for (const GunSlot& slot : slots) ListBox3.Items().push_back(slot.Listed());
            ListBox3.SetItemIndex(0);
            break;
        case Editor::Gun:
            PutBackTexts(*this, kGunValueBoxes, typed, loaded->Values);
            break;
        case Editor::Missile:
            PutBackMissile(*this, typed, loaded->Values);
            break;
    }
}

// While the record of a change that did not finish stands, the files may hold that change: the save goes on to its
// write, which is refused with what to do.
void TForm1::RefuseIfChanged(Editor editor, const std::string& file, bool changed) {
    if (!changed || FileExists(GameFile(kChangeRecordName))) return;
    ReloadKeepingEdits(editor);
    throw Exception(file +
                    " was changed by another program since Tovarin read it: nothing was changed; it has been read "
                    "again");
}

bool TForm1::MayLeaveEveryItem() {
    for (const Editor editor : {Editor::Ship, Editor::GunSlots, Editor::Gun, Editor::Missile}) {
        if (!AskToSave(editor)) return false;
    }
    return true;
}

}  // namespace tovarin
