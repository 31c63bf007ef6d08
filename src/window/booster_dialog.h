#pragma once

#include <array>
#include <cstdint>

#include "ships/ship_state.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tovarin {

class TForm1;

// The "Edit Booster" dialog: the twelve booster values of the loaded ship, shown modally from the Ships tab.
// It changes only the values in memory; the ship's save writes them.
class TForm3 : public TForm {
public:
    TForm3(Platform& platform, TForm1& mainForm);

    // Left column, "Booster deactivated*"
    TLabel Label11{*this, "Label11"};  // the main window's standard speed, grey, not shown
    TEdit Edit2{*this, "Edit2"};       // acceleration, standard drive
    TLabel Label9{*this, "Label9"};    // grey copy of Edit3
    TEdit Edit4{*this, "Edit4"};       // Y, booster not in use
    TEdit Edit5{*this, "Edit5"};       // P, booster not in use
    TEdit Edit6{*this, "Edit6"};       // R, booster not in use
    TEdit Edit10{*this, "Edit10"};     // Y/P/R rate of change, booster not in use
    // Right column, "Booster activated"
    TEdit Edit1{*this, "Edit1"};        // speed, booster in use
    TEdit Edit3{*this, "Edit3"};        // acceleration, afterburner/booster
    TEdit Edit7{*this, "Edit7"};        // Y, booster in use
    TEdit Edit8{*this, "Edit8"};        // P, booster in use
    TEdit Edit9{*this, "Edit9"};        // R, booster in use
    TEdit Edit11{*this, "Edit11"};      // Y/P/R rate of change, booster in use
    TEdit Edit12{*this, "Edit12"};      // booster fuel
    TLabel Label10{*this, "Label10"};   // the footnote
    TButton Button1{*this, "Button1"};  // "OK", also pressed by Enter
    TButton Button2{*this, "Button2"};  // "Cancel", also pressed by Esc; the close box cancels too

    // Opens the dialog again and fills the fields from the loaded ship's booster values, before it is shown.
    void ShowBoosterDialog();
    void Edit3Change();
    void Button1Click();
    void Button2Click();

private:
    TForm1& mainForm_;
    // The values the dialog closes on: those it opened on, until OK stores new ones.
    std::array<std::int32_t, kBoosterValueCount> keptValues_{};
};

}  // namespace tovarin
