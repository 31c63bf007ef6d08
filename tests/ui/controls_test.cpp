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

struct ControlsTest : ::testing::Test {
    HeadlessPlatform platform{"/nowhere/"};
    TestForm form{platform};
    int fired = 0;
};

// The handlers fill boxes and lists from code; they rely on which of those changes fire events and which do not.
TEST_F(ControlsTest, OnlyARealChangeFiresAndSelectingFromCodeFiresNothing) {
    form.Box.OnChange = [this] { ++fired; };
    form.Box.SetText("0");  // the box starts with "0"
    EXPECT_EQ(fired, 0);
    form.Box.SetText("12");
    EXPECT_EQ(fired, 1);

    form.Check.OnClick = [this] { ++fired; };
    form.Check.SetChecked(false);
    EXPECT_EQ(fired, 1);
    form.Check.SetChecked(true);
    EXPECT_EQ(fired, 2);

    form.List.Items() = {"a", "b"};
    form.List.OnChange = [this] { ++fired; };
    form.List.SetItemIndex(1);
    EXPECT_EQ(fired, 2);
    UserInput::Choose(form.List, 0);
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(form.List.Text(), "a");

    form.Button.OnClick = [this] { ++fired; };
    form.Button.SetEnabled(false);
    UserInput::Click(form.Button);
    EXPECT_EQ(fired, 3) << "a disabled button cannot be pressed";
}

TEST_F(ControlsTest, TheDispatcherShowsErrorsWithAFullStopAndLetsTheProgramEnd) {
    form.Button.OnClick = [] { throw ERangeError(); };
    UserInput::Click(form.Button);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].kind, HeadlessPlatform::Box::Kind::Error);
    EXPECT_EQ(platform.Boxes[0].text, "Range check error.");

    form.Button.OnClick = [this] { platform.Halt(0); };
    EXPECT_THROW(UserInput::Click(form.Button), ProgramEnded);
    EXPECT_EQ(platform.Boxes.size(), 1u);
}

}  // namespace
}  // namespace tovarin
