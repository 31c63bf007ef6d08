#pragma once

#include <cstdint>
#include <span>
#include <string>

// SHA-256 (FIPS 180-4), to tell whether two copies of a mod, or two games' original files, are the same byte for
// byte. Written here: the only Debian library that both the native and the MinGW build could link for it comes to
// Windows as two DLLs that every copy of Tovarin.exe would have to carry, for a hash of a few kilobytes.
namespace tovarin {

class Sha256 {
public:
    Sha256();
    void Add(std::span<const std::uint8_t> bytes);
    void Add(const std::string& text);
    // The digest in 64 lowercase hexadecimal digits; the hash takes nothing more after it.
    [[nodiscard]] std::string HexDigest();

private:
    void Block(const std::uint8_t* block);

    std::uint32_t state_[8];
    std::uint8_t buffer_[64] = {};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

}  // namespace tovarin
