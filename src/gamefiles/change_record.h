#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The record of a change of several files (gamefiles/file_change_set.h) as it lies beside the game files: the
// operation's name, how many of its steps were started, and each file's name and its bytes before the change (or
// that it did not exist). A short text head names everything; the files' bytes follow it, in the head's order:
//
//   Tovarin unfinished change
//   Operation=the gun slot save of Ships\kestrel.iff
//   Started=1
//   File=5120 Ships\kestrel.iff
//   File=-1 Ships\new.iff                 (-1: the file did not exist)
//   <an empty line, then the bytes of each file that existed>
namespace tovarin {

// One file of the change, named relative to the game folder as the file system spells it.
struct RecordedFile {
    std::string Name;
    std::optional<std::vector<std::uint8_t>> Before;  // none: the file did not exist
};

struct ChangeRecord {
    std::string Operation;
    // Steps run in the order of Files, step i replacing Files[i]. Files[0] to Files[Started - 1] may have
    // changed; the ones after them have not been touched.
    std::size_t Started = 0;
    std::vector<RecordedFile> Files;
};

[[nodiscard]] std::vector<std::uint8_t> RecordBytes(const ChangeRecord& record);

// The record these bytes hold; an Exception saying what is wrong when they hold none, or not all of one.
[[nodiscard]] ChangeRecord ParseRecord(std::span<const std::uint8_t> bytes);

}  // namespace tovarin
