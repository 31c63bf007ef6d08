#include "app/form1.h"

namespace tovarin {

void TForm1::Button2Click() {}
void TForm1::InsertBoosterChunk(const std::string& /*shipPath*/, const std::string& /*tempPath*/) {}
void TForm1::RemoveBoosterChunk(const std::string& /*shipPath*/, const std::string& /*tempPath*/) {}

}  // namespace tovarin
