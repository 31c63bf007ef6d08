#include <algorithm>
#include <functional>

#include "fleet_edits/bulk_change.h"
#include "fleet_edits/edit_plan.h"
#include "fleet_edits/reset_plan.h"
#include "fleet_edits/value_writes.h"
#include "gamefiles/errors.h"
#include "gamefiles/folder_lock.h"
#include "mods/mod_installation.h"
#include "mods/mod_making.h"
#include "profiles/profile_keys.h"
#include "sheets/refusal.h"
#include "ui/fleet_dialogs_layout.h"
#include "ui/platform.h"
#include "window/fleet_dialogs.h"
#include "window/fleet_rows.h"
#include "window/form1.h"

// What the Fleet page writes: a cell, a reset to the originals, a change of many values at once, each through the
// core's function that the command line uses too, each one step of the undo history; and a mod made of the player's
// own changes.
namespace tovarin {

namespace {

// The core's refusals are the window's errors: shown in the error box, which ends them with its own full stop.
void AsWindowError(const std::function<void()>& step) {
    try {
        step();
    } catch (const Refusal& refusal) {
        std::string message = refusal.what();
        if (message.ends_with('.')) message.pop_back();
        throw Exception(message);
    }
}

bool Holds(const std::vector<std::string>& items, const std::string& name) {
    return std::find(items.begin(), items.end(), name) != items.end();
}

// The items of these cells of one kind, each once.
std::vector<std::string> ItemsOf(const std::vector<CellAddress>& cells, SheetKind kind) {
    std::vector<std::string> items;
    for (const CellAddress& cell : cells) {
        if (cell.Kind == kind && !Holds(items, cell.ItemName)) items.push_back(cell.ItemName);
    }
    return items;
}

std::vector<std::string> ItemsOf(const EditPlan& plan, SheetKind kind) {
    std::vector<CellAddress> cells;
    for (const PlannedValue& value : plan.Values) cells.push_back(value.Address);
    return ItemsOf(cells, kind);
}

constexpr SheetKind kKinds[] = {SheetKind::Ships, SheetKind::Guns, SheetKind::Missiles};

std::string Capitalised(std::string text) {
    if (!text.empty()) text.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    return text;
}

}  // namespace

Fleet TForm1::FleetNow() const { return FleetOf({GameFolder, Catalogue, SwitchFile}); }

bool TForm1::MayWriteFleetItems(SheetKind kind, const std::vector<std::string>& items) {
    const auto asked = [&](Editor editor, const TComboBox& list) {
        return !Holds(items, list.Text()) || !Modified(editor) || AskToSave(editor);
    };
    switch (kind) {
        case SheetKind::Ships:
            return asked(Editor::Ship, ComboBox1) && asked(Editor::GunSlots, ComboBox6);
        case SheetKind::Guns:
            return asked(Editor::Gun, ComboBox4);
        case SheetKind::Missiles:
            return asked(Editor::Missile, ComboBox5);
    }
    return true;
}

// The gun slot table, once read, loads the ship too (as after a restore).
void TForm1::ReloadFleetItems(SheetKind kind, const std::vector<std::string>& items) {
    if (kind == SheetKind::Ships && (Holds(items, ComboBox1.Text()) || Holds(items, ComboBox6.Text()))) {
        ComboBox6.SetItemIndex(ComboBox1.ItemIndex());
        if (Button14.Enabled()) {
            ComboBox6Change();
        } else {
            ComboBox1Change();
        }
    } else if (kind == SheetKind::Guns && Holds(items, ComboBox4.Text())) {
        ComboBox4Change();
    } else if (kind == SheetKind::Missiles && Holds(items, ComboBox5.Text())) {
        ComboBox5Change();
    }
}

bool TForm1::WriteFleetCell(const CellAddress& cell, const std::string& text) {
    if (!MayWriteFleetItems(cell.Kind, {cell.ItemName})) return false;
    {
        const ChangeRecording step = RecordStep("change of " + cell.Name());
        AsWindowError([&] { WriteCell(FleetNow(), cell, text); });
    }
    ReloadFleetItems(cell.Kind, {cell.ItemName});
    ShowStatus(cell.Name() + " set to " + text);
    return true;
}

bool TForm1::Grid1EditCommit(std::size_t row, std::size_t column, const std::string& text) {
    if (!FleetRows || column < FleetRows->Table().LeadingColumns()) return false;
    // The value the cell shows given back (the weapon it mounts chosen again, Enter on a number left as it was) is no
    // change: nothing is asked about, written or added to the undo, and the status line does not say it was set.
    if (text == FleetRows->Table().Value(row, column)) return true;
    if (!WriteFleetCell(FleetRows->Table().Address(row, column), text)) return false;
    ShowFleet();
    return true;
}

// A ship's gun or missile mount takes one of the catalogue's names, as the Ships tab's lists offer them.
std::vector<std::string> TForm1::Grid1EditChoices(std::size_t column) const {
    if (!FleetRows || FleetRows->Table().Kind() != SheetKind::Ships) return {};
    const std::size_t leading = FleetRows->Table().LeadingColumns();
    const std::vector<ProfileKey> keys = ProfileKeys(kMaxGunMounts, kMaxMissileMounts);
    if (column < leading || column - leading >= keys.size()) return {};
    const ProfilePart part = keys[column - leading].Part;
    if (part == ProfilePart::Gun) return ComboBox2.Items();
    if (part == ProfilePart::Missile) return ComboBox3.Items();
    return {};
}

void TForm1::ResetToOriginal(const std::vector<CellAddress>& cells) {
    for (const SheetKind kind : kKinds) {
        if (!MayWriteFleetItems(kind, ItemsOf(cells, kind))) return;
    }
    EditPlan plan;
    AsWindowError([&] { plan = PlanReset(FleetNow(), cells); });
    WriteFleetPlan(plan);
    if (plan.Refused.empty()) return;
    std::string text = "These values were not put back:";
    for (const RefusedValue& refused : plan.Refused) text += "\n" + refused.Message;
    GetPlatform().ShowMessage(text);
}

void TForm1::ChangeManyAtOnce(SheetKind kind, std::vector<std::size_t> items, std::size_t column) {
    std::vector<std::string> names;
    const Fleet fleet = FleetNow();
    const std::vector<std::string>& listed = kind == SheetKind::Ships  ? fleet.Ships
                                             : kind == SheetKind::Guns ? fleet.Guns
                                                                       : fleet.Missiles;
    for (const std::size_t item : items) {
        if (item < listed.size()) names.push_back(listed[item]);
    }
    if (!MayWriteFleetItems(kind, names)) return;
    TBulkChangeDialog dialog(GetPlatform(), *this, {kind, std::move(items), column, BulkOperation::SetTo, ""});
    dialog.Open();
    GetPlatform().ShowDialog(dialog, kBulkChangeClientWidth, kBulkChangeClientHeight);
}

EditPlan TForm1::PlanFleetChange(const BulkChange& change) const {
    EditPlan plan;
    AsWindowError([&] { plan = PlanBulkChange(FleetNow(), change); });
    return plan;
}

void TForm1::WriteFleetPlan(const EditPlan& plan) {
    if (plan.Files.empty()) {
        ShowStatus("Nothing to write: every value is as the " + plan.Name + " would leave it");
        return;
    }
    {
        const ChangeRecording step = RecordStep(plan.Name);
        AsWindowError([&] { (void)ApplyEditPlan(GameFolder, plan); });
    }
    for (const SheetKind kind : kKinds) ReloadFleetItems(kind, ItemsOf(plan, kind));
    const std::size_t files = plan.Files.size();
    ShowStatus(Capitalised(plan.Name) + " written: " + plan.Files.front().File +
               (files > 1 ? " and " + std::to_string(files - 1) + " more" : ""));
}

void TForm1::MakeModFromMyChanges() {
    TMakeModDialog dialog(GetPlatform(), *this);
    GetPlatform().ShowDialog(dialog, kMakeModClientWidth, kMakeModClientHeight);
}

void TForm1::MakeModOfChanges(const ModInfo& info) {
    MadeMod made;
    {
        const GameFolderLock lock(GameFolder);  // the mods folder and its load order, by the folder's one writer
        AsWindowError([&] { made = MakeMod(ModInstallation(FleetNow()), info, true); });
    }
    ShowMods();
    std::string text = Capitalised(MadeModText(made, GameFile(made.Folder))) + ".";
    if (made.WhyOff.empty()) text += " It is switched on, last on the Mods page.";
    for (const std::string& cell : made.LeftOut) text += "\n" + LeftOutText(cell) + ".";
    GetPlatform().ShowMessage(text);
}

}  // namespace tovarin
