#include "installation/archive_patch.h"

#include <cstdint>
#include <string>

#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/game_paths.h"
#include "gamefiles/narrowing.h"
#include "gamefiles/numbers.h"

// Installing marks single bytes of the game's archive with "A"; the uninstall record keeps what stood there
// before, so that "Tovarin.exe /u" can put every byte back.
namespace tovarin {

namespace {

constexpr const char* kRecordSection = "data";
constexpr const char* kPositionsSection = "InstallData";
constexpr const char* kCountKey = "num";
constexpr std::uint8_t kPatchMark = 65;  // "A"
constexpr std::int32_t kNoOriginal = -1;

// Without the archive the program is not in the game folder: there is nothing to patch or to restore.
PatchReport ArchiveMissing(const std::string& archive) {
    return {{"Couldn't find file " + archive + "\n\rPlease consult readme.txt on how to install Tovarin"}, false};
}

// How a run went; the closing message names the reason of a failure. The player sees the system's own words for
// an input/output error first, then the closing message.
struct Outcome {
    bool Failed = false;
    std::string Reason = "Unknown Error";
    std::vector<std::string> Messages;

    // The system's own words for the failure come first. The file layer's own codes mean something else to the
    // system, so their own meaning is shown instead. Both name the file, as every message about a file does.
    void NoteInOutError(const EInOutError& error, const SystemTextOf& systemText, const std::string& gameFolder) {
        Failed = true;
        Reason = Described(error, gameFolder);
        const std::string file = NameInGameFolder(gameFolder, error.File) + ": ";
        Messages.push_back(IsFileLayerCode(error.ErrorCode) ? Reason : file + systemText(error.ErrorCode));
    }

    PatchReport Finish(const std::string& what) {
        Messages.push_back(Failed ? what + " failed: " + Reason : what + " successful");
        return {Messages, !Failed};
    }
};

// The byte to record as the original of a position. A byte that already carries the mark while the record
// holds an original for it was patched by an earlier installation that stopped part-way: the recorded
// original is kept, because recording the mark instead would lose it for good.
std::uint8_t OriginalByte(const TIniFile& record, std::int32_t position, std::uint8_t found) {
    if (found != kPatchMark) return found;
    const std::int32_t recorded = record.ReadInteger(kRecordSection, IntToStr(position), kNoOriginal);
    return recorded >= 0 && recorded <= 255 ? static_cast<std::uint8_t>(recorded) : found;
}

// Patches catalogue entry `index`: its original byte goes on record before the byte is overwritten, so the
// record never lacks a byte that was patched. False when the catalogue lists no position for the entry.
bool PatchEntry(const TIniFile& catalogue, const TIniFile& record, const std::string& archive, std::int32_t index) {
    const std::string indexKey = IntToStr(index);
    const std::int32_t position = catalogue.ReadInteger(kPositionsSection, indexKey, 0);
    if (position == 0) {
        record.WriteInteger(kRecordSection, indexKey, 0);
        return false;
    }
    const std::uint8_t original = OriginalByte(record, position, ReadByteAt(archive, position));
    record.WriteInteger(kRecordSection, indexKey, position);
    record.WriteInteger(kRecordSection, IntToStr(position), original);
    WriteByteAt(archive, position, kPatchMark);
    return true;
}

// Puts back the original of record entry `index`. An entry without a position, or whose original is not on
// record, restores nothing: a guessed byte would damage the archive. False for such an entry.
bool RestoreEntry(const TIniFile& record, const std::string& archive, std::int32_t index) {
    const std::int32_t position = record.ReadInteger(kRecordSection, IntToStr(index), 0);
    if (position <= 0) return false;
    const std::string positionKey = IntToStr(position);
    if (record.ReadString(kRecordSection, positionKey, "").empty()) return false;
    // A recorded value that is no byte stops the removal at this entry with "Range check error".
    const std::uint8_t original = ToByte(record.ReadInteger(kRecordSection, positionKey, kNoOriginal));
    WriteByteAt(archive, position, original);
    return true;
}

}  // namespace

PatchState ProbePatch(const std::string& gameFolder, const TIniFile& catalogue) {
    const std::int32_t count = catalogue.ReadInteger(kPositionsSection, kCountKey, 0);
    const std::int32_t position = catalogue.ReadInteger(kPositionsSection, IntToStr(std::int64_t{count} - 1), 0);
    if (position == 0) return PatchState::NotListed;
    try {
        return ReadByteAt(GamePath(gameFolder, kArchiveName), position) == kPatchMark ? PatchState::InPlace
                                                                                      : PatchState::NotInPlace;
    } catch (const EInOutError&) {
        return PatchState::Unreadable;
    }
}

PatchReport InstallArchivePatch(const std::string& gameFolder, const TIniFile& catalogue,
                                const SystemTextOf& systemText) {
    const std::string archive = GamePath(gameFolder, kArchiveName);
    if (!FileExists(archive)) return ArchiveMissing(archive);

    const TIniFile record(GamePath(gameFolder, kUninstallRecordName));
    const std::int32_t count = catalogue.ReadInteger(kPositionsSection, kCountKey, 0);
    record.WriteInteger(kRecordSection, kCountKey, count);

    Outcome outcome;
    try {
        for (std::int32_t index = 0; index < count; ++index) {
            if (!PatchEntry(catalogue, record, archive, index)) outcome.Failed = true;
        }
    } catch (const EInOutError& error) {
        outcome.NoteInOutError(error, systemText, gameFolder);
    }
    return outcome.Finish("Install");
}

PatchReport RemoveArchivePatch(const std::string& gameFolder, const SystemTextOf& systemText) {
    const std::string archive = GamePath(gameFolder, kArchiveName);
    if (!FileExists(archive)) return ArchiveMissing(archive);

    const TIniFile record(GamePath(gameFolder, kUninstallRecordName));
    const std::int32_t count = record.ReadInteger(kRecordSection, kCountKey, 0);

    Outcome outcome;
    if (count <= 0) {
        outcome.Messages.push_back("Sorry, cannot uninstall.");
        outcome.Failed = true;
        outcome.Reason = "No uninstall data";
    }
    try {
        for (std::int32_t index = 0; index < count; ++index) {
            if (!RestoreEntry(record, archive, index)) outcome.Failed = true;
        }
    } catch (const EInOutError& error) {
        outcome.NoteInOutError(error, systemText, gameFolder);
    }
    return outcome.Finish("Uninstall");
}

}  // namespace tovarin
