#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/numbers.h"
#include "ui/controls.h"

// What the gun and missile editors share: a record's float fields, each shown in one box, located through the
// catalogue's record position of the weapon and edited in place in the game's table file.
namespace tovarin {

class TForm1;

// A float of a weapon record: where it lies from the record's base, how the box scales it, and which box
// shows it. The caption names the field in the program's messages.
struct FloatField {
    std::string_view Caption;
    std::int32_t Offset;
    Scale Scaling;
    TEdit TForm1::*Box;
};

// The position of the record of the weapon with this index of the list in its table file, from the catalogue
// section (GunData, MissData) under the index. When the key is missing, holds no number or names no position
// inside a file (0 or less: the record would overlay the file's header), the player is told that the weapon
// cannot be edited and the result is nullopt.
[[nodiscard]] std::optional<std::int32_t> FindRecordBase(TForm1& form, const TComboBox& list, int index,
                                                         const std::string& section);

// Shows the field's stored value in its box. A stored float with no integer to show (too large, infinite, not
// a number) empties the box instead and returns false, so the rest of the record can still load.
bool ShowFloatField(TForm1& form, const std::string& file, std::int32_t base, const FloatField& field);

// Converts the box's text ("'%s' is not a valid integer value" when it holds no integer), scales it and writes
// the float at once.
void SaveFloatField(const TForm1& form, const std::string& file, std::int32_t base, const FloatField& field);

// The message refusing a save when one of the boxes holds a value that, once stored, could never be shown
// again (every later load would fail on it); nullopt when all can be stored. Boxes that hold no integer are
// left to the save itself, which stops at them.
[[nodiscard]] std::optional<std::string> UnstorableValueMessage(const TForm1& form, std::span<const FloatField> fields);

// The message naming the fields that a load left empty, shown once after the load.
[[nodiscard]] std::string UnshownFieldsMessage(const std::string& weapon,
                                               const std::vector<std::string_view>& captions);

// The item's text, or "" when the index names no item.
[[nodiscard]] std::string ItemName(const TComboBox& list, int index);

}  // namespace tovarin
