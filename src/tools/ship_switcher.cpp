#include "app/form1.h"

namespace tovarin {

// Both switcher lists: one entry per catalogue ship, in catalogue order; a ship whose switch entry is not
// exactly its own name shows as "name = partner".
void TForm1::BuildSwitcherLists() {
    ListBox4.Clear();
    Catalogue.ReadSection("ships", ListBox4.Items());
    for (std::string& entry : ListBox4.Items()) {
        const std::string partner = SwitchFile.ReadString("swships", entry, "");
        if (partner != entry) entry += " = " + partner;
    }
    ListBox5.Clear();
    ListBox5.Items() = ListBox4.Items();
}

void TForm1::Button10Click() {}

}  // namespace tovarin
