#include "ui/dialog_keys.h"

#include "ui/controls.h"
#include "ui/form.h"

namespace tovarin {

namespace {

TButton* MarkedButton(const TForm& form, bool LayoutRow::*mark) {
    for (const LayoutRow& row : form.Layout()) {
        if (row.*mark) return dynamic_cast<TButton*>(form.FindComponent(row.Name));
    }
    return nullptr;
}

}  // namespace

TButton* EnterButton(const TForm& form) {
    if (auto* focused = dynamic_cast<TButton*>(form.Focused())) return focused;
    return MarkedButton(form, &LayoutRow::Default);
}

TButton* EscapeButton(const TForm& form) { return MarkedButton(form, &LayoutRow::Cancel); }

}  // namespace tovarin
