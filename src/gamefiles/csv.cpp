#include "gamefiles/csv.h"

namespace tovarin {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSeparators = ",;\t";

// The separator the header line uses first outside quotes; a comma when it uses none (a sheet of one column).
char SeparatorOf(std::string_view text) {
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\r' || c == '\n') break;
        if (kSeparators.find(c) != std::string_view::npos) return c;
    }
    return ',';
}

bool NeedsQuotes(const std::string& field) {
    if (field.find_first_of(",;\t\"\r\n") != std::string::npos) return true;
    return !field.empty() && (field.front() == ' ' || field.back() == ' ');
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
      Column(column),
      Problem(problem) {}

CsvReader::CsvReader(std::string_view text) : text_(text), separator_(SeparatorOf(text)) {}

bool CsvReader::Next(CsvRow& row) {
    if (position_ >= text_.size()) return false;
    row.Line = line_;
    std::size_t fields = 0;
    for (;;) {
        if (fields == row.Fields.size()) row.Fields.emplace_back();
        ReadField(fields + 1, row.Fields[fields]);
        ++fields;
        if (position_ >= text_.size()) break;
        if (text_[position_] == separator_) {
            ++position_;
            continue;
        }
        SkipLineEnd();
        break;
    }
    row.Fields.resize(fields);
    return true;
}

bool CsvReader::AtLineEnd() const { return text_[position_] == '\n' || text_[position_] == '\r'; }

// "\r\n", "\n" or "\r" alone: one line end each.
void CsvReader::SkipLineEnd() {
    const bool pair = text_[position_] == '\r' && position_ + 1 < text_.size() && text_[position_ + 1] == '\n';
    position_ += pair ? 2 : 1;
    ++line_;
}

bool CsvReader::AtFieldEnd() const {
    return position_ >= text_.size() || text_[position_] == separator_ || AtLineEnd();
}

bool CsvReader::AtBlank() const {
    return position_ < text_.size() && text_[position_] != separator_ &&
           (text_[position_] == ' ' || text_[position_] == '\t');
}

void CsvReader::SkipBlanks() {
    while (AtBlank()) ++position_;
}

void CsvReader::ReadField(std::size_t column, std::string& field) {
    field.clear();
    SkipBlanks();
    if (position_ < text_.size() && text_[position_] == '"') return ReadQuotedField(column, field);
    while (!AtFieldEnd()) {
        if (text_[position_] == '"') throw ECsvError(line_, column, "a quote inside a field that is not quoted");
        field += text_[position_++];
    }
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
}

void CsvReader::ReadQuotedField(std::size_t column, std::string& field) {
    const std::size_t startLine = line_;
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
            // A line end inside the quotes is part of the field, and a line of the file all the same.
            const bool lineEnd = c == '\n' || (c == '\r' && (position_ >= text_.size() || text_[position_] != '\n'));
            if (lineEnd) ++line_;
            field += c;
        }
    }
    SkipBlanks();
    if (!AtFieldEnd()) throw ECsvError(startLine, column, "text after the closing quote of a field");
}

std::vector<CsvRow> ReadCsv(std::string_view text) {
    CsvReader reader(text);
    std::vector<CsvRow> rows;
    for (CsvRow row; reader.Next(row); row = {}) rows.push_back(std::move(row));
    return rows;
}

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
