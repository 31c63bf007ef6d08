// The Windows build's INI reads during a run (gamefiles/run_caches.h): each section read whole once, each key
// answered from that copy. Every answer must be the one GetPrivateProfileStringA gives outside a run, and what the
// program itself writes during the run must show in the very next read.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gamefiles/file_primitives.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/run_caches.h"
#include "gamefiles/whole_files.h"
#include "testkit/temp_folder.h"
#include "testkit/text_files.h"

namespace tovarin {
namespace {

// The lines of INI_FACTS that a kept copy could get wrong, and a value too long for the buffer.
const std::string kIniText =
    "[Ships]\r\n  Kestrel  =  kestrel.iff  \r\nquoted=\"a b\"\r\nsingle='x'\r\nhalf=\"abc\r\n"
    "empty=   \r\nnoeq\r\ndup=first\r\nDUP=second\r\n;semi=colon\r\nlong=" +
    std::string(2000, 'v') + "\r\n[ships]\r\nlater=1\r\n[  Spaced  ]\r\nk=v\r\n[Empty]\r\n";

TEST(ProfileRunCache, AnswersEveryKeyAsWindowsDoes) {
    const testkit::TempFolder temp;
    const std::string path = temp.WithSeparator() + "vskinfo.dat";
    testkit::WriteTextFile(path, kIniText);
    struct Row {
        const char* Section;
        const char* Key;
        const char* Default;
        const char* File;
    };
    const std::string missing = temp.WithSeparator() + "missing.ini";
    const std::vector<Row> rows = {
        {"Ships", "Kestrel", "", path.c_str()},  {"SHIPS", " kestrel ", "", path.c_str()},
        {"Ships", "quoted", "", path.c_str()},   {"Ships", "single", "", path.c_str()},
        {"Ships", "half", "", path.c_str()},     {"Ships", "empty", "d", path.c_str()},
        {"Ships", "noeq", "d", path.c_str()},    {"Ships", "dup", "", path.c_str()},
        {"Ships", ";semi", "d", path.c_str()},   {"Ships", "long", "", path.c_str()},
        {"Ships", "later", "d", path.c_str()},   {" spaced ", "K", "", path.c_str()},
        {"Empty", "k", "\"q\" ", path.c_str()},  {"Gone", "k", "", path.c_str()},
        {"Gone", "k", "  dflt  ", path.c_str()}, {"Ships", "Kestrel", "", missing.c_str()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.Section) + " " + row.Key + " in " + row.File);
        const TIniFile ini(row.File);
        const std::string outside = ini.ReadString(row.Section, row.Key, row.Default);
        const RunCaches run;
        EXPECT_EQ(ini.ReadString(row.Section, row.Key, row.Default), outside);
    }
}

// Each way the program changes a file, then a read in the same run.
TEST(ProfileRunCache, SeesWhatTheProgramWroteInTheSameRun) {
    const testkit::TempFolder temp;
    const std::string path = temp.WithSeparator() + "switch.dat";
    testkit::WriteTextFile(path, "[swships]\r\nKestrel=Kestrel\r\n");
    const TIniFile ini(path);
    const auto bytes = [](const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    struct Step {
        const char* What;
        std::function<void()> Change;
        const char* Section;
        const char* Found;
    };
    const std::vector<Step> steps = {
        {"read", [] {}, "swships", "Kestrel"},
        {"value written", [&] { ini.WriteString("swships", "Kestrel", "Warden"); }, "swships", "Warden"},
        {"section added", [&] { ini.WriteString("Added", "Kestrel", "Lancet"); }, "Added", "Lancet"},
        {"replaced whole", [&] { ReplaceWholeFile(path, bytes("[swships]\r\nKestrel=Corsair\r\n")); }, "swships",
         "Corsair"},
        {"a byte written in place", [&] { WriteByteAt(path, 19, 'c'); }, "swships", "corsair"},
        {"deleted", [&] { DeleteFileAt(path); }, "swships", ""},
    };
    const RunCaches run;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.What);
        step.Change();
        EXPECT_EQ(ini.ReadString(step.Section, "Kestrel", ""), step.Found);
    }
}

}  // namespace
}  // namespace tovarin
