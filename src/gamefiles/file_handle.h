#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gamefiles/errors.h"

// One open game file, closed when the handle goes out of scope. Opening never creates a file (except
// CreateNew) and shares the file with other processes for reading only. Every failure throws EInOutError
// with the code the file layer reports.
namespace tovarin {

class GameFileHandle {
public:
    // Opens an existing file for reading and writing.
    static GameFileHandle OpenExisting(const std::string& path);
    // Creates the file anew (an existing one is emptied) for reading and writing.
    static GameFileHandle CreateNew(const std::string& path);
    // Opens an existing file for reading only, which a file marked read-only allows too.
    static GameFileHandle OpenForReading(const std::string& path);

    GameFileHandle(GameFileHandle&& other) noexcept;
    GameFileHandle& operator=(GameFileHandle&&) = delete;
    GameFileHandle(const GameFileHandle&) = delete;
    GameFileHandle& operator=(const GameFileHandle&) = delete;
    ~GameFileHandle();

    // Moves to the position; a negative one fails with code 131.
    void Seek(std::int64_t position);
    [[nodiscard]] std::int64_t Size();
    // Reads up to count bytes; returns how many were read (fewer only at the end of the file).
    std::int64_t Read(std::uint8_t* buffer, std::int64_t count);
    // Writes the bytes; a short write is "Disk full".
    void Write(const std::uint8_t* buffer, std::int64_t count);
    // Forces the written bytes to the disk.
    void Flush();
    // Closes now, reporting a failure; the destructor closes quietly.
    void Close();

private:
    GameFileHandle(std::intptr_t handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    std::intptr_t handle_;
    std::string path_;  // for the messages of a test's injected faults
};

// The rename went through, but the folder holding the new name could not be flushed: the file is replaced,
// though a power cut may still bring back the old one.
class EReplacedNotFlushed : public EInOutError {
public:
    using EInOutError::EInOutError;
};

// Runs a save. A file replaced whose folder did not reach the disk holds the save all the same: that failure is
// given back rather than thrown, so that the caller shows what the file now holds before it warns.
template <typename Save>
[[nodiscard]] std::optional<EReplacedNotFlushed> SavedUnlessFailed(Save&& save) {
    try {
        save();
    } catch (const EReplacedNotFlushed& notFlushed) {
        return notFlushed;
    }
    return std::nullopt;
}

// Renames `from` over `to`, replacing it, and flushes the folder so that the new name survives a power cut; a
// failure throws EInOutError, EReplacedNotFlushed when only the flush failed.
void ReplaceFile(const std::string& from, const std::string& to);

// Forces the folder holding the file to the disk, so that a rename or removal in it survives a power cut. Windows
// writes such changes through by itself (the rename asks for it), so there it does nothing.
void FlushFolderOf(const std::string& path);

// The folder flush after a rename or removal of the path: at once, or, while a FolderFlushes is in force, noted for
// it, so that a change of many files in one folder flushes that folder once.
void FlushFolderOfChange(const std::string& path);

// While it lives, each folder in which files are replaced or removed is flushed once, by Flush(), rather than after
// every file. Whoever holds it must not count a file as safe on the disk before Flush() returned (a change keeps
// its record until then, so a power cut before puts every file back). Not nested; one thread.
class FolderFlushes {
public:
    FolderFlushes();
    ~FolderFlushes();
    FolderFlushes(const FolderFlushes&) = delete;
    FolderFlushes& operator=(const FolderFlushes&) = delete;

    // Flushes every folder noted, each once; EInOutError for the first that fails.
    void Flush();

private:
    std::vector<std::string> folders_;
    friend void FlushFolderOfChange(const std::string& path);
};

// Creates the folder unless it is there already; a failure (its parent missing, a file of that name, no room)
// throws EInOutError.
void CreateFolder(const std::string& path);

}  // namespace tovarin
