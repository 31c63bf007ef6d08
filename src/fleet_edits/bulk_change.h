#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fleet_edits/edit_plan.h"
#include "sheets/fleet.h"

// "Change many at once" on the Fleet page: one column of the chosen rows set to a value, raised by an amount or
// scaled by a percentage, worked out as a plan (fleet_edits/edit_plan.h) that the player previews before any file
// changes.
namespace tovarin {

enum class BulkOperation { SetTo, Add, ScaleByPercent };

struct BulkChange {
    SheetKind Kind = SheetKind::Ships;
    std::vector<std::size_t> Items;  // the rows: places in the catalogue's list of ships, guns or missiles
    std::size_t Column = 0;          // the column's place (fleet_edits/fleet_columns.h)
    BulkOperation Operation = BulkOperation::SetTo;
    std::string Amount;  // as typed: the value for "Set to", the number to add, the percentage to scale by
};

// Every value the change writes and every one it cannot, each checked as its box checks it: a result beyond what
// the field holds, a float that would not read back as the result, a column that holds a weapon's name where a
// number is to be added or scaled, a ship without that key. A value the change leaves as it is is not listed.
// Refused whole for an amount to add or scale by that is no number.
[[nodiscard]] EditPlan PlanBulkChange(const Fleet& fleet, const BulkChange& change);

// "Set to", "Add", "Scale by %", as the dialog lists them.
[[nodiscard]] std::string OperationName(BulkOperation operation);

}  // namespace tovarin
