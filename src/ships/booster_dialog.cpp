#include "ships/booster_dialog.h"

#include "app/form1.h"
#include "ui/booster_dialog_layout.h"

namespace tovarin {

TForm3::TForm3(Platform& platform, TForm1& mainForm) : TForm(platform), mainForm_(mainForm) {
    SetCaption("Edit Booster");
    ApplyLayout(BoosterDialogLayout());
    Edit3.OnChange = [this] { Edit3Change(); };
    Button1.OnClick = [this] { Button1Click(); };
}

void TForm3::ShowBoosterDialog() {}
void TForm3::Edit3Change() {}
void TForm3::Button1Click() {}

void TForm1::CheckBox2Click() {}
void TForm1::Button11Click() {}

}  // namespace tovarin
