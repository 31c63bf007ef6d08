#include "app/form1.h"

namespace tovarin {

void TForm1::ComboBox6Change() {}
void TForm1::LoadGunSlots() {}
void TForm1::Button13Click() {}
void TForm1::Button12Click() {}
void TForm1::Button14Click() {}

}  // namespace tovarin
