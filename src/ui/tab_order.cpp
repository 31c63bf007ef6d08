#include "ui/tab_order.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace tovarin {

namespace {

int SortKey(const LayoutRow& row) { return row.TabOrder < 0 ? INT_MAX : row.TabOrder; }

std::vector<const LayoutRow*> ChildrenOf(const std::vector<LayoutRow>& rows, std::string_view parent) {
    std::vector<const LayoutRow*> children;
    for (const LayoutRow& row : rows) {
        if (row.Parent == parent) children.push_back(&row);
    }
    // Pages keep their page order; every other parent orders its children by tab order.
    std::stable_sort(children.begin(), children.end(), [](const LayoutRow* a, const LayoutRow* b) {
        if (a->Kind == ControlKind::TabSheet || b->Kind == ControlKind::TabSheet) return false;
        return SortKey(*a) < SortKey(*b);
    });
    return children;
}

void Visit(const std::vector<LayoutRow>& rows, std::string_view parent, std::vector<const LayoutRow*>& order) {
    for (const LayoutRow* child : ChildrenOf(rows, parent)) {
        if (TakesFocus(child->Kind)) order.push_back(child);
        Visit(rows, child->Name, order);
    }
}

}  // namespace

bool TakesFocus(ControlKind kind) {
    switch (kind) {
        case ControlKind::PageControl:
        case ControlKind::Edit:
        case ControlKind::ComboBox:
        case ControlKind::ListBox:
        case ControlKind::CheckBox:
        case ControlKind::Button:
        case ControlKind::Memo:
        case ControlKind::Grid:
            return true;
        case ControlKind::TabSheet:
        case ControlKind::GroupBox:
        case ControlKind::Label:
        case ControlKind::Bevel:
        case ControlKind::UpDown:
        case ControlKind::StatusLine:
            return false;
    }
    return false;
}

std::vector<const LayoutRow*> TabOrder(const std::vector<LayoutRow>& rows) {
    std::vector<const LayoutRow*> order;
    Visit(rows, "", order);
    return order;
}

}  // namespace tovarin
