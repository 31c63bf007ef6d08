#include "cli/terminal_text.h"

#include <cctype>

#include "gamefiles/text_encoding.h"

namespace tovarin::cli {

TerminalEncoding EncodingOfLocale(std::string_view locale) {
    const std::size_t dot = locale.find('.');
    std::string_view charset = dot == std::string_view::npos ? "" : locale.substr(dot + 1);
    charset = charset.substr(0, charset.find('@'));
    std::string letters;
    for (const char c : charset) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            letters += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    const bool latin = letters == "iso88591" || letters == "iso885915" || letters == "cp1252" || letters == "latin1";
    return latin ? TerminalEncoding::Windows1252 : TerminalEncoding::Utf8;
}

TerminalTextBuffer::~TerminalTextBuffer() { WriteLines(true); }

TerminalTextBuffer::int_type TerminalTextBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (pending_.back() == '\n') WriteLines(false);
    return c;
}

std::streamsize TerminalTextBuffer::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    WriteLines(false);
    return count;
}

int TerminalTextBuffer::sync() {
    WriteLines(true);
    terminal_.flush();
    return terminal_ ? 0 : -1;
}

// The complete lines pending, or with `all` everything pending.
void TerminalTextBuffer::WriteLines(bool all) {
    const std::size_t lastLineEnd = pending_.rfind('\n');
    if (!all && lastLineEnd == std::string::npos) return;
    const std::size_t end = all ? pending_.size() : lastLineEnd + 1;
    if (end == 0) return;
    const std::string shown = ShownText(std::string_view(pending_).substr(0, end));
    terminal_ << (encoding_ == TerminalEncoding::Utf8 ? shown : Windows1252ForTerminal(shown));
    pending_.erase(0, end);
}

}  // namespace tovarin::cli
