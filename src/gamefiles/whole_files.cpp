#include "gamefiles/whole_files.h"

#include "gamefiles/change_hook.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folder_lock.h"

namespace tovarin {

namespace {

// The sibling the new content is written into, beside the file so that the rename stays on one disk.
std::string SiblingOf(const std::string& path) { return TemporarySiblingOf(path, "part~"); }

// Every byte of the open file; a file that ends early is "Read beyond end of file".
std::vector<std::uint8_t> ReadAll(GameFileHandle& handle, const std::string& path) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(handle.Size()));
    if (handle.Read(bytes.data(), static_cast<std::int64_t>(bytes.size())) != static_cast<std::int64_t>(bytes.size())) {
        throw InOutErrorOn(path, 100);
    }
    handle.Close();
    return bytes;
}

}  // namespace

std::string TemporarySiblingOf(const std::string& path, const char* kind) {
    static std::uint32_t count = 0;
    return path + "." + std::to_string(ProcessNumber()) + "-" + std::to_string(++count) + "." + kind;
}

bool IsOurTemporary(const std::string& name) {
    if (name.ends_with(".part~") || name.ends_with(".edit~")) return true;
    constexpr std::size_t kMadeUnique = 8;  // ".~" and the six characters mkstemp fills in
    return name.size() > kMadeUnique && name.compare(name.size() - kMadeUnique, 2, ".~") == 0;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    GameFileHandle handle = GameFileHandle::OpenExisting(path);
    return ReadAll(handle, path);
}

std::vector<std::uint8_t> ReadWholeFileReadOnly(const std::string& path) {
    GameFileHandle handle = GameFileHandle::OpenForReading(path);
    return ReadAll(handle, path);
}

void ReplaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    BeforeChange(path);
    const std::string sibling = SiblingOf(path);
    try {
        GameFileHandle handle = GameFileHandle::CreateNew(sibling);
        handle.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        handle.Flush();
        handle.Close();
        ReplaceFile(sibling, path);
    } catch (EInOutError& error) {
        DeleteFileAt(sibling);
        error.File = path;  // the sibling is the program's own: the player knows the file it stands in for
        throw;
    } catch (...) {
        DeleteFileAt(sibling);
        throw;
    }
}

void ReplaceIniFile(const std::string& path, const std::function<void(const TIniFile& copy)>& edit) {
    // Outside the replacement's own failure, which is "Unable to write to": a refusal says why it refused.
    BeforeChange(path);
    const std::string sibling = SiblingOf(path);
    try {
        if (FileExists(path)) CopyFileBytes(path, sibling);
        edit(TIniFile(sibling));
        if (FileExists(sibling)) ReplaceFile(sibling, path);  // no sibling: the edit wrote nothing
    } catch (const Exception&) {
        DeleteFileAt(sibling);
        throw EIniFileException(path);
    }
}

}  // namespace tovarin
