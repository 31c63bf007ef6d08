#include "ui/booster_dialog_layout.h"

namespace tovarin {

const std::vector<LayoutRow>& BoosterDialogLayout() {
    static const std::vector<LayoutRow> rows = {
        {"Button1", ControlKind::Button, "", 130, 168, 75, 25, "OK", 12},
    };
    return rows;
}

}  // namespace tovarin
