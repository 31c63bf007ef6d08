#include "mods/mod_names.h"

#include <algorithm>
#include <cctype>

#include "mods/applied_record.h"
#include "mods/load_order.h"

namespace tovarin {

namespace {

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The device names Windows gives every folder, whatever follows a dot: "CON", "nul.txt", "COM1".
bool IsDeviceName(const std::string& name) {
    const std::string stem = LowerCase(name.substr(0, name.find('.')));
    static constexpr const char* kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    if (std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices)) return true;
    return stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) && stem[3] >= '1' && stem[3] <= '9';
}

bool HasControl(const std::string& name) {
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

}  // namespace

std::string ModNameProblem(const std::string& name) {
    const std::string quoted = "\"" + name + "\"";
    if (name.empty()) return "a mod needs a name";
    if (name == "." || name == "..") {
        return quoted + " cannot name a mod: it stands for " +
               (name == "." ? "the folder itself" : "the folder above") + ", not a folder of its own";
    }
    if (HasControl(name)) return "a mod's name cannot hold a line break or another control character";
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) {
        return quoted + " cannot name a folder: leave out \\ / : * ? \" < > |";
    }
    if (name.front() == ' ' || name.back() == ' ') {
        return quoted + " cannot name a folder on Windows: leave out the blank at its start or end";
    }
    if (name.back() == '.') return quoted + " cannot name a folder on Windows: leave out the dot at its end";
    if (IsDeviceName(name)) {
        return quoted + " cannot name a folder on Windows, which keeps " + name.substr(0, name.find('.')) +
               " for a device: choose another name";
    }
    const std::string lower = LowerCase(name);
    if (lower == LowerCase(kLoadOrderFileName) || lower == LowerCase(kAppliedFileName)) {
        return quoted + " is a file Tovarin keeps in \"Tovarin Mods\" for itself: choose another name";
    }
    if (name.find('=') != std::string::npos || name.starts_with(';') || name.starts_with('[')) {
        return quoted + " cannot stand in \"" + kLoadOrderFileName +
               "\": rename it without \"=\", and not starting with \";\" or \"[\"";
    }
    return "";
}

}  // namespace tovarin
