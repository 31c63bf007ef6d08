#pragma once

#include <optional>

#include "fleet_edits/bulk_change.h"
#include "ui/controls.h"
#include "ui/form.h"

// The Fleet page's dialogs, each made when it is opened and shown modally (Platform::ShowDialog).
namespace tovarin {

class TForm1;

// "Change Many at Once": one column of the chosen rows set to a value, raised by an amount or scaled by a
// percentage. Preview lists every value the change writes and every one it cannot; OK writes exactly the previewed
// values, as one step of the undo history; Cancel writes nothing. A change of the operation or the amount takes the
// preview away again, so that OK never writes what the player has not seen.
class TBulkChangeDialog : public TForm {
public:
    // `change`: the rows and the column; the dialog sets its operation and amount.
    TBulkChangeDialog(Platform& platform, TForm1& mainForm, BulkChange change);

    TLabel Label1{*this, "Label1"};           // what changes: the column and how many rows
    TLabel Label2{*this, "Label2"};           // "&Change:"
    TComboBox ComboBox1{*this, "ComboBox1"};  // "Set to", "Add", "Scale by %"
    TLabel Label3{*this, "Label3"};           // "&Amount:"
    TEdit Edit1{*this, "Edit1", ""};          // the value, the number to add or the percentage
    TButton Button1{*this, "Button1"};        // "&Preview", also pressed by Enter
    TMemo Memo1{*this, "Memo1"};              // the count, each change, each refusal
    TButton Button2{*this, "Button2"};        // "OK": writes the preview, greyed until there is one to write
    TButton Button3{*this, "Button3"};        // "Cancel", also pressed by Esc

    // Says what changes, before the dialog is shown.
    void Open();
    void Button1Click();
    void Button2Click();

private:
    void ForgetPreview();

    TForm1& mainForm_;
    BulkChange change_;
    std::optional<EditPlan> plan_;
};

// "Make a Mod from My Changes": the mod's name, version, author and description; OK makes the mod as "tovarin-cli
// mods make NAME --from-changes" does and says where.
class TMakeModDialog : public TForm {
public:
    TMakeModDialog(Platform& platform, TForm1& mainForm);

    TLabel Label1{*this, "Label1"};
    TEdit Edit1{*this, "Edit1", ""};  // the name, which names its folder in "Tovarin Mods"
    TLabel Label2{*this, "Label2"};
    TEdit Edit2{*this, "Edit2", ""};  // the version, "1.0" at first
    TLabel Label3{*this, "Label3"};
    TEdit Edit3{*this, "Edit3", ""};  // the author
    TLabel Label4{*this, "Label4"};
    TEdit Edit4{*this, "Edit4", ""};    // the description
    TButton Button1{*this, "Button1"};  // "OK", also pressed by Enter
    TButton Button2{*this, "Button2"};  // "Cancel", also pressed by Esc

    void Button1Click();

private:
    TForm1& mainForm_;
};

}  // namespace tovarin
