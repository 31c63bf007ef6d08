#include "gamefiles/change_record.h"

#include <charconv>
#include <string_view>

#include "gamefiles/errors.h"

namespace tovarin {

namespace {

constexpr std::string_view kTitle = "Tovarin unfinished change";
constexpr std::string_view kOperation = "Operation=";
constexpr std::string_view kStarted = "Started=";
constexpr std::string_view kFile = "File=";
constexpr long long kAbsent = -1;

// A line of the head holds no line break: a name with one (possible off Windows) is cut there, as it could not be
// read back otherwise; names come from the program's own paths, which have none.
std::string OneLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

std::optional<long long> NumberIn(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

[[noreturn]] void Damaged(const std::string& what) { throw Exception("it is damaged (" + what + ")"); }

// Reads the head line by line from the start of the bytes.
class HeadReader {
public:
    explicit HeadReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // The next line without its line break; the head ends without one when the bytes end.
    std::string_view Line() {
        const auto* begin = reinterpret_cast<const char*>(bytes_.data()) + at_;
        std::size_t length = 0;
        while (at_ + length < bytes_.size() && bytes_[at_ + length] != '\n') ++length;
        if (at_ + length == bytes_.size()) Damaged("its head ends early");
        at_ += length + 1;
        return {begin, length};
    }
    // The value after a line's label; the line must carry it.
    std::string_view Labelled(std::string_view label) {
        const std::string_view line = Line();
        if (!line.starts_with(label)) Damaged("no " + std::string(label.substr(0, label.size() - 1)) + " line");
        return line.substr(label.size());
    }
    [[nodiscard]] std::size_t Offset() const { return at_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::vector<std::uint8_t> RecordBytes(const ChangeRecord& record) {
    std::string head = std::string(kTitle) + "\n";
    head += std::string(kOperation) + OneLine(record.Operation) + "\n";
    head += std::string(kStarted) + std::to_string(record.Started) + "\n";
    for (const RecordedFile& file : record.Files) {
        const long long size = file.Before ? static_cast<long long>(file.Before->size()) : kAbsent;
        head += std::string(kFile) + std::to_string(size) + " " + OneLine(file.Name) + "\n";
    }
    head += "\n";
    std::vector<std::uint8_t> bytes(head.begin(), head.end());
    for (const RecordedFile& file : record.Files) {
        if (file.Before) bytes.insert(bytes.end(), file.Before->begin(), file.Before->end());
    }
    return bytes;
}

ChangeRecord ParseRecord(std::span<const std::uint8_t> bytes) {
    HeadReader head(bytes);
    if (head.Line() != kTitle) Damaged("it does not start as a record does");
    ChangeRecord record;
    record.Operation = head.Labelled(kOperation);
    const auto started = NumberIn(head.Labelled(kStarted));
    if (!started || *started < 0) Damaged("no number of steps started");
    std::vector<long long> sizes;
    for (std::string_view line = head.Line(); !line.empty(); line = head.Line()) {
        if (!line.starts_with(kFile)) Damaged("a line that names no file");
        line.remove_prefix(kFile.size());
        const std::size_t blank = line.find(' ');
        const auto size = NumberIn(line.substr(0, blank));
        if (blank == std::string_view::npos || !size || *size < kAbsent) Damaged("a file without its size");
        record.Files.push_back({std::string(line.substr(blank + 1)), std::nullopt});
        sizes.push_back(*size);
    }
    if (static_cast<std::size_t>(*started) > record.Files.size()) Damaged("more steps started than files");
    record.Started = static_cast<std::size_t>(*started);

    std::size_t at = head.Offset();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i] == kAbsent) continue;
        const auto size = static_cast<std::size_t>(sizes[i]);
        if (size > bytes.size() - at) Damaged("the bytes of " + record.Files[i].Name + " end early");
        record.Files[i].Before.emplace(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    }
    if (at != bytes.size()) Damaged("bytes beyond the last file's");
    return record;
}

}  // namespace tovarin
