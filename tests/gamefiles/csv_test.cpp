#include "gamefiles/csv.h"

#include <gtest/gtest.h>

// Sheets as spreadsheet programs write them: every quoting case read, written and read back.
namespace tovarin {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct Row {
    std::string Name;
    std::string Text;
    Rows Read;                       // the rows of Text
    std::vector<std::size_t> Lines;  // the line each of them starts on
    std::string Written;             // WriteCsv(Read); for a refused text, "line L, column C"
};

TEST(CsvTest, ReadsWritesAndRefusesEveryQuotingCase) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<Row> rows = {
        {"plain, CR LF", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}, "a,b\r\nc,d\r\n"},
        {"LF, no last line end", "a,b\nc", {{"a", "b"}, {"c"}}, {1, 2}, "a,b\r\nc\r\n"},
        {"byte order mark", bom + "name,mass\r\n", {{"name", "mass"}}, {1}, "name,mass\r\n"},
        {"quoted comma, quote and line break",
         "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\nx",
         {{"a,b", "say \"hi\"", "two\r\nlines"}, {"x"}},
         {1, 3},
         "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\nx\r\n"},
        {"quotes that need none, empty fields and an empty line",
         "\"plain\",,\"\"\r\n\r\n,",
         {{"plain", "", ""}, {""}, {"", ""}},
         {1, 2, 3},
         "plain,,\r\n\r\n,\r\n"},
        {"a carriage return alone is text", "a\rb", {{"a\rb"}}, {1}, "\"a\rb\"\r\n"},
        {"a field starting like a byte order mark", "\"" + bom + "x\"", {{bom + "x"}}, {1}, "\"" + bom + "x\"\r\n"},
        {"no rows", "", {}, {}, ""},
        {"a quote inside an unquoted field", "a,b\r\nc,d\"e\r\n", {}, {}, "line 2, column 2"},
        {"text after the closing quote", "\"a\"b,c", {}, {}, "line 1, column 1"},
        {"an unclosed quote", "a\r\nb,\"c\r\nd", {}, {}, "line 2, column 2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        try {
            const std::vector<CsvRow> read = ReadCsv(row.Text);
            Rows fields;
            std::vector<std::size_t> lines;
            for (const CsvRow& r : read) {
                fields.push_back(r.Fields);
                lines.push_back(r.Line);
            }
            EXPECT_EQ(fields, row.Read);
            EXPECT_EQ(lines, row.Lines);
            EXPECT_EQ(WriteCsv(fields), row.Written);
            std::vector<CsvRow> again = ReadCsv(WriteCsv(fields));
            EXPECT_EQ(again.size(), fields.size());
            for (std::size_t i = 0; i < again.size() && i < fields.size(); ++i) EXPECT_EQ(again[i].Fields, fields[i]);
        } catch (const ECsvError& error) {
            EXPECT_EQ("line " + std::to_string(error.Line) + ", column " + std::to_string(error.Column), row.Written)
                << error.Message();
        }
    }
}

}  // namespace
}  // namespace tovarin
