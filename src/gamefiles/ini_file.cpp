#include "gamefiles/ini_file.h"

#include <array>

#include "gamefiles/change_hook.h"
#include "gamefiles/errors.h"
#include "gamefiles/numbers.h"
#include "gamefiles/profile_strings.h"

namespace tovarin {

namespace {

constexpr std::uint32_t kValueBufferSize = 1024;
constexpr std::uint32_t kSectionBufferSize = 8192;
// 1 GiB of names: no INI file of a game comes near it.
constexpr std::uint32_t kLargestSectionBuffer = 1U << 30;

}  // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    std::array<char, kValueBufferSize> buffer{};
    const std::uint32_t length = ReadProfileString(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                                   kValueBufferSize, fileName_.c_str());
    return std::string(buffer.data(), length);
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                                   std::int32_t defaultValue) const {
    return IniTextToInt(ReadString(section, key, ""), defaultValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

// The names come back each ended by a NUL. When they do not fit, the platform fills the buffer (the result is its
// size less 2) with the last name cut short; the call is then made again with a buffer twice as large, until every
// name fits: no ship of a large catalogue and no entry of its switch file may be left out. A name that still does
// not fit into the largest buffer is left out, so that a list never holds a name the file does not have. An empty
// name (a line "=value") ends the list, as it does for every reader of such a buffer.
void TIniFile::ReadSection(const std::string& section, std::vector<std::string>& names) const {
    names.clear();
    std::vector<char> buffer;
    std::uint32_t length = 0;
    bool cut = true;
    for (std::uint32_t size = kSectionBufferSize; cut && size <= kLargestSectionBuffer; size *= 2) {
        buffer.assign(size, '\0');
        length = ReadProfileString(section.c_str(), nullptr, "", buffer.data(), size, fileName_.c_str());
        cut = length == size - 2;
    }
    std::size_t begin = 0;
    while (begin < length && buffer[begin] != '\0') {
        std::size_t end = begin;
        while (end < length && buffer[end] != '\0') ++end;
        if (cut && end >= length) break;
        names.emplace_back(buffer.data() + begin, end - begin);
        begin = end + 1;
    }
}

IniSectionValues TIniFile::ReadSectionValues(const std::string& section) const {
    return IniSectionValues(ReadProfileEntries(section.c_str(), fileName_.c_str()));
}

std::optional<std::string> IniSectionValues::Value(const std::string& key) const {
    const auto found = entries_.find(ProfileNameKey(key));
    if (found == entries_.end() || !found->second) return std::nullopt;
    return std::string(UnquotedProfileValue(*found->second).substr(0, kValueBufferSize - 1));
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
    BeforeChange(fileName_);
    if (!StoreProfileString(section.c_str(), key.c_str(), value.c_str(), fileName_.c_str())) {
        throw EIniFileException(fileName_);
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) const {
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) const {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) const {
    BeforeChange(fileName_);
    if (!StoreProfileString(section.c_str(), key.c_str(), nullptr, fileName_.c_str())) {
        throw EIniFileException(fileName_);
    }
}

}  // namespace tovarin
