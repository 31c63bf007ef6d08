#include "app/form1.h"

namespace tovarin {

void TForm1::Button6Click() {}
void TForm1::Button5Click() {}
void TForm1::Button9Click() {}
void TForm1::ExportProfile(const std::string& /*path*/) {}
void TForm1::ImportProfile(const std::string& /*path*/) {}

}  // namespace tovarin
