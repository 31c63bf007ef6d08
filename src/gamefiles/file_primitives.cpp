#include "gamefiles/file_primitives.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "gamefiles/change_hook.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"

namespace tovarin {

namespace {

constexpr std::int64_t kCopyBlock = 1024;
constexpr std::int64_t kSearchBlock = 64 * 1024;
// What the file layer reports for a position before the start of a file, and for a read past its end.
constexpr int kNegativeSeek = 131;
constexpr int kReadBeyondEnd = 100;

void CheckCount(std::int32_t count, std::size_t bufferSize) {
    if (count > 0 && static_cast<std::size_t>(count) > bufferSize) throw ERangeError();
}

}  // namespace

void WriteByteAt(const std::string& file, std::int32_t position, std::uint8_t value) {
    BeforeChange(file);
    GameFileHandle handle = GameFileHandle::OpenExisting(file);
    handle.Seek(position);
    handle.Write(&value, 1);
    handle.Close();
}

void WriteBytesAt(const std::string& file, std::int32_t position, std::span<const std::uint8_t> buffer,
                  std::int32_t count) {
    BeforeChange(file);
    GameFileHandle handle = GameFileHandle::OpenExisting(file);
    handle.Seek(position);
    // The bytes the buffer has are written before a count beyond it is reported, as writing byte by byte would.
    const std::int64_t wanted = std::max(count, 0);
    handle.Write(buffer.data(), std::min(wanted, static_cast<std::int64_t>(buffer.size())));
    handle.Close();
    CheckCount(count, buffer.size());
}

void CopyFileBytes(const std::string& source, const std::string& destination) {
    BeforeChange(destination);
    GameFileHandle from = GameFileHandle::OpenExisting(source);
    // The copy goes into a sibling of the destination and replaces it only when complete, so the player's
    // file is never left half-written.
    const std::string partial = TemporarySiblingOf(destination, "part~");
    try {
        GameFileHandle to = GameFileHandle::CreateNew(partial);
        std::vector<std::uint8_t> block(kCopyBlock);
        for (;;) {
            const std::int64_t got = from.Read(block.data(), kCopyBlock);
            if (got == 0) break;
            to.Write(block.data(), got);
        }
        to.Flush();
        to.Close();
        from.Close();
        ReplaceFile(partial, destination);
    } catch (...) {
        DeleteFileAt(partial);
        throw;
    }
}

void SplitWord(std::int32_t value, std::uint8_t& low, std::uint8_t& high) {
    const std::int32_t quotient = value / 256;
    high = ToByte(quotient);
    low = ToByte(value - quotient * 256);
}

std::int32_t ReadBytesAt(const std::string& file, std::int32_t position, std::span<std::uint8_t> buffer,
                         std::int32_t count) {
    CheckCount(count, buffer.size());
    GameFileHandle handle = GameFileHandle::OpenExisting(file);
    handle.Seek(position);
    const auto got = count > 0 ? handle.Read(buffer.data(), count) : 0;
    handle.Close();
    return static_cast<std::int32_t>(got);
}

std::uint8_t ReadByteAt(const std::string& file, std::int32_t position) {
    GameFileHandle handle = GameFileHandle::OpenExisting(file);
    handle.Seek(position);
    std::uint8_t value = 0;
    if (handle.Read(&value, 1) != 1) throw InOutErrorOn(file, kReadBeyondEnd);
    handle.Close();
    return value;
}

std::int32_t ReadStringAt(const std::string& file, std::int32_t position, std::string& text) {
    GameFileHandle handle = GameFileHandle::OpenExisting(file);
    handle.Seek(position);
    std::int32_t consumed = 0;
    for (;;) {
        std::uint8_t c = 0;
        if (handle.Read(&c, 1) != 1) throw InOutErrorOn(file, kReadBeyondEnd);
        ++consumed;
        if (c == 0) break;
        text.push_back(static_cast<char>(c));
    }
    handle.Close();
    return consumed;
}

namespace {

// Where the marker first stands in bytes[from, size), or size. Its first byte is looked for with memchr, which
// skips everything else quickly, and only there are all eight bytes compared.
std::size_t SearchBlock(const std::uint8_t* bytes, std::size_t from, std::size_t size, const Marker& marker) {
    while (size - from >= marker.size()) {
        const std::size_t candidates = size - from - marker.size() + 1;
        const auto* hit = static_cast<const std::uint8_t*>(std::memchr(bytes + from, marker[0], candidates));
        if (hit == nullptr) break;
        const auto at = static_cast<std::size_t>(hit - bytes);
        if (std::memcmp(hit, marker.data(), marker.size()) == 0) return at;
        from = at + 1;
    }
    return size;
}

}  // namespace

// One buffered pass over the file: the first match after position 0 wins; a match at 0 counts only when nothing
// matches later.
std::int32_t FindMarker(const std::string& file, const Marker& marker, std::int32_t start) {
    GameFileHandle handle = GameFileHandle::OpenExisting(file);
    const std::int64_t size = handle.Size();
    const std::int64_t first = start;
    if (first > size - 8) {
        handle.Close();
        return -1;
    }
    handle.Seek(first);
    bool matchAtZero = false;
    // Each block is read behind the last 7 bytes of the one before: a marker may straddle two blocks.
    constexpr std::size_t kCarry = std::tuple_size_v<Marker> - 1;
    std::vector<std::uint8_t> buffer(kCarry + kSearchBlock);
    std::size_t carried = 0;
    std::int64_t bufferStart = first;  // file offset of buffer[0]
    for (;;) {
        const std::int64_t got = handle.Read(buffer.data() + carried, kSearchBlock);
        if (got == 0) break;
        const std::size_t filled = carried + static_cast<std::size_t>(got);
        for (std::size_t at = SearchBlock(buffer.data(), 0, filled, marker); at < filled;
             at = SearchBlock(buffer.data(), at + 1, filled, marker)) {
            const std::int64_t position = bufferStart + static_cast<std::int64_t>(at);
            if (position > 0) {
                handle.Close();
                return static_cast<std::int32_t>(position);
            }
            matchAtZero = true;
        }
        carried = std::min(filled, kCarry);
        std::memmove(buffer.data(), buffer.data() + filled - carried, carried);
        bufferStart += static_cast<std::int64_t>(filled - carried);
    }
    handle.Close();
    return matchAtZero ? 0 : -1;
}

std::int32_t FindMarkerIn(std::span<const std::uint8_t> bytes, const Marker& marker, std::int32_t start) {
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (start > size - 8) return -1;
    if (start < 0) throw EInOutError(kNegativeSeek);
    const auto first = static_cast<std::size_t>(start);
    const std::size_t at = SearchBlock(bytes.data(), first, bytes.size(), marker);
    if (at == bytes.size()) return -1;
    if (at > 0) return static_cast<std::int32_t>(at);
    // A match at 0 counts only when nothing matches later.
    const std::size_t later = SearchBlock(bytes.data(), 1, bytes.size(), marker);
    return later == bytes.size() ? 0 : static_cast<std::int32_t>(later);
}

namespace {

// The bytes from the position on, at most `count` of them.
std::span<const std::uint8_t> BytesFrom(std::span<const std::uint8_t> bytes, std::int32_t position, std::size_t count) {
    if (position < 0) throw EInOutError(kNegativeSeek);
    const auto at = std::min(static_cast<std::size_t>(position), bytes.size());
    return bytes.subspan(at, std::min(count, bytes.size() - at));
}

}  // namespace

std::uint8_t ReadByteIn(std::span<const std::uint8_t> bytes, std::int32_t position) {
    const auto found = BytesFrom(bytes, position, 1);
    if (found.empty()) throw EInOutError(kReadBeyondEnd);
    return found[0];
}

std::array<std::uint8_t, 2> ReadTwoBytesIn(std::span<const std::uint8_t> bytes, std::int32_t position) {
    std::array<std::uint8_t, 2> read{};
    std::ranges::copy(BytesFrom(bytes, position, read.size()), read.begin());
    return read;
}

float ReadFloatIn(std::span<const std::uint8_t> bytes, std::int32_t position) {
    const auto found = BytesFrom(bytes, position, 4);
    if (found.size() != 4) throw EInOutError(kReadBeyondEnd);
    return FloatFromBits(static_cast<std::uint32_t>(found[0]) | static_cast<std::uint32_t>(found[1]) << 8 |
                         static_cast<std::uint32_t>(found[2]) << 16 | static_cast<std::uint32_t>(found[3]) << 24);
}

void AdjustWordAt(const std::string& file, std::int32_t position, std::int32_t delta, bool subtract) {
    std::array<std::uint8_t, 2> bytes{};
    ReadBytesAt(file, position, bytes, 2);
    const std::int64_t value = MakeWord(bytes[1], bytes[0]);
    const std::int64_t updated = subtract ? value - delta : value + delta;
    if (updated < 0 || updated > 65535) throw ERangeError();
    std::uint8_t low = 0;
    std::uint8_t high = 0;
    SplitWord(static_cast<std::int32_t>(updated), low, high);
    const std::array<std::uint8_t, 2> written{high, low};
    WriteBytesAt(file, position, written, 2);
}

std::int32_t ReadFloatAt(const std::string& file, std::int32_t position, float& value, std::int32_t back) {
    const std::int32_t at = AddPos(position, -static_cast<std::int64_t>(back));
    GameFileHandle handle = GameFileHandle::OpenExisting(file);
    handle.Seek(at);
    std::array<std::uint8_t, 4> bytes{};
    if (handle.Read(bytes.data(), 4) != 4) throw InOutErrorOn(file, kReadBeyondEnd);
    handle.Close();
    value = FloatFromBits(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                          static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
    return DisplayValue(value);
}

void WriteLongAt(const std::string& file, std::int32_t position, std::int32_t back, std::uint32_t value) {
    const std::int32_t at = AddPos(position, -static_cast<std::int64_t>(back));
    const std::array<std::uint8_t, 4> bytes{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                            static_cast<std::uint8_t>(value >> 16),
                                            static_cast<std::uint8_t>(value >> 24)};
    BeforeChange(file);
    GameFileHandle handle = GameFileHandle::OpenExisting(file);
    handle.Seek(at);
    handle.Write(bytes.data(), 4);
    handle.Close();
}

}  // namespace tovarin
