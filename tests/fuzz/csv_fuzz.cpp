#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "fuzz_game.h"
#include "gamefiles/csv.h"

// A sheet a player hands to "import": whatever the bytes, reading either gives rows or refuses with a line and a
// column inside the text, and rows written out read back as the same rows.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<tovarin::CsvRow> rows;
    try {
        rows = tovarin::ReadCsv(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const tovarin::ECsvError& error) {
        if (error.Line == 0 || error.Line > size + 1 || error.Column == 0 || error.Column > size + 1) std::abort();
        return 0;
    }
    std::vector<std::vector<std::string>> fields;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Fields.empty() || rows[i].Line == 0 || (i > 0 && rows[i].Line <= rows[i - 1].Line)) std::abort();
        fields.push_back(rows[i].Fields);
    }
    const auto readBack = tovarin::ReadCsv(tovarin::WriteCsv(fields));  // a throw here is a finding too
    const auto sameFields = [](const tovarin::CsvRow& row, const auto& written) { return row.Fields == written; };
    if (!std::equal(readBack.begin(), readBack.end(), fields.begin(), fields.end(), sameFields)) std::abort();
    return 0;
}

// Sheets as a spreadsheet program writes them: quoted names with commas, quotes and line breaks, CRLF and LF.
std::vector<tovarin::fuzz::Bytes> tovarin::fuzz::FuzzSeeds() {
    std::vector<Bytes> seeds;
    for (const std::string_view sheet :
         {"ship,mass,gun1\r\nKestrel,5000,Gatling Autocannon\r\n", "name,speed\n\"Lance, Mk \"\"2\"\"\",12\n",
          "\xEF\xBB\xBFship,note\r\n\"Line\r\nbreak\",\r\n", "a,b\r\n\"unterminated\r\n"})
        seeds.emplace_back(sheet.begin(), sheet.end());
    return seeds;
}
