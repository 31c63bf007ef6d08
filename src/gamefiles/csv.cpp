#include "gamefiles/csv.h"

namespace tovarin {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// Walks the text once, field by field, counting lines as it goes.
class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {
        if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) position_ = kByteOrderMark.size();
    }

    std::vector<CsvRow> Rows() {
        std::vector<CsvRow> rows;
        while (position_ < text_.size()) rows.push_back(Row());
        return rows;
    }

private:
    CsvRow Row() {
        CsvRow row;
        row.Line = line_;
        for (;;) {
            row.Fields.push_back(Field(row.Fields.size() + 1));
            if (position_ >= text_.size()) return row;
            if (text_[position_] == ',') {
                ++position_;
                continue;
            }
            SkipLineEnd();
            return row;
        }
    }

    // True at "\n" or "\r\n"; a carriage return alone is an ordinary character.
    [[nodiscard]] bool AtLineEnd() const {
        if (text_[position_] == '\n') return true;
        return text_[position_] == '\r' && position_ + 1 < text_.size() && text_[position_ + 1] == '\n';
    }

    void SkipLineEnd() {
        position_ += text_[position_] == '\r' ? 2 : 1;
        ++line_;
    }

    [[nodiscard]] bool AtFieldEnd() const {
        return position_ >= text_.size() || text_[position_] == ',' || AtLineEnd();
    }

    std::string Field(std::size_t column) {
        if (position_ < text_.size() && text_[position_] == '"') return QuotedField(column);
        std::string field;
        while (!AtFieldEnd()) {
            if (text_[position_] == '"') throw ECsvError(line_, column, "a quote inside a field that is not quoted");
            field += text_[position_++];
        }
        return field;
    }

    std::string QuotedField(std::size_t column) {
        const std::size_t startLine = line_;
        std::string field;
        ++position_;
        for (;;) {
            if (position_ >= text_.size()) throw ECsvError(startLine, column, "a quoted field is not closed");
            const char c = text_[position_++];
            if (c == '"' && position_ < text_.size() && text_[position_] == '"') {
                field += '"';
                ++position_;
            } else if (c == '"') {
                break;
            } else {
                if (c == '\n') ++line_;
                field += c;
            }
        }
        if (!AtFieldEnd()) throw ECsvError(startLine, column, "text after the closing quote of a field");
        return field;
    }

    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t line_ = 1;
};

// A field that starts like a byte order mark is quoted too, so that reading it back does not skip its bytes.
bool NeedsQuotes(const std::string& field) {
    return field.find_first_of(",\"\r\n") != std::string::npos || field.starts_with(kByteOrderMark);
}

void AppendField(std::string& text, const std::string& field) {
    if (!NeedsQuotes(field)) {
        text += field;
        return;
    }
    text += '"';
    for (const char c : field) {
        if (c == '"') text += '"';
        text += c;
    }
    text += '"';
}

}  // namespace

ECsvError::ECsvError(std::size_t line, std::size_t column, const std::string& problem)
    : Exception("Line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + problem),
      Line(line),
      Column(column) {}

std::vector<CsvRow> ReadCsv(std::string_view text) { return CsvReader(text).Rows(); }

std::string WriteCsv(const std::vector<std::vector<std::string>>& rows) {
    std::string text;
    for (const std::vector<std::string>& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) text += ',';
            AppendField(text, row[i]);
        }
        text += kLineEnd;
    }
    return text;
}

}  // namespace tovarin
