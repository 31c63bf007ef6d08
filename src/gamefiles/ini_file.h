#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gamefiles/profile_text.h"

// An INI file handle. It holds nothing but the file's full path; every operation opens, reads or writes and
// closes the file through the profile-string functions, so a value written is seen by the next read at once.
namespace tovarin {

class IniSectionValues;

class TIniFile {
public:
    explicit TIniFile(std::string fileName = {}) : fileName_(std::move(fileName)) {}

    [[nodiscard]] const std::string& FileName() const { return fileName_; }

    // The value, at most 1023 characters; the default when the key or the file is missing.
    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const;
    // "0x"/"0X" hexadecimal or the strict integer conversion; anything else gives the default.
    [[nodiscard]] std::int32_t ReadInteger(const std::string& section, const std::string& key,
                                           std::int32_t defaultValue) const;
    [[nodiscard]] bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // Clears `names`, then adds every key name of the section in file order, however many there are.
    void ReadSection(const std::string& section, std::vector<std::string>& names) const;
    // The section's values in one read, for a caller that needs many of them.
    [[nodiscard]] IniSectionValues ReadSectionValues(const std::string& section) const;

    // Writes the key; a refused write throws EIniFileException with the file's path.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) const;
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value) const;
    void WriteBool(const std::string& section, const std::string& key, bool value) const;
    // Removes the key; a refused write throws EIniFileException.
    void DeleteKey(const std::string& section, const std::string& key) const;

private:
    std::string fileName_;
};

// The values of one section's keys, read in one go for a caller that needs many of them (one call of the
// platform's where ReadString makes one per key).
class IniSectionValues {
public:
    explicit IniSectionValues(IniEntries entries) : entries_(std::move(entries)) {}
    // The key's value as ReadString gives it; none where ReadString gives its default.
    [[nodiscard]] std::optional<std::string> Value(const std::string& key) const;

private:
    IniEntries entries_;
};

}  // namespace tovarin
