// Undo and Redo of the window's changes to the game's files, driven as a player drives them: the buttons and the
// keys, byte for byte over every kind of change, the refusal when another program changed a file since, the
// question about unsaved edits, and the fault walk over an undo.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "mods/load_order.h"
#include "ships/ship_session.h"
#include "testkit/demo_mods.h"
#include "testkit/fault_walk.h"

namespace tovarin::testkit {
namespace {

using Answer = Platform::Answer;
using Act = std::function<void(TForm1&)>;

// The demo's weapons and ships, prepared further before the program starts on them.
struct Session : ShipGame {
    explicit Session(const std::function<void(TempGameFolder&)>& prepare = {})
        : prepared(((prepare ? prepare(Game) : void()), true)), run(Game) {}
    [[nodiscard]] FolderFiles Files() const { return GameFiles(Game.Folder()); }
    [[nodiscard]] std::vector<std::string> Errors() const {
        std::vector<std::string> errors;
        for (const auto& box : run.Platform.Boxes)
            if (box.kind == HeadlessPlatform::Box::Kind::Error) errors.push_back(box.text);
        return errors;
    }
    bool prepared;
    ProgramRun run;
    TForm1& f = run.Form();
};

void ThreeModsSwitchedOn(TempGameFolder& game) {
    WriteThreeMods(game, "Tovarin Mods");
    game.WriteText("Tovarin Mods\\load order.ini", LoadOrderText({{"ff", true}, {"hm", true}, {"gun pack.csv", true}}));
}

// The originals kept in "Tovarin Backup": the program's own, never part of a step.
FolderFiles Kept(const TempGameFolder& game) {
    FolderFiles files = ReadFolder(game.Folder());
    std::erase_if(files,
                  [](const auto& file) { return !file.first.starts_with(std::string(kBackupFolderName) + "/"); });
    return files;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "|";
    return text;
}

// Each kind of change: undone with the button and redone with Ctrl+Y, undone with Ctrl+Z and redone with
// Ctrl+Shift+Z, every file of the game byte for byte as before and as after each time, and the tabs showing it.
TEST(UndoTest, EveryKindOfChangeIsUndoneAndRedoneByteForByte) {
    const auto type = [](TEdit TForm1::*box, const char* text) {
        return [=](TForm1& f) { UserInput::Type(f.*box, text); };
    };
    const auto page = [](int index) { return [=](TForm1& f) { UserInput::ShowPage(f.PageControl1, index); }; };
    const auto click = [](TButton TForm1::*button) { return [=](TForm1& f) { UserInput::Click(f.*button); }; };
    const auto steps = [](std::vector<Act> acts) {
        return [=](TForm1& f) {
            for (const Act& act : acts) act(f);
        };
    };
    const auto text = [](TEdit TForm1::*box) { return [=](TForm1& f) { return (f.*box).Text(); }; };
    const struct Row {
        std::string Step;
        std::function<void(TempGameFolder&)> Prepare;
        Act Setup, Change;
        std::function<std::string(TForm1&)> Shown;
    } rows[] = {
        {"save of Kestrel",
         {},
         {},
         steps({type(&TForm1::Edit29, "4321"), click(&TForm1::Button2)}),
         text(&TForm1::Edit29)},
        {"save of Pulse Laser",
         {},
         page(3),
         steps({type(&TForm1::Edit30, "4321"), click(&TForm1::Button7)}),
         text(&TForm1::Edit30)},
        {"save of Dart",
         {},
         page(4),
         steps({type(&TForm1::Edit42, "4321"), click(&TForm1::Button8)}),
         text(&TForm1::Edit42)},
        {"gun slot save of Kestrel",
         {},
         page(1),
         steps({click(&TForm1::Button13), click(&TForm1::Button14)}),
         [](TForm1& f) { return Joined(f.ListBox3.Items()); }},
        {"swap of Kestrel and Warden",
         {},
         page(2),
         click(&TForm1::Button10),
         [](TForm1& f) { return Joined(f.ListBox4.Items()); }},
        {"restore of the original files", ThreeModsSwitchedOn,
         steps({type(&TForm1::Edit29, "4321"), click(&TForm1::Button2), page(5), click(&TForm1::Button20), page(6)}),
         click(&TForm1::Button15), [](TForm1& f) { return f.Edit29.Text() + f.Edit15.Text(); }},
        {"apply of 3 mods", ThreeModsSwitchedOn, page(5), click(&TForm1::Button20), text(&TForm1::Edit15)},
        {"switch of Heavy Metal off", ThreeModsSwitchedOn,
         steps({page(5), [](TForm1& f) { UserInput::Select(f.ListBox6, 1); }}),
         [](TForm1& f) { UserInput::Toggle(f.CheckBox4); }, [](TForm1& f) { return Joined(f.ListBox6.Items()); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Step);
        Session s(row.Prepare);
        s.run.Platform.Answers = {true, true, true};
        if (row.Setup) row.Setup(s.f);
        const FolderFiles before = s.Files();
        const std::string shownBefore = row.Shown(s.f);
        row.Change(s.f);
        const FolderFiles after = s.Files();
        const std::string shownAfter = row.Shown(s.f);
        const FolderFiles kept = Kept(s.Game);
        ASSERT_NE(before, after);
        EXPECT_EQ(s.f.Undo.Caption(), "Undo " + row.Step + " (&Z)");
        const auto expect = [&](const FolderFiles& files, const std::string& shown, const char* what) {
            SCOPED_TRACE(what);
            EXPECT_TRUE(s.Files() == files) << Differing(s.Files(), files);
            EXPECT_EQ(row.Shown(s.f), shown);
            EXPECT_TRUE(Kept(s.Game) == kept) << "the kept originals changed";
        };
        UserInput::Click(s.f.Undo);
        expect(before, shownBefore, "undone by the button");
        EXPECT_EQ(s.f.Redo.Caption(), "Redo " + row.Step + " (&Y)");
        EXPECT_TRUE(UserInput::PressShortcut(s.f, 'Y', true, false));
        expect(after, shownAfter, "redone by Ctrl+Y");
        EXPECT_TRUE(UserInput::PressShortcut(s.f, 'Z', true, false));
        expect(before, shownBefore, "undone by Ctrl+Z");
        EXPECT_TRUE(UserInput::PressShortcut(s.f, 'Z', true, true));
        expect(after, shownAfter, "redone by Ctrl+Shift+Z");
        EXPECT_EQ(s.Errors(), std::vector<std::string>{});
        EXPECT_FALSE(s.f.Redo.Enabled());
    }
}

// A file another program changed since the step is never written over: the undo (or redo) is refused naming it,
// and no file of the step changes, however many it has.
TEST(UndoTest, AFileChangedSinceByAnotherProgramRefusesTheWholeStep) {
    for (const bool redo : {false, true}) {
        SCOPED_TRACE(redo ? "redo" : "undo");
        Session s;
        UserInput::ShowPage(s.f.PageControl1, 2);
        UserInput::Click(s.f.Button10);
        if (redo) UserInput::Click(s.f.Undo);
        s.Game.WriteFile("Ships\\warden.iff", {1, 2, 3});
        const FolderFiles files = s.Files();
        UserInput::Click(redo ? s.f.Redo : s.f.Undo);
        EXPECT_EQ(s.Errors(), std::vector<std::string>{
                                  "Ships\\warden.iff was changed by another program since the swap "
                                  "of Kestrel and Warden was " +
                                  std::string(redo ? "undone: nothing was redone." : "made: nothing was undone.")});
        EXPECT_TRUE(s.Files() == files) << Differing(s.Files(), files);
        EXPECT_EQ((redo ? s.f.Redo : s.f.Undo).Caption(),
                  std::string(redo ? "Redo" : "Undo") + " swap of Kestrel and Warden" + (redo ? " (&Y)" : " (&Z)"));
    }
}

// Undo loads every tab again, so unsaved edits are asked about first: Cancel does nothing, No undoes and shows the
// file, Yes saves the edits, which are then the newest change and stay. Ctrl+Z in the box with the typing is the
// box's own.
TEST(UndoTest, UnsavedEditsAreAskedAboutFirstAndCtrlZInTheirBoxIsTheBoxs) {
    for (const Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
        SCOPED_TRACE(static_cast<int>(answer));
        Session s;
        const std::string mass = s.f.Edit29.Text();
        const Bytes original = s.Game.ReadFile("Ships\\kestrel.iff");
        UserInput::Type(s.f.Edit29, "4321");
        UserInput::Click(s.f.Button2);
        const Bytes saved = s.Game.ReadFile("Ships\\kestrel.iff");
        UserInput::Type(s.f.Edit29, "555");
        EXPECT_FALSE(UserInput::PressShortcut(s.f, 'Z', true, false));
        EXPECT_EQ(s.Game.ReadFile("Ships\\kestrel.iff"), saved);
        s.run.Platform.SaveAnswers = {answer};
        UserInput::Click(s.f.Undo);
        EXPECT_EQ(s.run.Shown(), std::vector<std::string>{"Save changes to Kestrel?"});
        EXPECT_EQ(s.f.Edit29.Text(), answer == Answer::Cancel ? "555" : answer == Answer::No ? mass : "555");
        EXPECT_EQ(s.Game.ReadFile("Ships\\kestrel.iff") == original, answer == Answer::No);
        EXPECT_EQ(s.Game.ReadFile("Ships\\kestrel.iff") == saved, answer == Answer::Cancel);
        EXPECT_EQ(s.f.Redo.Enabled(), answer == Answer::No);
    }
}

// At least a hundred steps are kept, and a new change after an undo drops what could be redone.
TEST(UndoTest, AHundredStepsAreKeptAndANewChangeDropsTheRedoSteps) {
    Session s;
    const Bytes first = s.Game.ReadFile("Ships\\kestrel.iff");
    for (int mass = 1000; mass <= 1100; ++mass) {
        UserInput::Type(s.f.Edit29, std::to_string(mass));
        UserInput::Click(s.f.Button2);
    }
    for (int step = 0; step < 100; ++step) UserInput::Click(s.f.Undo);
    EXPECT_EQ(s.f.Edit29.Text(), "1000");
    EXPECT_FALSE(s.f.Undo.Enabled()) << "more than a hundred kept";
    UserInput::Click(s.f.Redo);
    EXPECT_EQ(s.f.Edit29.Text(), "1001");
    UserInput::Type(s.f.Edit29, "7");
    UserInput::Click(s.f.Button2);
    EXPECT_FALSE(s.f.Redo.Enabled());
    EXPECT_EQ(s.f.Redo.Caption(), "Redo (&Y)");
    EXPECT_NE(s.Game.ReadFile("Ships\\kestrel.iff"), first);
}

// The undo of a swap, three files as one change, failing at every file call: every file as before or as after, and
// after the next start all of them.
TEST(UndoTest, FaultWalkOverTheUndoOfASwap) {
    const FaultWalk walk{"the undo of a swap",
                         [](const std::filesystem::path& folder) {
                             GameFolder game(folder, Edition::Base);
                             AddThreeDemoShips(game);
                         },
                         [](TForm1& f, HeadlessPlatform&) {
                             // The swap to undo, made from the unswapped ships whatever the folder holds.
                             UserInput::ShowPage(f.PageControl1, 2);
                             if (f.ListBox4.Items().at(0).find(" = ") != std::string::npos)
                                 UserInput::Click(f.Button10);
                             UserInput::Click(f.Button10);
                         },
                         [](TForm1& f, HeadlessPlatform&) { UserInput::Click(f.Undo); }};
    EXPECT_GT(WalkFaults(walk), 0);
}

}  // namespace
}  // namespace tovarin::testkit
