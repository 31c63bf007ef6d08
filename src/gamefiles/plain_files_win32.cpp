#include <windows.h>

#include <algorithm>

#include "gamefiles/errors.h"
#include "gamefiles/plain_files.h"
#include "gamefiles/wide_paths.h"

namespace tovarin {

namespace {

std::string SizeText(std::uint64_t bytes) { return std::to_string(bytes) + " bytes"; }

// The regular file opened as itself (a reparse point is not followed), and its size.
HANDLE OpenPlain(const std::string& path, std::uint64_t& size) {
    if (const std::string problem = EntryTypeProblem(EntryTypeAt(path)); !problem.empty()) throw Exception(problem);
    const HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw Exception("cannot be read: error " + std::to_string(::GetLastError()));
    LARGE_INTEGER length{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &length)) {
        ::CloseHandle(file);
        throw Exception(EntryTypeProblem(EntryType::Other));
    }
    size = static_cast<std::uint64_t>(length.QuadPart);
    return file;
}

}  // namespace

EntryType EntryTypeAt(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return EntryType::Missing;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryType::Link;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryType::Folder;
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryType::Other;
    return EntryType::File;
}

std::vector<std::uint8_t> ReadPlainFile(const std::string& path, std::uint64_t maxBytes) {
    std::uint64_t size = 0;
    const HANDLE file = OpenPlain(path, size);
    if (size > maxBytes) {
        ::CloseHandle(file);
        throw Exception("holds " + SizeText(size) + ", more than the " + SizeText(maxBytes) + " a mod's file may");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::ReadFile(file, bytes.data() + done, ask, &got, nullptr) || got == 0) break;
        done += got;
    }
    ::CloseHandle(file);
    bytes.resize(done);
    return bytes;
}

std::uint64_t PlainFileSize(const std::string& path) {
    std::uint64_t size = 0;
    ::CloseHandle(OpenPlain(path, size));
    return size;
}

}  // namespace tovarin
