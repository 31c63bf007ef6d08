#include "ui/controls.h"

#include <gtest/gtest.h>

#include "ui/form.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

class TestForm : public TForm {
public:
    using TForm::TForm;
    TEdit Box{*this, "Box"};
    TComboBox List{*this, "List"};
    TCheckBox Check{*this, "Check"};
    TButton Button{*this, "Button"};
};

// The handlers fill boxes and lists from code; they rely on which of those changes fire events and which do not,
// and on a replaced list item losing its selection.
// Errors reach the player in the error box with a full stop; ending the program passes through.
TEST(Controls, OnlyARealChangeFiresAndTheDispatcherShowsErrors) {
    HeadlessPlatform platform{"/nowhere/"};
    TestForm form{platform};
    int fired = 0;
    form.Box.OnChange = form.Check.OnClick = form.List.OnChange = form.Button.OnClick = [&] { ++fired; };
    form.Box.SetText("0");  // the box starts with "0"
    form.Check.SetChecked(false);
    form.List.Items() = {"a", "b"};
    form.List.SetItemIndex(1);
    EXPECT_EQ(fired, 0);
    form.Box.SetText("12");
    form.Check.SetChecked(true);
    UserInput::Choose(form.List, 0);
    EXPECT_EQ(fired, 3);
    form.List.SetItem(0, "c");  // the window deletes and inserts the item, so its selection goes
    EXPECT_EQ(form.List.ItemIndex(), -1);
    form.Box.SetReadOnly(true);
    UserInput::Type(form.Box, "5");
    EXPECT_EQ(form.Box.Text(), "12") << "a read-only box takes no typing";
    form.Button.SetEnabled(false);
    UserInput::Click(form.Button);
    EXPECT_EQ(fired, 3) << "a disabled button cannot be pressed";

    form.Button.SetEnabled(true);
    form.Button.OnClick = [] { throw ERangeError(); };
    UserInput::Click(form.Button);
    form.Button.OnClick = [&] { platform.Halt(0); };
    EXPECT_THROW(UserInput::Click(form.Button), ProgramEnded);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].kind, HeadlessPlatform::Box::Kind::Error);
    EXPECT_EQ(platform.Boxes[0].text, "Range check error.");
}

}  // namespace
}  // namespace tovarin
