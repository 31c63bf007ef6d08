#include <gtest/gtest.h>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

using testkit::GameFolder;

struct FieldChecksTest : ::testing::Test {
    GameFolder game;
    HeadlessPlatform platform{game.Folder()};
    Application app{platform};
    void SetUp() override { ASSERT_EQ(app.Start(), std::nullopt); }
    TForm1& Form() { return app.Form1(); }

    // Types the text into the box, leaves it, and returns the messages shown.
    std::vector<std::string> TypeAndLeave(TEdit& box, const std::string& text) {
        platform.Boxes.clear();
        UserInput::Type(box, text);
        UserInput::Leave(box);
        std::vector<std::string> shown;
        for (const auto& box : platform.Boxes) shown.push_back(box.text);
        return shown;
    }
};

constexpr const char* kNumericMessage = "Out of range. Please try a value less than 2000000001.";
constexpr const char* kByteMessage = "Out of range. Please try a value less than 256.";

TEST_F(FieldChecksTest, NumericBoxesReplaceTextsThatAreNoInteger) {
    struct Row {
        std::string typed;
        bool refused;
    };
    const Row rows[] = {{"", true}, {"12a", true}, {"1 ", true}, {"2147483648", true}, {"abc", true},
                        {"2147483647", false}, {" 42", false}, {"-7", false}, {"$1F", false}, {"+3", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE("typed '" + row.typed + "'");
        const auto shown = TypeAndLeave(Form().Edit29, row.typed);
        if (row.refused) {
            EXPECT_EQ(shown, std::vector<std::string>{kNumericMessage});
            EXPECT_EQ(Form().Edit29.Text(), "2000000000");
        } else {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(Form().Edit29.Text(), row.typed);
        }
    }
}

TEST_F(FieldChecksTest, ByteBoxesCapAtTwoHundredFiftyFiveAndKeepBadTexts) {
    struct Row {
        std::string typed;
        std::vector<std::string> shown;
        std::string after;
    };
    const Row rows[] = {{"300", {}, "255"},          {"255", {}, "255"}, {"-4", {}, "-4"},
                        {"x1", {kByteMessage}, "x1"}, {"", {kByteMessage}, ""}};
    for (TEdit* box : {&Form().Edit14, &Form().Edit9, &Form().Edit49}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(box->Name() + " typed '" + row.typed + "'");
            EXPECT_EQ(TypeAndLeave(*box, row.typed), row.shown);
            EXPECT_EQ(box->Text(), row.after);
        }
    }
}

TEST_F(FieldChecksTest, EveryNumericBoxIsCheckedByTheRightRule) {
    const std::vector<std::string> byteBoxes{"Edit14", "Edit9", "Edit49"};
    for (TControl* control : Form().Components()) {
        auto* box = dynamic_cast<TEdit*>(control);
        if (box == nullptr || box->ReadOnly() || box->Name() == "Edit44" || box->Name() == "Edit45") continue;
        SCOPED_TRACE(box->Name());
        const bool byteBox = std::find(byteBoxes.begin(), byteBoxes.end(), box->Name()) != byteBoxes.end();
        const auto shown = TypeAndLeave(*box, "q");
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], byteBox ? kByteMessage : kNumericMessage);
    }
}

TEST_F(FieldChecksTest, TheAboutFieldsAreNotChecked) {
    for (TEdit* box : {&Form().Edit44, &Form().Edit45}) {
        platform.Boxes.clear();
        UserInput::Leave(*box);
        EXPECT_TRUE(platform.Boxes.empty()) << box->Name();
    }
}

}  // namespace
}  // namespace tovarin
