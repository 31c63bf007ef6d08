#include "app/form1.h"

namespace tovarin {

void TForm1::ComboBox5Change() {}
void TForm1::LoadMissile(std::uint8_t /*index*/) {}
void TForm1::ShowMissileFlags(std::uint16_t /*flags*/) {}
std::uint16_t TForm1::CollectMissileFlags() const { return 0; }
void TForm1::CheckBox3Click() {}
void TForm1::Button8Click() {}

}  // namespace tovarin
