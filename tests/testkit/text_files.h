#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Whole files as byte strings, for tests that compare what was written byte for byte.
namespace tovarin::testkit {

void WriteTextFile(const std::filesystem::path& path, std::string_view bytes);
[[nodiscard]] std::string ReadTextFile(const std::filesystem::path& path);
// Clears every write-permission bit, which on Windows sets the read-only attribute.
void MakeReadOnly(const std::filesystem::path& path);

}  // namespace tovarin::testkit
