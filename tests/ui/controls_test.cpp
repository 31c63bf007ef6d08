#include <gtest/gtest.h>

#include "ui/controls.h"
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

TEST_F(ControlsTest, SettingADifferentTextFiresOnChangeOnce) {
    form.Box.OnChange = [this] { ++fired; };
    form.Box.SetText("0");
    EXPECT_EQ(fired, 0) << "the box starts with \"0\", so nothing changed";
    form.Box.SetText("12");
    EXPECT_EQ(fired, 1);
}

TEST_F(ControlsTest, SettingTheIndexFromCodeFiresNothingButChoosingDoes) {
    form.List.Items() = {"a", "b"};
    form.List.OnChange = [this] { ++fired; };
    form.List.SetItemIndex(1);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(form.List.Text(), "b");
    UserInput::Choose(form.List, 0);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(form.List.Text(), "a");
}

TEST_F(ControlsTest, AnIndexOutsideTheItemsSelectsNone) {
    form.List.Items() = {"a"};
    form.List.SetItemIndex(3);
    EXPECT_EQ(form.List.ItemIndex(), -1);
    EXPECT_EQ(form.List.Text(), "");
}

TEST_F(ControlsTest, ReplacingTheSelectedItemDropsTheSelection) {
    form.List.Items() = {"a", "b"};
    form.List.SetItemIndex(1);
    form.List.SetItem(0, "x");
    EXPECT_EQ(form.List.ItemIndex(), 1);
    form.List.SetItem(1, "y");
    EXPECT_EQ(form.List.ItemIndex(), -1);
}

TEST_F(ControlsTest, CheckingFiresOnlyOnAChangeOfState) {
    form.Check.OnClick = [this] { ++fired; };
    form.Check.SetChecked(false);
    EXPECT_EQ(fired, 0);
    UserInput::Toggle(form.Check);
    EXPECT_TRUE(form.Check.Checked());
    EXPECT_EQ(fired, 1);
}

TEST_F(ControlsTest, AnErrorInAHandlerShowsTheGeneralErrorBoxWithAFullStop) {
    form.Button.OnClick = [] { throw ERangeError(); };
    UserInput::Click(form.Button);
    ASSERT_EQ(platform.Boxes.size(), 1u);
    EXPECT_EQ(platform.Boxes[0].kind, HeadlessPlatform::Box::Kind::Error);
    EXPECT_EQ(platform.Boxes[0].text, "Range check error.");
}

TEST_F(ControlsTest, EndingTheProgramPassesThroughTheDispatcher) {
    form.Button.OnClick = [this] { platform.Halt(0); };
    EXPECT_THROW(UserInput::Click(form.Button), ProgramEnded);
    EXPECT_TRUE(platform.Boxes.empty());
}

TEST_F(ControlsTest, ADisabledButtonCannotBePressed) {
    form.Button.OnClick = [this] { ++fired; };
    form.Button.SetEnabled(false);
    UserInput::Click(form.Button);
    EXPECT_EQ(fired, 0);
}

TEST_F(ControlsTest, FindComponentFindsEveryControlByName) {
    EXPECT_EQ(form.FindComponent("Box"), &form.Box);
    EXPECT_EQ(form.FindComponent("Check"), &form.Check);
    EXPECT_EQ(form.FindComponent("Nothing"), nullptr);
}

}  // namespace
}  // namespace tovarin
