#include "app/form1.h"

namespace tovarin {

void TForm1::ListBox1Click() {}
void TForm1::Button3Click() {}
void TForm1::ListBox2Click() {}
void TForm1::Button4Click() {}

}  // namespace tovarin
