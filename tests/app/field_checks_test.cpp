#include <gtest/gtest.h>

#include "app/form1.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

constexpr const char* kNumericMessage = "Out of range. Please try a value less than 2000000001.";
constexpr const char* kByteMessage = "Out of range. Please try a value less than 256.";

struct FieldChecksTest : ::testing::Test {
    HeadlessPlatform platform{"/x/"};
    TForm1 form{platform};
};

// Number boxes replace a text that is no integer; byte boxes cap at 255 and refuse a text that is no integer. A
// check that fires on the way to a button (a click or its mnemonic) or a check box keeps its message and
// replacement, and the control is not pressed: the focus goes back to the box. A list takes the focus anyway.
TEST_F(FieldChecksTest, ACheckThatFiresStopsTheButtonThatTookTheFocus) {
    int saves = 0;
    form.Button2.OnClick = [&saves] { ++saves; };
    struct Row {
        std::string Box, Typed, How, Shown, After;
        bool Reached;
    };
    // clang-format off
    const Row rows[] = {
        {"Edit29", "", "leave", kNumericMessage, "2000000000", true}, {"Edit29", "12a", "leave", kNumericMessage, "2000000000", true},
        {"Edit29", "2147483648", "leave", kNumericMessage, "2000000000", true}, {"Edit29", "2147483647", "leave", "", "2147483647", true},
        {"Edit14", "256", "leave", "", "255", true},         {"Edit14", "255", "click", "", "255", true},
        {"Edit14", "-4", "leave", "", "-4", true},           {"Edit14", "x1", "leave", kByteMessage, "x1", true},
        {"Edit14", "", "leave", kByteMessage, "", true},
        {"Edit29", "abc", "click", kNumericMessage, "2000000000", false}, {"Edit29", "abc", "Alt+S", kNumericMessage, "2000000000", false},
        {"Edit14", "300", "click", "", "255", false},                     {"Edit14", "x", "Alt+S", kByteMessage, "x", false},
        {"Edit29", "abc", "toggle", kNumericMessage, "2000000000", false}, {"Edit29", "abc", "list", kNumericMessage, "2000000000", true},
        {"Edit29", "12", "click", "", "12", true},                        {"Edit29", "12", "Alt+S", "", "12", true}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Box + " typed '" + row.Typed + "', then " + row.How);
        auto& box = dynamic_cast<TEdit&>(*form.FindComponent(row.Box));
        platform.Boxes.clear();
        form.SetFocused(nullptr);
        const int savesBefore = saves;
        const bool autoslide = form.CheckBox1.Checked();
        UserInput::Type(box, row.Typed);
        TControl* target = &form.Button2;
        if (row.How == "click") UserInput::Click(form.Button2);
        if (row.How == "Alt+S") UserInput::PressMnemonic(form, 's');
        if (row.How == "toggle") UserInput::Toggle(*static_cast<TCheckBox*>(target = &form.CheckBox1));
        if (row.How == "list") UserInput::Select(*static_cast<TListBox*>(target = &form.ListBox1), -1);
        if (row.How == "leave") UserInput::Leave(box), target = form.Focused();
        EXPECT_EQ(platform.Boxes.empty() ? "" : platform.Boxes[0].text, row.Shown);
        EXPECT_EQ(box.Text(), row.After);
        EXPECT_EQ(form.Focused(), row.Reached ? target : &box);
        EXPECT_EQ(saves - savesBefore, row.Reached && target == &form.Button2 ? 1 : 0);
        EXPECT_EQ(form.CheckBox1.Checked(), autoslide) << "autoslide toggled";
    }
}

// Every editable box is checked by its rule when it loses the focus; the About page's read-only boxes are not.
TEST_F(FieldChecksTest, EveryEditableBoxIsCheckedByItsRuleAndTheAboutFieldsAreNot) {
    for (TControl* control : form.Components()) {
        auto* box = dynamic_cast<TEdit*>(control);
        if (box == nullptr) continue;
        platform.Boxes.clear();
        UserInput::Type(*box, "q");
        UserInput::Leave(*box);
        const bool byteBox = box->Name() == "Edit14" || box->Name() == "Edit9" || box->Name() == "Edit49";
        const std::string rule = box->ReadOnly() ? "" : byteBox ? kByteMessage : kNumericMessage;
        EXPECT_EQ(platform.Boxes.empty() ? "" : platform.Boxes[0].text, rule) << box->Name();
    }
}

// "&Launch" and "Autos&lide" share their letter: while both show, each press moves the focus on to the next of
// them and presses neither; where only one shows, the letter presses it. A label's letter focuses its list.
TEST_F(FieldChecksTest, ALetterSharedByShownControlsMovesTheFocusAndPressesNone) {
    UserInput::Type(form.Edit1, "5");
    for (TControl* next : std::initializer_list<TControl*>{&form.CheckBox1, &form.Button1, &form.CheckBox1}) {
        EXPECT_TRUE(UserInput::PressMnemonic(form, 'l'));
        EXPECT_EQ(form.Focused(), next);
    }
    EXPECT_FALSE(form.CheckBox1.Checked());
    EXPECT_TRUE(platform.Launched.empty());
    EXPECT_TRUE(UserInput::PressMnemonic(form, 'a'));
    EXPECT_EQ(form.Focused(), &form.ComboBox1);
    EXPECT_FALSE(UserInput::PressMnemonic(form, 'q'));

    UserInput::ShowPage(form.PageControl1, 3);  // "Guns"
    EXPECT_TRUE(UserInput::PressMnemonic(form, 'l'));
    EXPECT_EQ(platform.Launched.size(), 1u);
}

}  // namespace
}  // namespace tovarin
