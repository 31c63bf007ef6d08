#include "ui/fleet_dialogs_layout.h"

#include "ui/layout_rows.h"

namespace tovarin {

namespace {

constexpr int kBoxHeight = 21;

// A box for a text of any kind, empty at first.
constexpr LayoutRow TextBox(std::string_view name, int left, int top, int width, int tabOrder,
                            std::string_view text = "") {
    return {name, ControlKind::Edit, "", left, top, width, kBoxHeight, text, tabOrder};
}

}  // namespace

// What changes stands at the top; the preview lists every value it writes, and every one it cannot, before OK
// writes them. Enter previews; OK is pressed on purpose.
const std::vector<LayoutRow>& BulkChangeDialogLayout() {
    using namespace rows;
    static const std::vector<LayoutRow> layout = {
        WrappedLabel("Label1", "", 8, 8, 404, 26, ""),
        Prompt("Label2", "", 8, 42, 70, "&Change:", "ComboBox1"),
        DropDown("ComboBox1", "", 80, 38, 100, 0, 3),
        Prompt("Label3", "", 192, 42, 50, "&Amount:", "Edit1"),
        TextBox("Edit1", 244, 38, 80, 1),
        PressedByEnter(Button("Button1", "", 332, 37, 80, 23, "&Preview", 2)),
        Spoken(HelpText("Memo1", "", 8, 68, 404, 190, "", 3), "What the change writes"),
        Button("Button2", "", 256, 268, 75, 25, "OK", 4),
        PressedByEsc(Button("Button3", "", 337, 268, 75, 25, "Cancel", 5)),
    };
    return layout;
}

const std::vector<LayoutRow>& MakeModDialogLayout() {
    using namespace rows;
    static const std::vector<LayoutRow> layout = {
        Prompt("Label1", "", 8, 12, 80, "&Name:", "Edit1"),
        TextBox("Edit1", 92, 8, 240, 0),
        Prompt("Label2", "", 8, 40, 80, "&Version:", "Edit2"),
        TextBox("Edit2", 92, 36, 80, 1, "1.0"),
        Prompt("Label3", "", 8, 68, 80, "A&uthor:", "Edit3"),
        TextBox("Edit3", 92, 64, 240, 2),
        Prompt("Label4", "", 8, 96, 80, "&Description:", "Edit4"),
        TextBox("Edit4", 92, 92, 240, 3),
        PressedByEnter(Button("Button1", "", 176, 136, 75, 25, "OK", 4)),
        PressedByEsc(Button("Button2", "", 257, 136, 75, 25, "Cancel", 5)),
    };
    return layout;
}

}  // namespace tovarin
