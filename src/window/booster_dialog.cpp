#include "window/booster_dialog.h"

#include <array>
#include <cstddef>
#include <limits>
#include <string>

#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "ships/ship_layout.h"
#include "ui/booster_dialog_layout.h"
#include "ui/platform.h"
#include "window/form1.h"

namespace tovarin {

namespace {

// Which booster value each field of the dialog shows, in the order the fields are filled and stored.
struct BoosterField {
    TEdit TForm3::*Box;
    std::size_t Value;  // index into ShipState::BoosterValues
};

constexpr std::array<BoosterField, kBoosterValueCount> kBoosterFields{{
    {&TForm3::Edit1, 10},   // speed, booster in use
    {&TForm3::Edit2, 0},    // acceleration, standard drive
    {&TForm3::Edit3, 1},    // acceleration, afterburner/booster
    {&TForm3::Edit4, 7},    // Y, booster not in use
    {&TForm3::Edit5, 6},    // P, booster not in use
    {&TForm3::Edit6, 8},    // R, booster not in use
    {&TForm3::Edit7, 3},    // Y, booster in use
    {&TForm3::Edit8, 2},    // P, booster in use
    {&TForm3::Edit9, 4},    // R, booster in use
    {&TForm3::Edit10, 9},   // Y/P/R rate of change, booster not in use
    {&TForm3::Edit11, 5},   // Y/P/R rate of change, booster in use
    {&TForm3::Edit12, 11},  // booster fuel
}};

}  // namespace

TForm3::TForm3(Platform& platform, TForm1& mainForm) : TForm(platform), mainForm_(mainForm) {
    SetCaption("Edit Booster");
    ApplyLayout(BoosterDialogLayout());
    Edit3.OnChange = [this] { Edit3Change(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    // However the dialog closes, the ship keeps the values it closes on.
    OnCloseQuery = [this] {
        mainForm_.Ship.BoosterValues = keptValues_;
        return true;
    };
}

void TForm3::ShowBoosterDialog() {
    Reopen();  // its OK closed it the last time
    const ShipState& ship = mainForm_.Ship;
    keptValues_ = ship.BoosterValues;
    for (const BoosterField& field : kBoosterFields)
        (this->*field.Box).SetText(IntToStr(ship.BoosterValues[field.Value]));
    Label11.SetCaption(mainForm_.Edit2.Text());
}

// The booster's acceleration applies in both columns; the left one shows it greyed.
void TForm3::Edit3Change() { Label9.SetCaption(Edit3.Text()); }

// Each field is stored as soon as it passes the check of its float in the ship file, so a refused field (named by
// its label) keeps the ones before it and leaves the dialog open on the values still to be corrected.
void TForm3::Button1Click() {
    ShipState& ship = mainForm_.Ship;
    constexpr ValueLimits kBoosterValue{0, std::numeric_limits<std::int32_t>::max(), Scale::One};
    for (const BoosterField& field : kBoosterFields) {
        try {
            ship.BoosterValues[field.Value] = TypedValue((this->*field.Box).Text(), kBoosterValue);
        } catch (const Exception& refusal) {
            throw Exception(std::string(ShipLayout::kBoosterValues[field.Value].Title) + ": " + refusal.Message());
        }
    }
    keptValues_ = ship.BoosterValues;
    Close();
}

// Esc and the close box too: the ship keeps the values from before the dialog opened, also those that an OK
// stopped by a bad field had stored already.
void TForm3::Button2Click() { Close(); }

void TForm1::CheckBox2Click() {
    Button11.SetEnabled(CheckBox2.Checked());
    Ship.HasBooster = CheckBox2.Checked();
}

void TForm1::Button11Click() {
    Form3->ShowBoosterDialog();
    GetPlatform().ShowModal(*Form3);
}

}  // namespace tovarin
