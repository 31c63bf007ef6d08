#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "testkit/game_folder.h"
#include "ui/headless_platform.h"

// A game installation with an archive and the catalogue's patch positions, and a start of the editor on it.
namespace tovarin::testkit {

inline constexpr std::uint8_t kMark = 65;  // "A"
inline const std::string kArchive = "data.tre";
inline const std::string kRecord = "uninstall.dat";

// An archive of `size` bytes, none of them the mark, so that every listed byte reads as unpatched.
inline Bytes ArchiveBytes(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + 3) % 64);
    return bytes;
}

// Lists the archive positions in the catalogue's InstallData section: num and one key per entry.
inline void ListPositions(GameFolder& game, const std::vector<std::int32_t>& positions) {
    game.SetCatalogueKey("InstallData", "num", std::to_string(positions.size()));
    for (std::size_t i = 0; i < positions.size(); ++i) {
        game.SetCatalogueKey("InstallData", std::to_string(i), std::to_string(positions[i]));
    }
}

// What one start of the editor showed and how it ended.
struct EditorRun {
    std::optional<int> Exit;         // set when start-up ended the program
    std::vector<std::string> Boxes;  // "Message: ...", "Question: ..." or "Error: ...", in order
    std::string Label39;             // the About line, set by the last start-up step
};

inline std::vector<std::string> Described(const std::vector<HeadlessPlatform::Box>& boxes) {
    std::vector<std::string> texts;
    for (const HeadlessPlatform::Box& box : boxes) {
        switch (box.kind) {
            case HeadlessPlatform::Box::Kind::Message:
                texts.push_back("Message: " + box.text);
                break;
            case HeadlessPlatform::Box::Kind::Question:
                texts.push_back("Question: " + box.text);
                break;
            case HeadlessPlatform::Box::Kind::Error:
                texts.push_back("Error: " + box.text);
                break;
        }
    }
    return texts;
}

// Starts the editor in the game folder with the command-line arguments, answering its questions in order.
inline EditorRun StartEditor(const GameFolder& game, std::vector<std::string> arguments = {},
                             std::deque<bool> answers = {}) {
    HeadlessPlatform platform(game.Folder(), std::move(arguments));
    platform.Answers = std::move(answers);
    Application app(platform);
    EditorRun run;
    run.Exit = app.Start();
    run.Boxes = Described(platform.Boxes);
    if (!run.Exit) run.Label39 = app.Form1().Label39.Caption();
    return run;
}

}  // namespace tovarin::testkit
