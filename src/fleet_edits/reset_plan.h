#pragma once

#include <vector>

#include "fleet_edits/edit_plan.h"
#include "sheets/fleet.h"

// "Reset to original" on the Fleet page: the chosen values given back their original bytes from the kept originals
// ("Tovarin Backup"), and no other byte, worked out as a plan (fleet_edits/edit_plan.h) written as one change.
namespace tovarin {

// Each value whose bytes differ from its original's, with its text before and after; a value already as its
// original writes nothing and is not listed. Autoslide and the booster are put back as the ship's switches (the
// booster with its original values). Refused, value by value: a mount or part the ship or its original lacks, a
// ship or original that cannot be read, and a ship that would not load again.
[[nodiscard]] EditPlan PlanReset(const Fleet& fleet, const std::vector<CellAddress>& cells);

}  // namespace tovarin
