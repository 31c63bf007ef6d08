// Several files changed as one (FileChangeSet): whole or not at all under any failure, and put back at the next start
// when even the put-back failed.
#include "gamefiles/file_change_set.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "demo/bytes.h"
#include "gamefiles/change_hook.h"
#include "gamefiles/change_record.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_faults.h"
#include "gamefiles/whole_files.h"
#include "testkit/fault_plan.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using demo::Bytes;
using Files = std::map<std::string, std::string>;  // name in the folder: content; a missing name: no file

Bytes BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// One changed, one created, one removed, one INI file edited; one file the change leaves alone.
const Files kBefore{{"a.iff", "alpha"}, {"c.iff", "gamma"}, {"d.dat", "[s]\r\nk=1\r\n"}, {"e.iff", "epsilon"}};
const Files kAfter{{"a.iff", "ALPHA!"}, {"b.iff", "beta"}, {"d.dat", "[s]\r\nk=2\r\n"}, {"e.iff", "epsilon"}};

struct Folder : testkit::TempFolder {
    explicit Folder(const Files& files = kBefore) {
        for (const auto& [name, content] : files) testkit::WriteTextFile(Path() / name, content);
    }
    [[nodiscard]] std::string Of(const std::string& name) const { return WithSeparator() + name; }
    // Every file, the record and any leftover beside the files included.
    [[nodiscard]] Files Now() const {
        Files files;
        for (const auto& entry : fs::directory_iterator(Path())) {
            if (entry.is_regular_file()) files[entry.path().filename().string()] = testkit::ReadTextFile(entry.path());
        }
        return files;
    }
    [[nodiscard]] bool RecordStands() const { return fs::exists(Path() / kChangeRecordName); }

    std::vector<std::string> Change() const {
        FileChangeSet changes(WithSeparator(), "the test change");
        changes.Replace(Of("a.iff"), BytesOf("ALPHA!"));
        changes.Replace(Of("b.iff"), BytesOf("beta"));
        changes.Remove(Of("c.iff"));
        changes.EditIni(Of("d.dat"), [](const TIniFile& ini) { ini.WriteString("s", "k", "2"); });
        changes.Replace(Of("e.iff"), BytesOf("epsilon"));
        return changes.Commit();
    }
};

// The game's files (those of before or after), without the leftovers a lasting failure may leave beside them.
Files GameFiles(const Files& now) {
    Files files;
    for (const auto& [name, content] : now) {
        if (kBefore.contains(name) || kAfter.contains(name)) files[name] = content;
    }
    return files;
}

std::optional<std::string> In(const Files& files, const std::string& name) {
    return files.contains(name) ? std::optional(files.at(name)) : std::nullopt;
}

// Every call of the file layer failing in turn, once and from then on: with the record gone the files are all as
// before or all as after; while it stands each file is one or the other, and the next start puts them all back. The
// message names what became of each file.
TEST(FileChangeSet, AFailureAtAnyCallLeavesEveryFileAsBeforeOrAfterAndTheNextStartFinishesThePutBack) {
    const int calls = testkit::RunWithFaults([] {
        const Folder folder;
        EXPECT_EQ(folder.Change(), (std::vector<std::string>{"a.iff", "b.iff", "c.iff", "d.dat"}));
        EXPECT_EQ(folder.Now(), kAfter);
    });
    for (const InjectedFault fault : {InjectedFault{EIO, false}, InjectedFault{ENOSPC, true}}) {
        for (const bool lasting : {false, true}) {
            for (int failAt = 0; failAt < calls; ++failAt) {
                SCOPED_TRACE(std::to_string(fault.Error) + (lasting ? " from call " : " at call ") +
                             std::to_string(failAt));
                const Folder folder;
                std::string message;
                testkit::RunWithFaults(
                    [&] {
                        try {
                            (void)folder.Change();
                        } catch (const Exception& error) {
                            message = error.Message();
                        }
                    },
                    failAt, fault, lasting);
                const Files now = GameFiles(folder.Now());
                if (message.empty()) {
                    EXPECT_EQ(now, kAfter);
                    continue;
                }
                if (!folder.RecordStands()) {
                    EXPECT_TRUE(lasting || folder.Now() == kBefore) << "a leftover beside the files";
                    EXPECT_EQ(now, kBefore);
                } else {
                    EXPECT_TRUE(lasting);
                    for (const auto& name : {"a.iff", "b.iff", "c.iff", "d.dat"})
                        EXPECT_TRUE(In(now, name) == In(kBefore, name) || In(now, name) == In(kAfter, name)) << name;
                    EXPECT_TRUE(message.find("could not be put back") != std::string::npos ||
                                message.find("could not be removed") != std::string::npos)
                        << message;
                }
                if (message.find("Nothing was changed") != std::string::npos) {
                    // Before the record is written, a file that would be left alone is named too.
                    const auto says = [&](const char* text) { return message.find(text) != std::string::npos; };
                    EXPECT_TRUE(says("Nothing was changed: a.iff, b.iff, c.iff and d.dat are as they were") ||
                                says("Nothing was changed: a.iff, b.iff, c.iff, d.dat and e.iff are as they were"))
                        << message;
                }
                EXPECT_NO_THROW((void)RecoverUnfinishedChange(folder.WithSeparator()));
                EXPECT_FALSE(folder.RecordStands());
                EXPECT_EQ(GameFiles(folder.Now()), kBefore);
            }
        }
    }
}

// A change made whole, and one that only changes files to what they hold already, leave no record and write
// nothing more.
TEST(FileChangeSet, ACommittedChangeLeavesOnlyTheNewFilesAndAnEmptyOneWritesNothing) {
    const Folder folder;
    (void)folder.Change();
    EXPECT_EQ(folder.Now(), kAfter);
    testkit::FaultPlan counting;
    counting.OnlyPathsWith = kChangeRecordName;
    EXPECT_TRUE(folder.Change().empty());
    EXPECT_EQ(folder.Now(), kAfter);
    EXPECT_EQ(counting.Calls, 0) << "a record was written";
}

// A change of many files flushes each file it writes once and each folder it changes once, not a folder per file.
TEST(FileChangeSet, FlushesEachFileOnceAndEachFolderOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows writes a rename through by itself: there is no folder to flush";
#endif
    const Folder folder(Files{});
    fs::create_directories(folder.Path() / "sub");
    FileChangeSet changes(folder.WithSeparator(), "the test");
    for (int i = 0; i < 20; ++i) changes.Replace(folder.Of(std::to_string(i) + ".iff"), BytesOf("x"));
    for (int i = 0; i < 5; ++i) changes.Replace(folder.Of("sub/" + std::to_string(i) + ".iff"), BytesOf("y"));
    std::map<bool, int> flushes;  // by whether a folder was flushed
    SetFileFaultHook([&](FileCall call, const std::string& path) -> std::optional<InjectedFault> {
        if (call == FileCall::Flush) ++flushes[path.ends_with('/')];
        return std::nullopt;
    });
    (void)changes.Commit();
    SetFileFaultHook({});
    EXPECT_EQ(flushes[false], 26);  // the files and the record of the change
    EXPECT_EQ(flushes[true], 4);    // the record's folder as it is written, the two folders, the record's removal
}

// A record that stands: its files are refused to every writer with a message that says why and what to do, other
// files are not, and another change waits; the next start puts the files back as the record's started steps say,
// whatever the files hold, and a file it never started on keeps its bytes.
TEST(FileChangeSet, WhileARecordStandsItsFilesAreRefusedAndTheNextStartFollowsItsStepsOnly) {
    const Folder folder(kAfter);
    const ChangeRecord record{"the swap of Kestrel and Warden",
                              2,
                              {{"a.iff", BytesOf("alpha")}, {"b.iff", std::nullopt}, {"e.iff", BytesOf("untouched")}}};
    ReplaceWholeFile(folder.Of(kChangeRecordName), RecordBytes(record));
    {
        const testkit::FaultPlan failing(0, {EIO, false}, true);  // start-up cannot even read the record
        EXPECT_THROW((void)RecoverUnfinishedChange(folder.WithSeparator()), Exception);
    }
    for (const char* name : {"a.iff", "A.IFF", "b.iff"}) {
        try {
            ReplaceWholeFile(folder.Of(name), BytesOf("x"));
            ADD_FAILURE() << name << " was changed";
        } catch (const Exception& refusal) {
            EXPECT_EQ(refusal.Message(), folder.Of(name) +
                                             " was not changed: the swap of Kestrel and Warden did not finish, and its "
                                             "files are not all put back yet. Close Tovarin and start it again (or "
                                             "run any tovarin-cli command) to put them back first");
        }
    }
    EXPECT_NO_THROW(ReplaceWholeFile(folder.Of("d.dat"), BytesOf("[s]\r\nk=2\r\n")));
    FileChangeSet other(folder.WithSeparator(), "the gun slot save");
    other.Replace(folder.Of("d.dat"), BytesOf("other"));
    EXPECT_THROW(other.Commit(), Exception);
    EXPECT_EQ(folder.Now().at("d.dat"), "[s]\r\nk=2\r\n");

    EXPECT_EQ(RecoverUnfinishedChange(folder.WithSeparator()),
              "the swap of Kestrel and Warden did not finish when Tovarin last ran, so its files were put back: "
              "a.iff, b.iff and e.iff are as they were");
    Files expected = kAfter;
    expected["a.iff"] = "alpha";
    expected.erase("b.iff");
    EXPECT_EQ(folder.Now(), expected) << "e.iff's step had not started";
    EXPECT_NO_THROW(ReplaceWholeFile(folder.Of("a.iff"), BytesOf("x")));
    SetChangeGuard({});
}

// The put-back names the files as the game does, with backslashes on every system, and of many files the first
// ten and how many more.
TEST(FileChangeSet, APutBackNamesItsFilesWithBackslashesAndCountsALongList) {
    const Folder folder;
    fs::create_directory(folder.Path() / "Ships");
    ChangeRecord record{"the apply of 1 mod", 12, {}};
    for (int i = 0; i < 12; ++i) record.Files.push_back({"Ships/s" + std::to_string(i) + ".iff", std::nullopt});
    ReplaceWholeFile(folder.Of(kChangeRecordName), RecordBytes(record));
    EXPECT_EQ(
        RecoverUnfinishedChange(folder.WithSeparator()),
        "the apply of 1 mod did not finish when Tovarin last ran, so its files were put back: Ships\\s0.iff, "
        "Ships\\s1.iff, Ships\\s2.iff, Ships\\s3.iff, Ships\\s4.iff, Ships\\s5.iff, Ships\\s6.iff, Ships\\s7.iff, "
        "Ships\\s8.iff, Ships\\s9.iff and 2 more are as they were");
    SetChangeGuard({});
}

// The record holds every file's bytes, an empty file and a missing one too, and reads back as written; one that is
// damaged is refused, never half taken, and stays where it is.
TEST(ChangeRecord, ReadsBackAsWrittenAndADamagedOneIsRefused) {
    const ChangeRecord record{
        "the swap of A and B", 1, {{"Ships\\a b.iff", BytesOf("x\n\ny")}, {"new.iff", std::nullopt}, {"e", Bytes{}}}};
    const Bytes bytes = RecordBytes(record);
    const ChangeRecord read = ParseRecord(bytes);
    EXPECT_EQ(read.Operation, record.Operation);
    EXPECT_EQ(read.Started, 1u);
    ASSERT_EQ(read.Files.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.Files[i].Name, record.Files[i].Name);
        EXPECT_EQ(read.Files[i].Before, record.Files[i].Before);
    }
    const std::string text(bytes.begin(), bytes.end());
    for (const std::string& damaged : {text.substr(0, text.size() - 1), text + "z", text.substr(0, 30),
                                       std::string("Tovarin unfinished change\nOperation=x\nStarted=2\n\n")}) {
        EXPECT_THROW((void)ParseRecord(BytesOf(damaged)), Exception) << damaged;
    }

    const Folder folder;
    testkit::WriteTextFile(folder.Path() / kChangeRecordName, text.substr(0, 40));
    EXPECT_THROW((void)RecoverUnfinishedChange(folder.WithSeparator()), Exception);
    EXPECT_TRUE(folder.RecordStands());
    EXPECT_THROW(ReplaceWholeFile(folder.Of("a.iff"), BytesOf("x")), Exception);
    SetChangeGuard({});
}

// A folder standing where the record goes stops the change before any file changes, and a folder where a file is
// to be replaced is never deleted by the put-back.
TEST(FileChangeSet, AFolderInTheWayStopsTheChangeAndIsLeftAlone) {
    for (const char* inTheWay : {kChangeRecordName, "b.iff"}) {
        SCOPED_TRACE(inTheWay);
        const Folder folder;
        fs::create_directory(folder.Path() / inTheWay);
        EXPECT_THROW((void)folder.Change(), Exception);
        EXPECT_TRUE(fs::is_directory(folder.Path() / inTheWay));
        EXPECT_EQ(GameFiles(folder.Now()), kBefore);
    }
}

}  // namespace
}  // namespace tovarin
