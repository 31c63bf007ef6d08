#include "app/form1.h"

namespace tovarin {

void TForm1::ComboBox4Change() {}
void TForm1::LoadGun(std::uint8_t /*index*/) {}
void TForm1::Button7Click() {}

}  // namespace tovarin
