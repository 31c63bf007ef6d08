#include <string>

#include "gamefiles/case_fold.h"
#include "gamefiles/errors.h"
#include "gamefiles/numbers.h"
#include "mods/fleet_table.h"
#include "sheets/refusal.h"
#include "window/fleet_rows.h"
#include "window/form1.h"

// The "Fleet" page: every ship, gun or missile at a glance in one grid, a column per value the sheets write, each
// value that differs from its kept original marked, with where it came from in its tooltip. It reads the
// installation again whenever it is shown and after any change of the game's files made while it is shown.
namespace tovarin {

namespace {

constexpr SheetKind kTables[] = {SheetKind::Ships, SheetKind::Guns, SheetKind::Missiles};
constexpr const char* kRowWords[][2] = {{"ship", "ships"}, {"gun", "guns"}, {"missile", "missiles"}};

SheetKind ChosenTable(const TComboBox& list) {
    const int index = list.ItemIndex();
    return index >= 0 && index < 3 ? kTables[index] : SheetKind::Ships;
}

// "8 ships, 3 shown"; "1 gun".
std::string Count(SheetKind kind, std::size_t rows, std::size_t shown) {
    const auto& words = kRowWords[static_cast<int>(kind)];
    std::string text = IntToStr(static_cast<std::int32_t>(rows)) + " " + words[rows == 1 ? 0 : 1];
    if (shown != rows) text += ", " + IntToStr(static_cast<std::int32_t>(shown)) + " shown";
    return text;
}

}  // namespace

void TForm1::ShowFleet() {
    if (ComboBox8.Items().empty()) ComboBox8.Items() = {"Ships", "Guns", "Missiles"};
    if (ComboBox8.ItemIndex() < 0) ComboBox8.SetItemIndex(0);
    std::unique_ptr<FleetGridRows> rows;
    std::string problem;
    try {
        const ModInstallation game(FleetOf({GameFolder, Catalogue, SwitchFile}));
        rows = std::make_unique<FleetGridRows>(FleetTable(game, ChosenTable(ComboBox8)));
    } catch (const Refusal& refusal) {
        problem = refusal.what();
    } catch (const Exception& error) {
        problem = ErrorText(error) + ".";
    }
    // The grid lets go of the rows it shows, and of the filter over them, before they go.
    Grid1.SetFilter({});
    Grid1.SetRows(rows ? rows->Columns() : std::vector<GridColumn>{}, rows.get());
    FleetRows = std::move(rows);
    FilterFleet();
    if (!problem.empty()) Label62.SetCaption("The fleet cannot be shown: " + problem);
}

void TForm1::FilterFleet() {
    const FleetGridRows* rows = FleetRows.get();
    const std::string wanted = FoldedCase(Edit50.Text());
    const bool changedOnly = CheckBox5.Checked();
    Grid1.SetFilter([rows, wanted, changedOnly](std::size_t row) {
        if (changedOnly && !rows->Table().RowChanged(row)) return false;
        return wanted.empty() || FoldedCase(rows->Table().Name(row)).find(wanted) != std::string::npos;
    });
    if (rows != nullptr) Label62.SetCaption(Count(rows->Table().Kind(), rows->RowCount(), Grid1.RowCount()));
}

void TForm1::ComboBox8Change() { ShowFleet(); }

void TForm1::Edit50Change() { FilterFleet(); }

void TForm1::CheckBox5Click() { FilterFleet(); }

}  // namespace tovarin
