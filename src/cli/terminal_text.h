#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

// What the commands write, as the terminal shows it. The commands join the game's names (Windows-1252) with paths
// and typed text (UTF-8 where the system speaks it) in one line; each line goes on as well-formed text in the
// terminal's own encoding.
namespace tovarin::cli {

enum class TerminalEncoding { Utf8, Windows1252 };

// The encoding a locale's name tells ("de_DE.ISO-8859-1", "en_US.UTF-8"): Windows-1252 for the Latin-1 family,
// whose letters are the game's; UTF-8 for any other, and for none.
[[nodiscard]] TerminalEncoding EncodingOfLocale(std::string_view locale);

// A stream buffer in front of one of the terminal's streams, converting line by line (a character never spans two
// lines), and what is left when flushed or destroyed.
class TerminalTextBuffer : public std::streambuf {
public:
    TerminalTextBuffer(std::ostream& terminal, TerminalEncoding encoding) : terminal_(terminal), encoding_(encoding) {}
    ~TerminalTextBuffer() override;
    TerminalTextBuffer(const TerminalTextBuffer&) = delete;
    TerminalTextBuffer& operator=(const TerminalTextBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void WriteLines(bool all);

    std::ostream& terminal_;
    TerminalEncoding encoding_;
    std::string pending_;
};

}  // namespace tovarin::cli
