#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ships/ship_session.h"

namespace tovarin::testkit {
namespace {

using Answer = Platform::Answer;

struct DemoGame : TempGameFolder {
    DemoGame() {
        demo::AddDemoWeapons(*this);
        demo::AddDemoShips(*this);
    }
};

// The demo's weapons and ships with the program started on them: the Kestrel, the Pulse Laser and the Dart shown.
struct Session {
    // The files the editors write.
    [[nodiscard]] std::vector<Bytes> Files() const {
        std::vector<Bytes> files;
        for (const char* name : {"Ships\\kestrel.iff", "Ships\\warden.iff", "Game\\bullet.iff", "Game\\missile.iff"})
            files.push_back(game.ReadFile(name));
        return files;
    }
    DemoGame game;
    ProgramRun run{game};
    TForm1& f = run.Form();
};

// Where the player is: the tab, the item of every list, the switcher's first entry, whether the window closed.
std::string Where(const TForm1& f) {
    std::string where = std::to_string(f.PageControl1.ActivePageIndex());
    for (const TItemList* list : {&f.ComboBox1, &f.ComboBox6, &f.ComboBox4, &f.ComboBox5}) where += ", " + list->Text();
    return where + ", " + f.ListBox4.Items().at(0) + (f.Closed() ? ", closed" : "");
}

// Every way of leaving an unsaved change, with each answer: Yes saves and goes on, No goes on, Cancel stays with
// the previous choice shown and the changes kept.
TEST(UnsavedChangesTest, EveryWayOfLeavingAsksAndFollowsTheAnswer) {
    using Input = std::function<void(TForm1&)>;
    const auto show = [](int page) { return [=](TForm1& f) { UserInput::ShowPage(f.PageControl1, page); }; };
    const auto typeOn = [=](int page, TEdit TForm1::*box) {
        return [=](TForm1& f) { show(page)(f), UserInput::Type(f.*box, "4321"); };
    };
    const auto choose = [](TComboBox TForm1::*list) { return [=](TForm1& f) { UserInput::Choose(f.*list, 1); }; };
    const auto click = [](TButton TForm1::*button) { return [=](TForm1& f) { UserInput::Click(f.*button); }; };
    const Input mass = typeOn(0, &TForm1::Edit29);
    const Input copySlot = [=](TForm1& f) { show(1)(f), click (&TForm1::Button13)(f); };  // a copy of the first slot
    const struct {
        std::string Item;
        Input Edit, Leave;
    } ways[] = {
        {"Kestrel", mass, choose(&TForm1::ComboBox1)},
        {"Kestrel", mass, show(1)},  // the gun slot tab
        {"Kestrel", copySlot, choose(&TForm1::ComboBox6)},
        {"Kestrel", copySlot, show(3)},  // the gun slot tab left
        {"Pulse Laser", typeOn(3, &TForm1::Edit30), choose(&TForm1::ComboBox4)},
        {"Dart", typeOn(4, &TForm1::Edit42), choose(&TForm1::ComboBox5)},
        // Start-up chose the Kestrel on the left and the Warden on the right.
        {"Kestrel", [=](TForm1& f) { mass(f), show(2)(f); }, click(&TForm1::Button10)},
        {"Kestrel", mass, click(&TForm1::Exit)},
        {"Kestrel", mass, [](TForm1& f) { UserInput::Close(f); }},  // the close box
    };
    for (const auto& way : ways) {
        for (const Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
            SCOPED_TRACE(::testing::Message() << "way " << &way - ways << ", answer " << static_cast<int>(answer));
            Session s;
            way.Edit(s.f);
            const std::string caption = s.f.Caption();
            const std::string where = Where(s.f);
            const std::vector<Bytes> files = s.Files();
            s.run.Platform.Boxes.clear();
            s.run.Platform.SaveAnswers = {answer};
            way.Leave(s.f);
            EXPECT_EQ(s.run.Shown(), std::vector<std::string>{"Save changes to " + way.Item + "?"});
            EXPECT_EQ(Where(s.f) == where, answer == Answer::Cancel) << where;
            const std::vector<Bytes> after = s.Files();  // a swap alone exchanges two of them
            EXPECT_EQ(!std::is_permutation(after.begin(), after.end(), files.begin()), answer == Answer::Yes)
                << "saved";
            if (answer == Answer::Cancel) {
                EXPECT_EQ(s.f.Caption(), caption);
            }
        }
    }
}

// The caption names the item of the shown tab and marks its unsaved changes until a save succeeds; a value typed
// back is no change. The gun slot save waits until its tab has read the ship's slots, which it writes over the ship.
TEST(UnsavedChangesTest, TheCaptionMarksChangesUntilASaveSucceeds) {
    Session s;
    TForm1& f = s.f;
    const std::vector<Bytes> files = s.Files();
    UserInput::Click(f.Button14);
    EXPECT_EQ(s.Files(), files);
    const std::string loaded = f.Edit29.Text();
    EXPECT_EQ(f.Caption(), "Kestrel - Tovarin 1.0");
    UserInput::Type(f.Edit29, "4321");
    EXPECT_EQ(f.Caption(), "*Kestrel - Tovarin 1.0");
    UserInput::Type(f.Edit29, loaded);
    EXPECT_EQ(f.Caption(), "Kestrel - Tovarin 1.0");
    UserInput::Choose(f.ComboBox1, 1);
    EXPECT_EQ(f.Caption(), "Warden - Tovarin 1.0");
    for (const int page : {2, 5}) {
        UserInput::ShowPage(f.PageControl1, page);
        EXPECT_EQ(f.Caption(), "Tovarin 1.0");
    }
    const auto saved = [&](int page, const std::function<void()>& edit, TButton& save, const std::string& item) {
        SCOPED_TRACE(item);
        UserInput::ShowPage(f.PageControl1, page);
        edit();
        EXPECT_EQ(f.Caption(), "*" + item + " - Tovarin 1.0");
        UserInput::Click(save);
        EXPECT_EQ(f.Caption(), item + " - Tovarin 1.0");
    };
    saved(
        0, [&] { UserInput::Type(f.Edit29, "4321"); }, f.Button2, "Warden");
    saved(
        4, [&] { UserInput::Toggle(f.Flag3); }, f.Button8, "Dart");
    saved(
        1, [&] { UserInput::Click(f.Button13); }, f.Button14, "Warden");
    EXPECT_TRUE(s.run.Shown().empty());

    // A save on Yes that fails (a read-only ship file) or is refused (a speed no float holds) keeps the player
    // where they were.
    s.game.MakeReadOnly("Ships\\warden.iff");
    const auto refused = [&](int page, TEdit& box, const std::string& typed, TComboBox& list, const std::string& item) {
        SCOPED_TRACE(item);
        UserInput::ShowPage(f.PageControl1, page);
        UserInput::Type(box, typed);
        s.run.Platform.Boxes.clear();
        s.run.Platform.SaveAnswers = {Answer::Yes};
        const int shown = list.ItemIndex();
        UserInput::Choose(list, shown + 1);
        EXPECT_EQ(s.run.Shown().size(), 2u);
        EXPECT_EQ(s.run.Shown().at(0), "Save changes to " + item + "?");
        EXPECT_EQ(list.ItemIndex(), shown);
        EXPECT_EQ(f.Caption(), "*" + item + " - Tovarin 1.0");
    };
    refused(0, f.Edit29, "55", f.ComboBox1, "Warden");
    refused(3, f.Edit30, "2147483584", f.ComboBox4, "Pulse Laser");
}

}  // namespace
}  // namespace tovarin::testkit
