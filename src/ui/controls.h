#pragma once

#include <functional>
#include <string>
#include <vector>

// The control model: small classes that mirror the window's controls, holding their state and event slots
// with the semantics the program relies on. They know no pixels; the layouts place them and a front-end draws
// them.
namespace tovarin {

class TForm;
using TNotifyEvent = std::function<void()>;
// A box's exit check: false when it refused or replaced what the box holds, so that the button the focus was
// going to is not pressed on a value the player did not type.
using TExitEvent = std::function<bool()>;

class TControl {
public:
    TControl(TForm& owner, std::string name);
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    [[nodiscard]] const std::string& Name() const { return name_; }
    [[nodiscard]] TForm& Owner() const { return owner_; }

    [[nodiscard]] bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // Labels, buttons, check boxes, group boxes and tab pages show a caption.
    [[nodiscard]] const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }

    // Gives this control the input focus of its form.
    void SetFocus();

private:
    TForm& owner_;
    std::string name_;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
};

class TLabel : public TControl {
public:
    using TControl::TControl;
};

class TGroupBox : public TControl {
public:
    using TControl::TControl;
};

class TBevel : public TControl {
public:
    using TControl::TControl;
};

class TTabSheet : public TControl {
public:
    using TControl::TControl;
};

class TButton : public TControl {
public:
    using TControl::TControl;
    TNotifyEvent OnClick;
};

class TEdit : public TControl {
public:
    TEdit(TForm& owner, std::string name, std::string text = "0");

    [[nodiscard]] const std::string& Text() const { return text_; }
    // Setting a different text, from code or by typing (TypeText), fires OnChange. Text set from code is what
    // the box holds before the player edits it.
    void SetText(std::string text);
    void TypeText(std::string text);

    // The text before the player's edit: what the program last put in, or what last passed the box's exit check.
    // A check that refuses what was typed puts it back.
    [[nodiscard]] const std::string& CheckedText() const { return checkedText_; }
    void KeepTextAsChecked() { checkedText_ = text_; }

    // The whole text selected, as the program selects it to point the player at the box; new text ends it.
    [[nodiscard]] bool AllSelected() const { return allSelected_; }
    void SelectAll() { allSelected_ = true; }

    [[nodiscard]] bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // The box has typing of the player's to undo (Ctrl+Z in the box): typed since the program last put a text in.
    [[nodiscard]] bool CanUndo() const { return typed_; }

    TNotifyEvent OnChange;
    TExitEvent OnExit;

private:
    std::string text_;
    std::string checkedText_;
    bool readOnly_ = false;
    bool allSelected_ = false;
    bool typed_ = false;
};

class TMemo : public TControl {
public:
    using TControl::TControl;
    [[nodiscard]] std::vector<std::string>& Lines() { return lines_; }
    [[nodiscard]] const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

class TCheckBox : public TControl {
public:
    using TControl::TControl;
    [[nodiscard]] bool Checked() const { return checked_; }
    // Setting a different state, from code or by a click, fires OnClick.
    void SetChecked(bool checked);

    TNotifyEvent OnClick;

private:
    bool checked_ = false;
};

// What drop-down lists and list boxes share: unsorted items and one selected index (-1: none).
class TItemList : public TControl {
public:
    using TControl::TControl;

    [[nodiscard]] std::vector<std::string>& Items() { return items_; }
    [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }
    // Removes every item and the selection.
    void Clear();
    // Replaces item i as the window does, by deleting and inserting it: a selected item loses its selection.
    void SetItem(int index, std::string text);

    // The selected index, or -1; an index no longer backed by an item counts as none.
    [[nodiscard]] int ItemIndex() const;
    // Selects the item; an index outside the items selects none. Fires no event.
    void SetItemIndex(int index);
    // The selected item, or "" when none is selected.
    [[nodiscard]] std::string Text() const;

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

// A drop-down list. While its list is open the arrow keys move the selection without choosing: a choice counts
// when the list closes on it, as in every Windows drop-down list.
class TComboBox : public TItemList {
public:
    using TItemList::TItemList;
    [[nodiscard]] bool DroppedDown() const { return droppedDown_; }
    // Opens the list on the selected item.
    void DropDown();
    // Closes the list, on its selection (keep) or back on the item it opened on; true when it closes on another.
    bool CloseUp(bool keep);

    TNotifyEvent OnChange;

private:
    bool droppedDown_ = false;
    int openedOn_ = -1;
};

class TListBox : public TItemList {
public:
    using TItemList::TItemList;
    TNotifyEvent OnClick;
};

// Up-down arrows bound to an edit box; each press moves the box's value by the increment within min..max.
class TUpDown : public TControl {
public:
    TUpDown(TForm& owner, std::string name, TEdit& associate, int min, int max, int increment);
    [[nodiscard]] TEdit& Associate() const { return associate_; }
    [[nodiscard]] int Min() const { return min_; }
    [[nodiscard]] int Max() const { return max_; }
    [[nodiscard]] int Increment() const { return increment_; }

private:
    TEdit& associate_;
    int min_;
    int max_;
    int increment_;
};

class TPageControl : public TControl {
public:
    using TControl::TControl;
    [[nodiscard]] int ActivePageIndex() const { return activePage_; }
    // Shows the page; fires no event.
    void SetActivePageIndex(int page) { activePage_ = page; }
    TNotifyEvent OnChange;

private:
    int activePage_ = 0;
};

// The standard file dialogs, executed through the platform. They keep the name chosen last.
class TFileDialog : public TControl {
public:
    using TControl::TControl;
    std::string Title;
    std::string Filter;       // "description|pattern"
    std::string DefaultExt;   // without the dot, empty for none
    std::string InitialDir;
    std::string FileName;
    bool OverwritePrompt = false;
    bool PathMustExist = false;
    bool FileMustExist = false;
    bool HideReadOnly = false;
};

class TSaveDialog : public TFileDialog {
public:
    using TFileDialog::TFileDialog;
};

class TOpenDialog : public TFileDialog {
public:
    using TFileDialog::TFileDialog;
};

}  // namespace tovarin
