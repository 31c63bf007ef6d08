#include "ui/user_input.h"

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

// Runs the box's exit check; true when the box's text stands as it was.
bool ExitCheckPasses(TEdit& box) {
    bool passed = false;
    box.Owner().Dispatch([&] { passed = !box.OnExit || box.OnExit(); });
    return passed;
}

}  // namespace

void Type(TEdit& box, const std::string& text) {
    if (!Reachable(box) || box.ReadOnly()) return;
    Focus(box);
    box.Owner().Dispatch([&] { box.SetText(text); });
}

void Leave(TEdit& box) {
    if (box.Owner().Focused() == &box) box.Owner().SetFocused(nullptr);  // the focus is somewhere outside the form
    (void)ExitCheckPasses(box);
}

void Choose(TComboBox& list, int index) {
    if (!Reachable(list)) return;
    Focus(list);
    list.Owner().Dispatch([&] {
        list.SetItemIndex(index);
        Fire(list.OnChange);
    });
}

void Select(TListBox& list, int index) {
    if (!Reachable(list)) return;
    Focus(list);
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

void Close(TForm& form) {
    form.Dispatch([&] { form.Close(); });
}

bool Focus(TControl& control) {
    TForm& form = control.Owner();
    auto* box = dynamic_cast<TEdit*>(form.Focused());
    control.SetFocus();
    if (box == nullptr || box == &control || ExitCheckPasses(*box) || !Pressable(control)) return true;
    box->SetFocus();
    return false;
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

}  // namespace tovarin::UserInput
