#include "ui/booster_dialog_layout.h"

#include "ui/layout_rows.h"

namespace tovarin {

namespace {

// The dialog's values are plain numbers in a table, so its boxes are frameless and one text line high.
constexpr int kCellHeight = 13;
constexpr int kCellWidth = 49;
constexpr int kTripleWidth = 22;

// Column "Booster deactivated*" spans x 132 to 230, column "Booster activated" x 236 to 327; single values and
// the Y/P/R triples stand centred in their column. The left heading takes all the room between the rules (x 130 to
// 232): it is 99 pixels wide in the design face, and wider in most others.
constexpr int kOffValue = 156;
constexpr int kOffTriple = 146;
constexpr int kOnValue = 257;
constexpr int kOnTriple = 246;
constexpr int kTripleStep = 24;

constexpr LayoutRow Cell(std::string_view name, int left, int top, int width, int tabOrder) {
    return rows::WithoutFrame(rows::NumberBox(name, "", left, top, width, kCellHeight, tabOrder));
}

// A grey copy of another value, standing in a cell of the left column.
constexpr LayoutRow Copy(std::string_view name, int top) {
    return rows::GreyOut(rows::Label(name, "", kOffValue, top, kCellWidth, "0"));
}

}  // namespace

const std::vector<LayoutRow>& BoosterDialogLayout() {
    using namespace rows;
    static const std::vector<LayoutRow> layout = {
        CentreText(Label("Label1", "", 130, 8, 102, "Booster deactivated*")),
        CentreText(Label("Label2", "", 236, 8, 91, "Booster activated")),
        DrawnRaised(Rule("Bevel1", "", 128, 8, 2, 114)),
        DrawnRaised(Rule("Bevel2", "", 232, 8, 2, 114)),

        // The tab order runs down the left column, then down the right one. A screen reader names each cell by its
        // row and its column.
        Label("Label3", "", 8, 28, 116, "Speed:"),
        Hide(Copy("Label11", 28)),
        Spoken(Cell("Edit1", kOnValue, 28, kCellWidth, 5), "Speed, booster activated"),

        Label("Label4", "", 8, 44, 116, "Accell. Standard Drive:"),
        Spoken(Cell("Edit2", kOffValue, 44, kCellWidth, 0), "Accell. Standard Drive, booster deactivated"),

        Label("Label5", "", 8, 60, 116, "Accell. Aftb./Booster:"),
        Copy("Label9", 60),
        Spoken(Cell("Edit3", kOnValue, 60, kCellWidth, 6), "Accell. Aftb./Booster, booster activated"),

        Label("Label6", "", 8, 76, 116, "Y/P/R:"),
        Spoken(Cell("Edit4", kOffTriple, 76, kTripleWidth, 1), "Yaw, booster deactivated"),
        Spoken(Cell("Edit5", kOffTriple + kTripleStep, 76, kTripleWidth, 2), "Pitch, booster deactivated"),
        Spoken(Cell("Edit6", kOffTriple + 2 * kTripleStep, 76, kTripleWidth, 3), "Roll, booster deactivated"),
        Spoken(Cell("Edit7", kOnTriple, 76, kTripleWidth, 7), "Yaw, booster activated"),
        Spoken(Cell("Edit8", kOnTriple + kTripleStep, 76, kTripleWidth, 8), "Pitch, booster activated"),
        Spoken(Cell("Edit9", kOnTriple + 2 * kTripleStep, 76, kTripleWidth, 9), "Roll, booster activated"),

        Label("Label7", "", 8, 92, 116, "YPR rate of change:"),
        Spoken(Cell("Edit10", kOffValue, 92, kCellWidth, 4), "YPR rate of change, booster deactivated"),
        Spoken(Cell("Edit11", kOnValue, 92, kCellWidth, 10), "YPR rate of change, booster activated"),

        Label("Label8", "", 8, 108, 116, "Booster fuel:"),
        Spoken(Cell("Edit12", kOnValue, 108, kCellWidth, 11), "Booster fuel, booster activated"),

        WrappedLabel("Label10", "", 8, 130, 319, 39,
                     "* These values are used while the booster is attached but not in use. Once the booster is "
                     "used up, the values from the main dialog are used."),
        PressedByEnter(Button("Button1", "", 88, 172, 75, 25, "OK", 12)),
        PressedByEsc(Button("Button2", "", 171, 172, 75, 25, "Cancel", 13)),
    };
    return layout;
}

}  // namespace tovarin
