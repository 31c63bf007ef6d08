#include "ui/mnemonics.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/tab_order.h"

namespace tovarin {

namespace {

const LayoutRow* RowOf(const std::vector<LayoutRow>& rows, std::string_view name) {
    if (name.empty()) return nullptr;
    for (const LayoutRow& row : rows) {
        if (row.Name == name) return &row;
    }
    return nullptr;
}

// A tab page shows when its tab control shows it; the pages count in layout order.
bool PageShown(const TForm& form, const std::vector<LayoutRow>& rows, const LayoutRow& page) {
    const auto* tabs = dynamic_cast<const TPageControl*>(form.FindComponent(page.Parent));
    if (tabs == nullptr) return true;
    int index = 0;
    for (const LayoutRow& row : rows) {
        if (&row == &page) break;
        if (row.Kind == ControlKind::TabSheet && row.Parent == page.Parent) ++index;
    }
    return tabs->ActivePageIndex() == index;
}

// The letter a caption marks with "&" for the Alt key, in lower case; 0 when it marks none ("&&" shows "&").
char MnemonicOf(std::string_view caption) {
    for (std::size_t at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] != '&') continue;
        if (caption[at + 1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[at + 1])));
        ++at;  // "&&" is a plain "&"
    }
    return 0;
}

bool Marks(const TControl& control, char letter) {
    const char mark = MnemonicOf(control.Caption());
    return mark != 0 && mark == std::tolower(static_cast<unsigned char>(letter));
}

// A label's mnemonic reaches the control the label names.
bool NamedByLabel(const TForm& form, const std::vector<LayoutRow>& rows, std::string_view name, char letter) {
    return std::any_of(rows.begin(), rows.end(), [&](const LayoutRow& row) {
        const TControl* label = row.FocusControl == name ? form.FindComponent(row.Name) : nullptr;
        return label != nullptr && Marks(*label, letter) && ShownAndEnabled(form, *label);
    });
}

}  // namespace

bool ShownAndEnabled(const TForm& form, const TControl& control) {
    if (!control.Visible() || !control.Enabled()) return false;
    const std::vector<LayoutRow>& rows = form.Layout();
    for (const LayoutRow* row = RowOf(rows, control.Name()); row != nullptr; row = RowOf(rows, row->Parent)) {
        const TControl* holder = form.FindComponent(row->Name);
        if (holder != nullptr && (!holder->Visible() || !holder->Enabled())) return false;
        if (row->Kind == ControlKind::TabSheet && !PageShown(form, rows, *row)) return false;
    }
    return true;
}

std::vector<TControl*> MnemonicTargets(const TForm& form, char letter) {
    const std::vector<LayoutRow>& rows = form.Layout();
    std::vector<TControl*> before;  // up to the focused control
    std::vector<TControl*> after;
    std::vector<TControl*>* into = &before;
    for (const LayoutRow* row : TabOrder(rows)) {
        TControl* control = form.FindComponent(row->Name);
        if (control == nullptr) continue;
        if (ShownAndEnabled(form, *control) &&
            (Marks(*control, letter) || NamedByLabel(form, rows, row->Name, letter))) {
            into->push_back(control);
        }
        if (control == form.Focused()) into = &after;
    }
    after.insert(after.end(), before.begin(), before.end());
    return after;
}

}  // namespace tovarin
