#include "app/form1.h"

namespace tovarin {

void TForm1::InstallPatch() {}
void TForm1::RemovePatch() {}

}  // namespace tovarin
