#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

// The file layer's system calls, each of which a test can make fail. Every call the POSIX file layer makes on a
// game file (and on our INI files) asks InjectedFault first; with no hook set nothing ever fails here.
namespace tovarin {

enum class FileCall { Open, Create, Read, Write, Flush, Close, Rename, Delete };

struct InjectedFault {
    int Error = 0;           // the errno the call fails with
    bool HalfWrite = false;  // a Write puts half of its bytes down before failing
};

using FileFaultHook = std::function<std::optional<InjectedFault>(FileCall call, const std::string& path)>;

// Installs the hook (an empty one removes it). Only tests set one.
void SetFileFaultHook(FileFaultHook hook);

// The fault the hook asks for at this call, if any.
[[nodiscard]] std::optional<InjectedFault> InjectedFaultFor(FileCall call, const std::string& path);

// How long the Windows file layer waits, in all, for a file that another program holds (the game, an antivirus
// scanner, a search indexer) before it gives up: three seconds unless a test, which must not wait so long for a
// file it holds throughout, sets a shorter wait.
inline constexpr std::chrono::milliseconds kHeldFileWait{3000};
void SetHeldFileWait(std::chrono::milliseconds wait);
[[nodiscard]] std::chrono::milliseconds HeldFileWait();

}  // namespace tovarin
