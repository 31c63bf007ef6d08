#include "window/fleet_dialogs.h"

#include "fleet_edits/fleet_columns.h"
#include "mods/mod_folder.h"
#include "ui/fleet_dialogs_layout.h"
#include "window/form1.h"

namespace tovarin {

namespace {

// In the order of the drop-down list.
constexpr BulkOperation kOperations[] = {BulkOperation::SetTo, BulkOperation::Add, BulkOperation::ScaleByPercent};

std::string RowsInWords(SheetKind kind, std::size_t count) {
    const char* item = kind == SheetKind::Ships ? "ship" : kind == SheetKind::Guns ? "gun" : "missile";
    return std::to_string(count) + " " + item + (count == 1 ? "" : "s");
}

}  // namespace

TBulkChangeDialog::TBulkChangeDialog(Platform& platform, TForm1& mainForm, BulkChange change)
    : TForm(platform), mainForm_(mainForm), change_(std::move(change)) {
    SetCaption("Change Many at Once");
    ApplyLayout(BulkChangeDialogLayout());
    for (const BulkOperation operation : kOperations) ComboBox1.Items().push_back(OperationName(operation));
    ComboBox1.SetItemIndex(0);
    Button2.SetEnabled(false);
    ComboBox1.OnChange = [this] { ForgetPreview(); };
    Edit1.OnChange = [this] { ForgetPreview(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    Button3.OnClick = [this] { Close(); };
}

void TBulkChangeDialog::Open() {
    const std::string column = ColumnNames(mainForm_.FleetNow(), change_.Kind).at(change_.Column);
    Label1.SetCaption("Change " + column + " of " + RowsInWords(change_.Kind, change_.Items.size()) +
                      ". Scale by % takes 110 for a tenth more; a result between two whole numbers is rounded "
                      "half away from zero.");
}

void TBulkChangeDialog::ForgetPreview() {
    plan_.reset();
    Memo1.Lines().clear();
    Button2.SetEnabled(false);
}

void TBulkChangeDialog::Button1Click() {
    ForgetPreview();
    change_.Operation = kOperations[std::max(ComboBox1.ItemIndex(), 0)];
    change_.Amount = Edit1.Text();
    plan_ = mainForm_.PlanFleetChange(change_);
    Memo1.Lines() = PreviewLines(*plan_);
    Button2.SetEnabled(!plan_->Values.empty());
}

void TBulkChangeDialog::Button2Click() {
    if (!plan_) return;
    mainForm_.WriteFleetPlan(*plan_);
    Close();
}

TMakeModDialog::TMakeModDialog(Platform& platform, TForm1& mainForm) : TForm(platform), mainForm_(mainForm) {
    SetCaption("Make a Mod from My Changes");
    ApplyLayout(MakeModDialogLayout());
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Close(); };
}

// A name the mods folder cannot take leaves the dialog open on what was typed.
void TMakeModDialog::Button1Click() {
    mainForm_.MakeModOfChanges({Edit1.Text(), Edit2.Text(), Edit3.Text(), Edit4.Text(), ""});
    Close();
}

}  // namespace tovarin
