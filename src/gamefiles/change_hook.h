#pragma once

#include <functional>
#include <string>

// Every write to a file passes here first with the file's full path, before a byte of it changes, so that a
// front-end can act on it: the program keeps the original of each game file it is about to change. The hook may
// refuse the change by throwing an Exception; the write then does not happen.
namespace tovarin {

using BeforeChangeHook = std::function<void(const std::string& path)>;

// Installs the hook (an empty one removes it).
void SetBeforeChangeHook(BeforeChangeHook hook);

// Runs the hook for a file about to change; without a hook it does nothing.
void BeforeChange(const std::string& path);

}  // namespace tovarin
