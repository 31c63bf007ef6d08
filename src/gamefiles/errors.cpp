#include "gamefiles/errors.h"

#include "gamefiles/file_handle.h"
#include "gamefiles/game_paths.h"

namespace tovarin {

namespace {

std::string InOutMessage(int code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case 5:
            return "File access denied";
        case 100:
            return "Read beyond end of file";
        case 101:
            return "Disk full";
        case 102:
            return "File not assigned";
        case 103:
            return "File not open";
        case 104:
            return "File not open for input";
        case 105:
            return "File not open for output";
        case 106:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

}  // namespace

EInOutError::EInOutError(int code) : Exception(InOutMessage(code)), ErrorCode(code) {}

std::string Abbreviated(std::string_view text) {
    constexpr std::size_t kKept = 60;
    constexpr std::size_t kLongest = 80;
    return text.size() <= kLongest ? std::string(text) : std::string(text.substr(0, kKept)) + "...";
}

std::string Described(const Exception& error, const std::string& gameFolder) {
    const auto* failedCall = dynamic_cast<const EInOutError*>(&error);
    if (failedCall == nullptr || failedCall->File.empty()) return error.Message();
    const std::string file = NameInGameFolder(gameFolder, failedCall->File);
    if (dynamic_cast<const EReplacedNotFlushed*>(&error) != nullptr) {
        return file + " was written, but may not yet be safe on the disk: its folder could not be flushed (" +
               error.Message() + ")";
    }
    return file + ": " + error.Message();
}

EInOutError InOutErrorOn(const std::string& file, int code) {
    EInOutError error(code);
    error.File = file;
    return error;
}

bool IsFileLayerCode(int code) { return code >= kFirstFileLayerCode && code <= kLastFileLayerCode; }

}  // namespace tovarin
