#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "demo/demo_installation.h"
#include "testkit/temp_game_folder.h"
#include "ui/headless_platform.h"
#include "ui/user_input.h"

namespace tovarin {
namespace {

using Answer = Platform::Answer;

// The demo's weapons and ships with the program started on them: the Kestrel, the Pulse Laser and the Dart shown.
struct Session {
    Session() {
        demo::AddDemoWeapons(game);
        demo::AddDemoShips(game);
        EXPECT_EQ(app.Start(), std::nullopt);
    }
    TForm1& Form() { return app.Form1(); }
    // The files the editors write.
    [[nodiscard]] std::vector<demo::Bytes> Files() const {
        std::vector<demo::Bytes> files;
        for (const char* name : {"Ships\\kestrel.iff", "Ships\\warden.iff", "Game\\bullet.iff", "Game\\missile.iff"}) {
            files.push_back(game.ReadFile(name));
        }
        return files;
    }
    [[nodiscard]] std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const auto& box : platform.Boxes) texts.push_back(box.text);
        return texts;
    }

    testkit::TempGameFolder game;
    HeadlessPlatform platform{game.Folder()};
    Application app{platform};
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
    const auto typeOn = [](int page, TEdit TForm1::*box) {
        return [=](TForm1& f) {
            UserInput::ShowPage(f.PageControl1, page);
            UserInput::Type(f.*box, "4321");
        };
    };
    const auto show = [](int page) { return [=](TForm1& f) { UserInput::ShowPage(f.PageControl1, page); }; };
    const auto choose = [](TComboBox TForm1::*list) { return [=](TForm1& f) { UserInput::Choose(f.*list, 1); }; };
    const Input mass = typeOn(0, &TForm1::Edit29);
    const Input copySlot = [](TForm1& f) {
        UserInput::ShowPage(f.PageControl1, 1);
        UserInput::Click(f.Button13);  // a copy of the first slot
    };
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
        {"Kestrel",
         [&](TForm1& f) {
             mass(f);
             show(2)(f);
         },
         [](TForm1& f) { UserInput::Click(f.Button10); }},
        {"Kestrel", mass, [](TForm1& f) { UserInput::Click(f.Exit); }},
        {"Kestrel", mass, [](TForm1& f) { UserInput::Close(f); }},  // the close box
    };
    for (const auto& way : ways) {
        for (const Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
            SCOPED_TRACE(::testing::Message() << "way " << &way - ways << ", answer " << static_cast<int>(answer));
            Session s;
            way.Edit(s.Form());
            const std::string caption = s.Form().Caption();
            const std::string where = Where(s.Form());
            const std::vector<demo::Bytes> files = s.Files();
            s.platform.Boxes.clear();
            s.platform.SaveAnswers = {answer};
            way.Leave(s.Form());
            EXPECT_EQ(s.Shown(), std::vector<std::string>{"Save changes to " + way.Item + "?"});
            EXPECT_EQ(Where(s.Form()) == where, answer == Answer::Cancel) << where;
            const std::vector<demo::Bytes> after = s.Files();  // a swap alone exchanges two of them
            EXPECT_EQ(!std::is_permutation(after.begin(), after.end(), files.begin()), answer == Answer::Yes)
                << "saved";
            if (answer == Answer::Cancel) {
                EXPECT_EQ(s.Form().Caption(), caption);
            }
        }
    }
}

// The caption names the item of the shown tab and marks its unsaved changes until a save succeeds; a value typed
// back is no change.
TEST(UnsavedChangesTest, TheCaptionMarksChangesUntilASaveSucceeds) {
    Session s;
    TForm1& f = s.Form();
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
    const struct {
        int Page;
        std::function<void()> Edit;
        TButton& Save;
        std::string Item;
    } editors[] = {{0, [&] { UserInput::Type(f.Edit29, "4321"); }, f.Button2, "Warden"},
                   {4, [&] { UserInput::Toggle(f.Flag3); }, f.Button8, "Dart"},
                   {1, [&] { UserInput::Click(f.Button13); }, f.Button14, "Warden"}};
    for (const auto& editor : editors) {
        SCOPED_TRACE(editor.Item);
        UserInput::ShowPage(f.PageControl1, editor.Page);
        editor.Edit();
        EXPECT_EQ(f.Caption(), "*" + editor.Item + " - Tovarin 1.0");
        UserInput::Click(editor.Save);
        EXPECT_EQ(f.Caption(), editor.Item + " - Tovarin 1.0");
    }
    EXPECT_TRUE(s.Shown().empty());

    // A save on Yes that fails (a read-only ship file) or is refused (a speed no float holds) keeps the player
    // where they were.
    s.game.MakeReadOnly("Ships\\warden.iff");
    const struct {
        int Page;
        TEdit& Box;
        std::string Typed;
        TComboBox& List;
        std::string Item;
    } failing[] = {{0, f.Edit29, "55", f.ComboBox1, "Warden"}, {3, f.Edit30, "2147483584", f.ComboBox4, "Pulse Laser"}};
    for (const auto& save : failing) {
        SCOPED_TRACE(save.Item);
        UserInput::ShowPage(f.PageControl1, save.Page);
        UserInput::Type(save.Box, save.Typed);
        s.platform.Boxes.clear();
        s.platform.SaveAnswers = {Answer::Yes};
        const int shown = save.List.ItemIndex();
        UserInput::Choose(save.List, shown + 1);
        ASSERT_EQ(s.Shown().size(), 2u);
        EXPECT_EQ(s.Shown()[0], "Save changes to " + save.Item + "?");
        EXPECT_EQ(save.List.ItemIndex(), shown);
        EXPECT_EQ(f.Caption(), "*" + save.Item + " - Tovarin 1.0");
    }
}

}  // namespace
}  // namespace tovarin
