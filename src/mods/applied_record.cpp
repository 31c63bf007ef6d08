#include "mods/applied_record.h"

#include "gamefiles/csv.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/plain_files.h"
#include "mods/mod_folder.h"

namespace tovarin {

namespace {

// Far beyond the record of an apply of every value of a large installation.
constexpr std::uint64_t kMaxAppliedRecordBytes = 64ull << 20;

SheetKind KindOfWord(const std::string& word, const std::string& path, const CsvRow& row) {
    for (const SheetKind kind : {SheetKind::Ships, SheetKind::Guns, SheetKind::Missiles}) {
        if (word == KindWord(kind)) return kind;
    }
    throw Exception(path + ", line " + std::to_string(row.Line) + ": not a ship, gun or missile: " + word);
}

}  // namespace

std::vector<AppliedValue> ReadAppliedRecord(const std::string& path) {
    std::vector<AppliedValue> values;
    if (EntryTypeAt(path) == EntryType::Missing) return values;
    try {
        const std::vector<std::uint8_t> bytes = ReadPlainFile(path, kMaxAppliedRecordBytes);
        const std::vector<CsvRow> rows = ReadCsv(std::string(bytes.begin(), bytes.end()));
        for (std::size_t r = 1; r < rows.size(); ++r) {
            const std::vector<std::string>& fields = rows[r].Fields;
            if (fields.size() != 4) {
                throw Exception(path + ", line " + std::to_string(rows[r].Line) + ": not kind, name, key and value");
            }
            values.push_back({KindOfWord(fields[0], path, rows[r]), fields[1], fields[2], fields[3]});
        }
    } catch (const ECsvError& error) {
        throw Exception(path + ", line " + std::to_string(error.Line) + ": " + error.Message());
    } catch (const Exception& error) {
        throw Exception(error.Message().starts_with(path) ? error.Message() : path + " " + error.Message());
    }
    return values;
}

std::vector<std::uint8_t> AppliedRecordBytes(const Cells& values) {
    std::vector<std::vector<std::string>> rows{{"kind", "name", "key", "value"}};
    for (const auto& [address, text] : values) {
        rows.push_back({KindWord(address.Kind), address.ItemName, address.KeyName, text});
    }
    const std::string text = WriteCsv(rows);
    return {text.begin(), text.end()};
}

}  // namespace tovarin
