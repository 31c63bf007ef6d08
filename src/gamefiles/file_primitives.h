#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

// The twelve byte-level primitives through which every game file is read and written. Each call opens the
// file by its full path (for reading and writing, sharing it for reading only), positions, transfers a few
// bytes and closes it again, on every path, also when it fails. Nothing is cached between calls, so the game
// or another tool may use the files in between. Failures throw EInOutError with the file layer's code. Every
// call that writes a file hands its path to the before-change hook first (gamefiles/change_hook.h).
namespace tovarin {

// Eight bytes searched for in a file: a chunk tag followed by the next four bytes.
using Marker = std::array<std::uint8_t, 8>;

// Writes one byte at the position; a position at or beyond the end extends the file.
void WriteByteAt(const std::string& file, std::int32_t position, std::uint8_t value);

// Writes the first `count` bytes of the buffer at the position, one byte after the other. A count of 0 or
// less writes nothing; a count beyond the buffer stops with "Range check error" after the bytes that exist.
void WriteBytesAt(const std::string& file, std::int32_t position, std::span<const std::uint8_t> buffer,
                  std::int32_t count);

// Makes `destination` a byte-for-byte copy of `source`. The destination is replaced only once the whole
// copy has succeeded, so a failing read or a full disk never leaves it half-written; a missing source fails
// before the destination is touched.
void CopyFileBytes(const std::string& source, const std::string& destination);

// Splits 0..65535 into its low and high byte; anything else is "Range check error".
void SplitWord(std::int32_t value, std::uint8_t& low, std::uint8_t& high);

// Reads up to `count` bytes from the position into the buffer, stopping early at the end of the file, and
// returns how many were read (0 at or beyond the end). Bytes of the buffer beyond those read keep their
// content. A count beyond the buffer is "Range check error".
std::int32_t ReadBytesAt(const std::string& file, std::int32_t position, std::span<std::uint8_t> buffer,
                         std::int32_t count);

// Reads exactly one byte; at or beyond the end: "Read beyond end of file".
[[nodiscard]] std::uint8_t ReadByteAt(const std::string& file, std::int32_t position);

// high * 256 + low.
[[nodiscard]] constexpr std::uint16_t MakeWord(std::uint8_t low, std::uint8_t high) {
    return static_cast<std::uint16_t>(high * 256 + low);
}

// Appends the zero-terminated string at the position to `text` (which it does not clear) and returns the
// bytes read including the terminator. A file that ends first: "Read beyond end of file".
std::int32_t ReadStringAt(const std::string& file, std::int32_t position, std::string& text);

// The first position at or after `start` where the 8 marker bytes stand, or -1. A match at position 0 counts
// only when nothing matches later, so callers can treat 0 or less as "absent".
[[nodiscard]] std::int32_t FindMarker(const std::string& file, const Marker& marker, std::int32_t start);

// ---- The same reads over a file's bytes held in memory ------------------------------------------------------------
// A file read whole once and then read here fails as the primitives above would fail on it: a position before
// the start is "I/O error 131", a read that needs bytes past the end "Read beyond end of file". So a file can also
// be checked in memory before it is written.

// As FindMarker.
[[nodiscard]] std::int32_t FindMarkerIn(std::span<const std::uint8_t> bytes, const Marker& marker, std::int32_t start);

// As ReadByteAt.
[[nodiscard]] std::uint8_t ReadByteIn(std::span<const std::uint8_t> bytes, std::int32_t position);

// As ReadBytesAt of two bytes into a zeroed buffer: a byte past the end reads as 0.
[[nodiscard]] std::array<std::uint8_t, 2> ReadTwoBytesIn(std::span<const std::uint8_t> bytes, std::int32_t position);

// The little-endian float at the position (ReadFloatAt's value; its back distance is not needed here).
[[nodiscard]] float ReadFloatIn(std::span<const std::uint8_t> bytes, std::int32_t position);

// Adds (or subtracts) delta to the big-endian 16-bit value at the position. A result outside 0..65535 is
// "Range check error" and nothing is written.
void AdjustWordAt(const std::string& file, std::int32_t position, std::int32_t delta, bool subtract);

// Reads the little-endian float at position - back into `value` and returns it rounded half to even ("Invalid
// floating point operation" when it has no 32-bit integer value); fewer than 4 bytes left: "Read beyond end
// of file". Every caller passes back distance 2.
std::int32_t ReadFloatAt(const std::string& file, std::int32_t position, float& value, std::int32_t back);

// Writes the 4 bytes of `value` low byte first at position - back.
void WriteLongAt(const std::string& file, std::int32_t position, std::int32_t back, std::uint32_t value);

// True when a regular file exists at the path (a folder is not a file).
[[nodiscard]] bool FileExists(const std::string& path);

// Deletes the file; false when it could not be deleted.
bool DeleteFileAt(const std::string& path);

}  // namespace tovarin
