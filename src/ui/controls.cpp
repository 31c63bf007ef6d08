#include "ui/controls.h"

#include "ui/form.h"

namespace tovarin {

TControl::TControl(TForm& owner, std::string name) : owner_(owner), name_(std::move(name)) {
    owner_.Register(*this);
}

void TControl::SetFocus() { owner_.SetFocused(this); }

TEdit::TEdit(TForm& owner, std::string name, std::string text)
    : TControl(owner, std::move(name)), text_(std::move(text)), checkedText_(text_) {}

void TEdit::SetText(std::string text) {
    checkedText_ = text;
    TypeText(std::move(text));
    typed_ = false;
}

void TEdit::TypeText(std::string text) {
    allSelected_ = false;
    typed_ = true;
    if (text == text_) return;
    text_ = std::move(text);
    if (OnChange) OnChange();
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (OnClick) OnClick();
}

void TItemList::Clear() {
    items_.clear();
    itemIndex_ = -1;
}

void TItemList::SetItem(int index, std::string text) {
    items_.at(static_cast<std::size_t>(index)) = std::move(text);
    if (itemIndex_ == index) itemIndex_ = -1;
}

int TItemList::ItemIndex() const {
    if (itemIndex_ < 0 || static_cast<std::size_t>(itemIndex_) >= items_.size()) return -1;
    return itemIndex_;
}

void TItemList::SetItemIndex(int index) {
    itemIndex_ = (index >= 0 && static_cast<std::size_t>(index) < items_.size()) ? index : -1;
}

std::string TItemList::Text() const {
    const int index = ItemIndex();
    return index < 0 ? std::string() : items_[static_cast<std::size_t>(index)];
}

void TComboBox::DropDown() {
    droppedDown_ = true;
    openedOn_ = ItemIndex();
}

bool TComboBox::CloseUp(bool keep) {
    droppedDown_ = false;
    if (!keep) SetItemIndex(openedOn_);
    return ItemIndex() != openedOn_;
}

TUpDown::TUpDown(TForm& owner, std::string name, TEdit& associate, int min, int max, int increment)
    : TControl(owner, std::move(name)), associate_(associate), min_(min), max_(max), increment_(increment) {}

}  // namespace tovarin
