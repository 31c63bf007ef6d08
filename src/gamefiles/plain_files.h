#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Files of strangers (mods as downloaded) are read only when they are what they seem: a regular file or a real
// folder. A symbolic link or a Windows junction is never followed, so a mod cannot make the program read, copy or
// delete anything outside its folder; a FIFO or a device is never opened for reading, so it cannot stall a command.
namespace tovarin {

enum class EntryType { Missing, File, Folder, Link, Other };

// What stands at the path, the last part of it not followed when it is a link (or any other reparse point).
[[nodiscard]] EntryType EntryTypeAt(const std::string& path);

// Why an entry of this type is not read as a file or folder of a mod: "is a link ...", or "" for a file or folder.
[[nodiscard]] std::string EntryTypeProblem(EntryType type);

// The bytes of the regular file at the path, at most `maxBytes` of them. Refused with an Exception saying why
// (without the path: the caller names the file as its messages do) when it is no regular file, when it is larger,
// or when it cannot be read. A link is not followed and nothing waits on a FIFO.
[[nodiscard]] std::vector<std::uint8_t> ReadPlainFile(const std::string& path, std::uint64_t maxBytes);

// The size of the regular file at the path without reading it; refused as ReadPlainFile refuses.
[[nodiscard]] std::uint64_t PlainFileSize(const std::string& path);

// Deletes a link (itself, never what it points to), a pipe or a device at the path, where the program keeps a file
// of its own: what stands there is nothing it wrote, and reading it as the file's old content could wait for ever.
void RemoveUnlessPlain(const std::string& path);

// Deletes what stands at the path: a file, a link (itself, never what it points to), or a folder with everything
// in it, going into no link. False when something could not be deleted.
bool DeleteTree(const std::string& path);

}  // namespace tovarin
