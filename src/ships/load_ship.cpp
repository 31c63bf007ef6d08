#include "app/form1.h"

namespace tovarin {

void TForm1::ComboBox1Change() {}
void TForm1::LoadShip(const std::string& /*key*/) {}
void TForm1::LocateShipChunks(const std::string& /*path*/) {}
void TForm1::ScanGunMounts() {}
void TForm1::ScanMissileMounts() {}

}  // namespace tovarin
