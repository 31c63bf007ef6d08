#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "fuzz_game.h"
#include "gamefiles/csv.h"
#include "gamefiles/text_encoding.h"

// A sheet a player hands to "import": whatever the bytes, in whatever encoding, reading either gives rows or
// refuses with a line and a column inside the text; the text, written as a file, reads back as the same text; and
// rows written out read back as the same rows.
int tovarin::fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = tovarin::TextOfFile(std::span(data, size));
    const std::string file = tovarin::FileBytesOfText(text);
    if (tovarin::TextOfFile(std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size())) != text) {
        std::abort();
    }
    std::vector<tovarin::CsvRow> rows;
    try {
        rows = tovarin::ReadCsv(text);
    } catch (const tovarin::ECsvError& error) {
        if (error.Line == 0 || error.Line > text.size() + 1 || error.Column == 0 || error.Column > text.size() + 1) {
            std::abort();
        }
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

// Sheets as spreadsheet programs write them: quoted names with commas, quotes and line breaks, CRLF, LF and CR,
// semicolons and tabs, UTF-8 with its mark, UTF-16 and Windows-1252.
std::vector<tovarin::fuzz::Bytes> tovarin::fuzz::FuzzSeeds() {
    std::vector<Bytes> seeds;
    for (const std::string_view sheet :
         {std::string_view("ship,mass,gun1\r\nKestrel,5000,Gatling Autocannon\r\n"),
          std::string_view("gun,speed\n\"Lance, Mk \"\"2\"\"\",12\n"),
          std::string_view("\xEF\xBB\xBFship,note\r\n\"Line\r\nbreak\",\r\n"),
          std::string_view("a,b\r\n\"unterminated\r\n"), std::string_view("ship;mass\rKestr\xE9l; 5 ;\"a;b\"\r"),
          std::string_view("\xFF\xFEs\0h\0i\0p\0\t\0m\0\r\0\n\0", 18)})
        seeds.emplace_back(sheet.begin(), sheet.end());
    return seeds;
}
