#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mods/mod_cells.h"

// A change of many values of the fleet, worked out whole before any file changes, so that a player sees every
// value it writes (and every one it cannot) first and the files then get exactly what was shown: a bulk change
// and a reset to the originals are each one such plan, written as one change of several files.
namespace tovarin {

// One value the plan changes, with its text before and after as the Fleet page shows them.
struct PlannedValue {
    CellAddress Address;
    std::string Before;
    std::string After;
    std::string Note;  // how the value came about, when the line should say it ("665.5 rounded")
};

// A value the plan leaves as it is, and why: the message the one value check gives, naming the ship or weapon,
// the key and the value ("Kestrel, speedmax=3000000000: Out of range. ...").
struct RefusedValue {
    CellAddress Address;
    std::string Message;
};

// A file the plan changes: the bytes it was planned from and those it gets.
struct PlannedBytes {
    std::string File;  // relative to the game folder, as messages name it
    std::string Path;
    std::vector<std::uint8_t> Before;
    std::vector<std::uint8_t> After;
};

// Making a plan refuses value by value what the one value check refuses (each a RefusedValue) and fails whole with
// the file layer's error when a file cannot be read: a preview that left out what could not be read would be a
// change of some files and not others.
struct EditPlan {
    std::string Name;  // what the change is called in messages and in the undo history ("reset of 3 values")
    std::vector<PlannedValue> Values;
    std::vector<RefusedValue> Refused;
    std::vector<PlannedBytes> Files;
};

// "Kestrel speedmax 600 -> 660", with its note in brackets when it has one.
[[nodiscard]] std::string PlannedLine(const PlannedValue& value);
// Every line a preview shows: the count, each change, then each refusal.
[[nodiscard]] std::vector<std::string> PreviewLines(const EditPlan& plan);

// Writes the plan's files in the game folder (with its trailing separator) as one change, whole or not at all
// (gamefiles/file_change_set.h); the names of the files written. Refused, with nothing written, when a file no longer
// holds the bytes the plan was made from (another program changed it since the preview).
std::vector<std::string> ApplyEditPlan(const std::string& gameFolder, const EditPlan& plan);

}  // namespace tovarin
