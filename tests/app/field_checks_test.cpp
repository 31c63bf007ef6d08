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

    // Types the text into the box (a read-only box takes none), leaves it, and returns the messages shown.
    std::string TypeAndLeave(TEdit& box, const std::string& text) {
        platform.Boxes.clear();
        UserInput::Type(box, text);
        UserInput::Leave(box);
        std::string shown;
        for (const auto& message : platform.Boxes) shown += message.text;
        return shown;
    }
};

TEST_F(FieldChecksTest, NumberBoxesReplaceTextsThatAreNoIntegerAndByteBoxesCapAt255) {
    struct Row {
        std::string Box, Typed, Shown, After;
    };
    // clang-format off
    const Row rows[] = {
        {"Edit29", "", kNumericMessage, "2000000000"},    {"Edit29", "12a", kNumericMessage, "2000000000"},
        {"Edit29", "2147483648", kNumericMessage, "2000000000"}, {"Edit29", "2147483647", "", "2147483647"},
        {"Edit14", "256", "", "255"},                     {"Edit14", "255", "", "255"},
        {"Edit14", "-4", "", "-4"},                       {"Edit14", "x1", kByteMessage, "x1"},
        {"Edit14", "", kByteMessage, ""}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Box + " typed '" + row.Typed + "'");
        auto& box = dynamic_cast<TEdit&>(*form.FindComponent(row.Box));
        EXPECT_EQ(TypeAndLeave(box, row.Typed), row.Shown);
        EXPECT_EQ(box.Text(), row.After);
    }
}

TEST_F(FieldChecksTest, EveryEditableBoxIsCheckedByItsRuleAndTheAboutFieldsAreNot) {
    for (TControl* control : form.Components()) {
        auto* box = dynamic_cast<TEdit*>(control);
        if (box == nullptr) continue;
        const bool byteBox = box->Name() == "Edit14" || box->Name() == "Edit9" || box->Name() == "Edit49";
        const char* rule = byteBox ? kByteMessage : kNumericMessage;
        EXPECT_EQ(TypeAndLeave(*box, "q"), box->ReadOnly() ? "" : rule) << box->Name();
    }
}

}  // namespace
}  // namespace tovarin
