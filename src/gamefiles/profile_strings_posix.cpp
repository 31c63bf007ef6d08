#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gamefiles/file_faults.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/profile_cache.h"
#include "gamefiles/profile_strings.h"
#include "gamefiles/profile_text.h"
#include "gamefiles/run_caches.h"

// Our profile-string functions for systems without Windows. Reads look the value up in a parsed copy of the file,
// read again whenever the file changed (profile_cache.h). A write reads the file anew and, when it changes it,
// writes the new text completely into a sibling file that then replaces the old one, so a failed write never
// leaves a half-written INI file.
namespace tovarin {

namespace {

struct FileText {
    enum class State { Read, Missing, Unreadable };
    State FileState = State::Missing;
    std::string Text;
};

// The system's descriptor, or -1 with errno set (also when a test injects a fault).
int OpenForReading(const std::string& path) {
    if (const auto fault = InjectedFaultFor(FileCall::Open, path)) {
        errno = fault->Error;
        return -1;
    }
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

ssize_t ReadChunk(int fd, std::array<char, 4096>& chunk, const std::string& path) {
    if (const auto fault = InjectedFaultFor(FileCall::Read, path)) {
        errno = fault->Error;
        return -1;
    }
    return ::read(fd, chunk.data(), chunk.size());
}

FileText ReadFileText(const std::string& path) {
    FileText file;
    const int fd = OpenForReading(path);
    if (fd < 0) {
        file.FileState = errno == ENOENT || errno == ENOTDIR ? FileText::State::Missing : FileText::State::Unreadable;
        return file;
    }
    file.FileState = FileText::State::Read;
    std::array<char, 4096> chunk{};
    for (;;) {
        const ssize_t count = ReadChunk(fd, chunk, path);
        if (count == 0) break;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            file.FileState = FileText::State::Unreadable;
            break;
        }
        file.Text.append(chunk.data(), static_cast<std::size_t>(count));
    }
    ::close(fd);
    return file;
}

// The file a write changes: a symbolic link is followed, so the link keeps pointing at the changed file.
std::string WriteTarget(const char* path) {
    char resolved[PATH_MAX];
    return ::realpath(path, resolved) != nullptr ? std::string(resolved) : std::string(path);
}

// Windows refuses to write a file marked read-only; here that mark is the lack of every write-permission bit,
// which holds for root too.
bool MarkedReadOnly(const struct stat& info) { return (info.st_mode & 0222) == 0; }

// A write into a missing folder fails even when it would change nothing.
bool FolderExists(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool WriteAll(int fd, std::string_view bytes, const std::string& path) {
    if (const auto fault = InjectedFaultFor(FileCall::Write, path)) {
        if (fault->HalfWrite) static_cast<void>(::write(fd, bytes.data(), bytes.size() / 2));
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// Writes the text into a new sibling file, forces it to the disk, then renames it over the file. On any failure
// the sibling is removed and the old file stays as it was.
bool ReplaceFileText(const std::string& path, const std::string& text, mode_t mode) {
    std::string temporary = path + ".~XXXXXX";
    if (InjectedFaultFor(FileCall::Create, temporary)) return false;
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    const bool written = WriteAll(fd, text, temporary) && ::fchmod(fd, mode) == 0 &&
                         !InjectedFaultFor(FileCall::Flush, temporary) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0 && !InjectedFaultFor(FileCall::Close, temporary);
    if (written && closed && !InjectedFaultFor(FileCall::Rename, path) &&
        ::rename(temporary.c_str(), path.c_str()) == 0) {
        NoteChange();
        NoteFolderEntry(path, true);
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

// A default loses its trailing spaces, as Windows does before using it.
std::string_view DefaultText(const char* defaultValue) {
    std::string_view text = defaultValue != nullptr ? defaultValue : "";
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Copies as much as fits with a terminating NUL; the rest of the buffer stays untouched.
std::uint32_t CopyValue(std::string_view value, char* buffer, std::uint32_t size) {
    const std::size_t length = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return static_cast<std::uint32_t>(length);
}

// Copies the names, each ended by a NUL, then a final NUL, while more than 2 bytes remain. A name that does not
// fit is cut to the bytes left less 2; then the buffer's last two bytes are NULs and the result is size - 2.
std::uint32_t CopyNames(const std::vector<std::string>& names, char* buffer, std::uint32_t size) {
    std::size_t position = 0;
    std::size_t left = size;
    for (const std::string& name : names) {
        if (left <= 2) break;
        const std::size_t length = std::min(name.size(), left - 2);
        std::memcpy(buffer + position, name.data(), length);
        buffer[position + length] = '\0';
        position += length + 1;
        left -= length + 1;
        if (left < 2) break;
    }
    buffer[position] = '\0';
    return left <= 1 ? size - 2 : static_cast<std::uint32_t>(position);
}

}  // namespace

std::uint32_t ReadProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                std::uint32_t size, const char* file) {
    if (buffer == nullptr || size == 0) return 0;
    if (section == nullptr || file == nullptr) return CopyValue("", buffer, size);
    const std::shared_ptr<const ProfileIndex> profile = ParsedProfile(file);
    if (key == nullptr) {
        const std::vector<std::string> names = profile->ListKeys(section);
        if (!names.empty() && size > 2) return CopyNames(names, buffer, size);
    } else if (const auto value = profile->FindValue(section, key)) {
        return CopyValue(UnquotedProfileValue(*value), buffer, size);
    }
    return CopyValue(UnquotedProfileValue(DefaultText(defaultValue)), buffer, size);
}

IniEntries ReadProfileEntries(const char* section, const char* file) { return ParsedProfile(file)->Entries(section); }

bool StoreProfileString(const char* section, const char* key, const char* value, const char* file) {
    if (section == nullptr || file == nullptr || TrimProfileBlanks(section).empty()) return false;
    if (key != nullptr && TrimProfileBlanks(key).empty()) return false;
    const std::string path = WriteTarget(file);
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && MarkedReadOnly(info)) return false;
    const FileText read = ReadFileText(path);
    if (read.FileState == FileText::State::Unreadable) return false;
    if (read.FileState == FileText::State::Missing && !FolderExists(path)) return false;
    const std::optional<std::string> changed = key == nullptr     ? DeleteProfileSection(read.Text, section)
                                               : value == nullptr ? DeleteProfileKey(read.Text, section, key)
                                                                  : SetProfileValue(read.Text, section, key, value);
    if (!changed) return true;
    const bool replaced = ReplaceFileText(path, *changed, exists ? info.st_mode & 07777 : 0644);
    ForgetProfile(file);
    ForgetProfile(path);
    return replaced;
}

}  // namespace tovarin
