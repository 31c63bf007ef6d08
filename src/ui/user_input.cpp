#include "ui/user_input.h"

#include "ui/form.h"

namespace tovarin::UserInput {

namespace {

void Fire(const TNotifyEvent& event) {
    if (event) event();
}

// A person can only reach a control that is shown and enabled.
bool Reachable(const TControl& control) { return control.Visible() && control.Enabled(); }

}  // namespace

void Type(TEdit& box, const std::string& text) {
    if (!Reachable(box) || box.ReadOnly()) return;
    box.SetFocus();
    box.Owner().Dispatch([&] { box.SetText(text); });
}

void Leave(TEdit& box) {
    box.Owner().Dispatch([&] { Fire(box.OnExit); });
}

void Choose(TComboBox& list, int index) {
    if (!Reachable(list)) return;
    list.SetFocus();
    list.Owner().Dispatch([&] {
        list.SetItemIndex(index);
        Fire(list.OnChange);
    });
}

void Select(TListBox& list, int index) {
    if (!Reachable(list)) return;
    list.SetFocus();
    list.Owner().Dispatch([&] {
        list.SetItemIndex(index);
        Fire(list.OnClick);
    });
}

void Click(TButton& button) {
    if (!Reachable(button)) return;
    button.Owner().Dispatch([&] { Fire(button.OnClick); });
}

void Toggle(TCheckBox& box) {
    if (!Reachable(box)) return;
    box.SetFocus();
    box.Owner().Dispatch([&] { box.SetChecked(!box.Checked()); });
}

void ShowPage(TPageControl& tabs, int page) {
    tabs.Owner().Dispatch([&] {
        tabs.SetActivePageIndex(page);
        Fire(tabs.OnChange);
    });
}

}  // namespace tovarin::UserInput
