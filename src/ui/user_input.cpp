#include "ui/user_input.h"

#include "ui/dialog_keys.h"
#include "ui/form.h"
#include "ui/mnemonics.h"

namespace tovarin::UserInput {

namespace {

void Fire(const TNotifyEvent& event) {
    if (event) event();
}

// A person can only reach a control that is shown and enabled.
bool Reachable(const TControl& control) { return control.Visible() && control.Enabled(); }

// Buttons and check boxes act when they are pressed.
bool Pressable(const TControl& control) {
    return dynamic_cast<const TButton*>(&control) != nullptr || dynamic_cast<const TCheckBox*>(&control) != nullptr;
}

// Runs the box's exit check; true when the box's text stands as it was, which is then the text the box puts back
// when a later edit is refused.
bool ExitCheckPasses(TEdit& box) {
    bool passed = false;
    box.Owner().Dispatch([&] { passed = !box.OnExit || box.OnExit(); });
    if (passed) box.KeepTextAsChecked();
    return passed;
}

void ChangeTo(TComboBox& list, int index) {
    list.Owner().Dispatch([&] {
        list.SetItemIndex(index);
        Fire(list.OnChange);
    });
}

}  // namespace

void Type(TEdit& box, const std::string& text) {
    if (!Reachable(box) || box.ReadOnly() || !Focus(box)) return;
    box.Owner().Dispatch([&] { box.TypeText(text); });
}

void Leave(TEdit& box) {
    if (box.Owner().Focused() == &box) box.Owner().SetFocused(nullptr);  // the focus is somewhere outside the form
    (void)ExitCheckPasses(box);
}

void Choose(TComboBox& list, int index) {
    if (!Reachable(list) || !Focus(list)) return;
    if (!list.DroppedDown()) return ChangeTo(list, index);
    list.SetItemIndex(index);
    CloseUp(list, true);
}

void ClickAt(TChartView& chart, int x, int y) {
    if (!Reachable(chart)) return;
    const int item = chart.ItemAt(x, y);
    if (item < 0) return;
    chart.Owner().Dispatch([&] {
        chart.SetSelected(item);
        if (chart.OnPick) chart.OnPick(item);
    });
}

void DropDown(TComboBox& list) {
    if (Reachable(list) && Focus(list)) list.DropDown();
}

void Highlight(TComboBox& list, int index) {
    if (list.DroppedDown()) list.SetItemIndex(index);
}

void CloseUp(TComboBox& list, bool keep) {
    if (!list.DroppedDown()) return;
    const int chosen = list.ItemIndex();
    if (list.CloseUp(keep)) ChangeTo(list, chosen);
}

void Select(TListBox& list, int index) {
    if (!Reachable(list) || !Focus(list)) return;
    list.Owner().Dispatch([&] {
        list.SetItemIndex(index);
        Fire(list.OnClick);
    });
}

void Click(TButton& button) {
    if (!Reachable(button) || !Focus(button)) return;
    button.Owner().Dispatch([&] { Fire(button.OnClick); });
}

void Toggle(TCheckBox& box) {
    if (!Reachable(box) || !Focus(box)) return;
    box.Owner().Dispatch([&] { box.SetChecked(!box.Checked()); });
}

void ShowPage(TPageControl& tabs, int page) {
    tabs.Owner().Dispatch([&] {
        tabs.SetActivePageIndex(page);
        Fire(tabs.OnChange);
    });
}

void ClickHead(TGrid& grid, std::size_t column) {
    if (!Reachable(grid) || !Focus(grid)) return;
    grid.Owner().Dispatch([&] { grid.SortBy(column); });
}

void SelectRows(TGrid& grid, const std::vector<std::size_t>& rows, std::size_t column) {
    if (!Reachable(grid) || !Focus(grid)) return;
    grid.Owner().Dispatch([&] {
        grid.Select(rows);
        grid.SetFocusedCell(rows.empty() ? std::nullopt : std::optional<GridCell>(GridCell{rows.back(), column}));
        Fire(grid.OnSelect);
    });
}

bool StartEdit(TGrid& grid) {
    const std::optional<GridCell> cell = grid.FocusedCell();
    if (!Reachable(grid) || !cell || !Focus(grid)) return false;
    return grid.BeginEdit(*cell);
}

void TypeInCell(TGrid& grid, const std::string& text) {
    if (grid.EditedCell()) grid.TypeInEdit(text);
}

bool ChooseInCell(TGrid& grid, std::size_t item) {
    const std::optional<GridCell> cell = grid.EditedCell();
    if (!cell) return false;
    const std::vector<std::string> choices = grid.Choices(cell->Column);
    if (item >= choices.size()) return false;
    grid.TypeInEdit(choices[item]);
    return true;
}

bool CommitEdit(TGrid& grid) {
    const std::optional<GridCell> cell = grid.EditedCell();
    if (!cell) return false;
    bool taken = false;
    const std::size_t row = grid.SourceRow(cell->Row);
    const std::string text = grid.EditText();
    grid.Owner().Dispatch([&] { taken = grid.OnEditCommit(row, cell->Column, text); });
    if (taken && grid.EditedCell()) grid.EndEdit();
    return taken;
}

void CancelEdit(TGrid& grid) { grid.EndEdit(); }

std::string Hover(TGrid& grid, std::size_t row, std::size_t column) {
    std::string tip;
    grid.Owner().Dispatch([&] { tip = grid.CellTip(row, column); });
    return tip;
}

void Close(TForm& form) {
    form.Dispatch([&] { form.Close(); });
}

bool Focus(TControl& control) {
    TForm& form = control.Owner();
    auto* box = dynamic_cast<TEdit*>(form.Focused());
    control.SetFocus();
    if (box == nullptr || box == &control || ExitCheckPasses(*box)) return true;
    if (form.Focused() == box) return false;  // the check points the player at the box
    if (!Pressable(control)) return true;
    box->SetFocus();
    return false;
}

bool PressEnter(TForm& form) {
    TButton* button = EnterButton(form);
    if (button == nullptr) return false;
    Click(*button);
    return true;
}

bool PressEscape(TForm& form) {
    TButton* button = EscapeButton(form);
    if (button == nullptr) return false;
    Click(*button);
    return true;
}

bool PressMnemonic(TForm& form, char letter) {
    const std::vector<TControl*> targets = MnemonicTargets(form, letter);
    if (targets.empty()) return false;
    TControl& target = *targets.front();
    auto* button = dynamic_cast<TButton*>(&target);
    auto* check = dynamic_cast<TCheckBox*>(&target);
    if (targets.size() > 1 || (button == nullptr && check == nullptr)) {
        Focus(target);
    } else if (button != nullptr) {
        Click(*button);
    } else {
        Toggle(*check);
    }
    return true;
}

bool PressShortcut(TForm& form, char key, bool ctrl, bool shift) {
    const auto* box = dynamic_cast<const TEdit*>(form.Focused());
    const bool boxUndo = key == 'Z' && !shift && box != nullptr && !box->ReadOnly() && box->CanUndo();
    if (!ctrl || boxUndo || !form.OnShortCut) return false;
    bool taken = false;
    form.Dispatch([&] { taken = form.OnShortCut(key, shift); });
    return taken;
}

}  // namespace tovarin::UserInput
