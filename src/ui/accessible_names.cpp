#include "ui/accessible_names.h"

#include <string_view>

namespace tovarin {

namespace {

std::string Spoken(std::string_view caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" is one "&"; "&x" is "x"
        text += caption[i];
    }
    while (!text.empty() && (text.back() == ':' || text.back() == ' ')) text.pop_back();
    return text;
}

bool HasOwnCaption(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::CheckBox || kind == ControlKind::GroupBox ||
           kind == ControlKind::Label || kind == ControlKind::TabSheet || kind == ControlKind::StatusLine;
}

// The label on the control's row: in the same parent, ending left of it, its middle within the control's height.
const LayoutRow* RowLabel(const std::vector<LayoutRow>& rows, const LayoutRow& row) {
    const LayoutRow* nearest = nullptr;
    for (const LayoutRow& label : rows) {
        if (label.Kind != ControlKind::Label || label.Parent != row.Parent || label.Caption.empty() || label.Grey) {
            continue;  // a grey copy of a value names nothing
        }
        const int middle = label.Top + label.Height / 2;
        if (label.Left + 2 > row.Left || middle < row.Top || middle > row.Top + row.Height) continue;
        if (nearest == nullptr || label.Left > nearest->Left) nearest = &label;
    }
    return nearest;
}

const LayoutRow* Find(const std::vector<LayoutRow>& rows, std::string_view name) {
    for (const LayoutRow& row : rows) {
        if (row.Name == name) return &row;
    }
    return nullptr;
}

}  // namespace

std::string AccessibleName(const std::vector<LayoutRow>& rows, const LayoutRow& row) {
    if (!row.SpokenName.empty()) return std::string(row.SpokenName);
    if (HasOwnCaption(row.Kind)) return Spoken(row.Caption);
    for (const LayoutRow& label : rows) {
        if (label.Kind == ControlKind::Label && label.FocusControl == row.Name) return Spoken(label.Caption);
    }
    if (const LayoutRow* label = RowLabel(rows, row)) return Spoken(label->Caption);
    return AccessibleGroup(rows, row);
}

std::string AccessibleGroup(const std::vector<LayoutRow>& rows, const LayoutRow& row) {
    for (const LayoutRow* parent = Find(rows, row.Parent); parent != nullptr; parent = Find(rows, parent->Parent)) {
        if (parent->Kind == ControlKind::GroupBox) return Spoken(parent->Caption);
    }
    return "";
}

}  // namespace tovarin
