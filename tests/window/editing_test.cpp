#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ships/ship_session.h"

// What the player types and leaves: the checks of the boxes and the questions about unsaved changes.
namespace tovarin::testkit {
namespace {

using Answer = Platform::Answer;

// Every box refuses, by its label, a text that is no integer, a number beyond the integer range, one beyond its
// field's limit (never clamped) and one its float would not show again, and holds again what it held before the
// edit (here the last text that passed). A check that shows its message keeps the focus in the box with its whole
// text selected, so the player sees which box it means, and the control the focus was going to is not pressed or
// chosen: a click on Save then acts by saying why. Every editable box is checked by its rule when it loses the
// focus; the About page's read-only boxes are not.
TEST(FieldChecksTest, ACheckThatFiresStopsTheButtonThatTookTheFocusAndEveryBoxHasItsRule) {
    HeadlessPlatform platform{"/x/"};
    TForm1 form{platform};
    int saves = 0;
    form.Button2.OnClick = [&saves] { ++saves; };
    struct Row {
        std::string Box, Typed, How, Shown, After;
        bool Reached;
    };
    const std::string mass = "Mass: ", decoys = "Decoys: ", notInteger = "' is not a valid integer value.";
    // clang-format off
    const Row rows[] = {
        {"Edit29", "", "leave", mass + "'" + notInteger, "0", false},
        {"Edit14", "", "leave", decoys + "'" + notInteger, "0", false},
        {"Edit29", "2147483648", "leave", mass + "Out of range. Please try a value less than 2000000001.", "0", false},
        {"Edit14", "99999999999", "leave", decoys + "Out of range. Please try a value less than 256.", "0", false},
        {"Edit29", "16777217", "leave", mass + "16777217 would read back as 16777216. Please try 16777216 or 16777218.",
         "0", false},
        {"Edit29", "16777218", "leave", "", "16777218", true},
        {"Edit14", "256", "leave", decoys + "256 is more than 255.", "0", false},
        {"Edit14", "-1", "leave", decoys + "-1 is less than 0.", "0", false},
        {"Edit28", "65536", "leave", "Ammunition: 65536 is more than 65535.", "0", false},
        {"Edit30", "6x0", "leave", "Speed: '6x0" + notInteger, "0", false},
        {"Edit14", "255", "click", "", "255", true},
        {"Edit29", "abc", "click", mass + "'abc" + notInteger, "16777218", false},
        {"Edit29", "6.5", "Alt+S", mass + "'6.5" + notInteger, "16777218", false},
        {"Edit14", "300", "click", decoys + "300 is more than 255.", "255", false},
        {"Edit14", "x", "Alt+S", decoys + "'x" + notInteger, "255", false},
        {"Edit29", "abc", "toggle", mass + "'abc" + notInteger, "16777218", false},
        {"Edit29", "abc", "list", mass + "'abc" + notInteger, "16777218", false},
        {"Edit29", "12", "click", "", "12", true},
        {"Edit29", "12", "Alt+S", "", "12", true}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Box + " typed '" + row.Typed + "', then " + row.How);
        auto& box = dynamic_cast<TEdit&>(*form.FindComponent(row.Box));
        platform.Boxes.clear();
        form.SetFocused(nullptr);
        const int savesBefore = saves;
        const bool autoslide = form.CheckBox1.Checked();
        UserInput::Type(box, row.Typed);
        TControl* target = &form.Button2;
        if (row.How == "click") UserInput::Click(form.Button2);
        if (row.How == "Alt+S") UserInput::PressMnemonic(form, 's');
        if (row.How == "toggle") UserInput::Toggle(*static_cast<TCheckBox*>(target = &form.CheckBox1));
        if (row.How == "list") UserInput::Select(*static_cast<TListBox*>(target = &form.ListBox1), -1);
        if (row.How == "leave") UserInput::Leave(box), target = form.Focused();
        EXPECT_EQ(platform.Boxes.empty() ? "" : platform.Boxes[0].text, row.Shown);
        EXPECT_EQ(platform.Boxes.size(), row.Shown.empty() ? 0u : 1u) << "the control's own action ran";
        EXPECT_EQ(box.Text(), row.After);
        EXPECT_EQ(form.Focused(), row.Reached ? target : &box);
        EXPECT_EQ(saves - savesBefore, row.Reached && target == &form.Button2 ? 1 : 0);
        EXPECT_EQ(box.AllSelected(), !row.Shown.empty());
        EXPECT_EQ(form.CheckBox1.Checked(), autoslide) << "autoslide toggled";
    }
    for (TControl* control : form.Components()) {
        auto* box = dynamic_cast<TEdit*>(control);
        if (box == nullptr || box == &form.Edit50) continue;  // the Fleet page's name filter takes any text
        platform.Boxes.clear();
        form.SetFocused(nullptr);  // a byte box keeps the focus until its "q" is mended
        UserInput::Type(*box, "q");
        UserInput::Leave(*box);
        const std::string shown = platform.Boxes.empty() ? "" : platform.Boxes[0].text;
        EXPECT_EQ(shown.empty(), box->ReadOnly()) << box->Name();
        EXPECT_TRUE(box->ReadOnly() || (shown.ends_with(": 'q" + notInteger) && !shown.starts_with("Edit")))
            << box->Name() << ": " << shown;
    }
}

// The demo's weapons and ships with the program started on them: the Kestrel, the Pulse Laser and the Dart shown.
struct Session : ShipGame {
    // The files the editors write.
    [[nodiscard]] std::vector<Bytes> Files() const {
        std::vector<Bytes> files;
        for (const char* name : {"Ships\\kestrel.iff", "Ships\\warden.iff", "Game\\bullet.iff", "Game\\missile.iff"})
            files.push_back(Game.ReadFile(name));
        return files;
    }
    ProgramRun run{Game};
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
        {"Dart", typeOn(4, &TForm1::Edit42), choose(&TForm1::ComboBox5)},
        // Start-up chose the Kestrel on the left and the Warden on the right.
        {"Kestrel", [=](TForm1& f) { mass(f), show(2)(f); }, click(&TForm1::Button10)},
        {"Kestrel", mass, click(&TForm1::Exit)},  // closes the window as its close box does
    };
    for (const auto& way : ways) {
        for (const Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
            SCOPED_TRACE(::testing::Message() << "way " << &way - ways << ", answer " << static_cast<int>(answer));
            Session s;
            way.Edit(s.f);
            const std::string where = Where(s.f), caption = s.f.Caption();
            const std::vector<Bytes> files = s.Files();
            s.run.Platform.Boxes.clear();
            s.run.Platform.SaveAnswers = {answer};
            way.Leave(s.f);
            EXPECT_EQ(s.run.Shown(), std::vector<std::string>{"Save changes to " + way.Item + "?"});
            EXPECT_EQ(Where(s.f) == where, answer == Answer::Cancel) << where;
            EXPECT_TRUE(answer != Answer::Cancel || s.f.Caption() == caption) << s.f.Caption();
            const std::vector<Bytes> after = s.Files();  // a swap alone exchanges two of them
            EXPECT_EQ(!std::is_permutation(after.begin(), after.end(), files.begin()), answer == Answer::Yes)
                << "saved";
        }
    }
}

// "Restore Original Files..." reloads every tab, so it asks about unsaved changes first, as every way of leaving
// does: Cancel keeps the change and restores nothing; No restores and shows the files as they are.
TEST(UnsavedChangesTest, RestoringTheOriginalsAsksFirst) {
    Session s;
    TForm1& f = s.f;
    const std::string mass = f.Edit29.Text();
    UserInput::Type(f.Edit30, "4321");
    UserInput::Click(f.Button7);  // the gun table now differs from its original
    UserInput::Type(f.Edit29, "4321");
    for (const Answer answer : {Answer::Cancel, Answer::No}) {
        s.run.Platform.Boxes.clear();
        s.run.Platform.SaveAnswers = {answer};
        s.run.Platform.Answers = {true};
        UserInput::Click(f.Button15);
        EXPECT_EQ(s.run.Shown().at(0), "Save changes to Kestrel?");
        EXPECT_EQ(s.run.Shown().size(), answer == Answer::Cancel ? 1u : 3u);
        EXPECT_EQ(f.Edit29.Text(), answer == Answer::Cancel ? "4321" : mass);
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
    UserInput::Type(f.Edit29, "4321");
    UserInput::Type(f.Edit29, loaded);
    EXPECT_EQ(f.Caption(), "Kestrel - Tovarin 1.0");
    UserInput::Choose(f.ComboBox1, 1);
    EXPECT_EQ(f.Caption(), "Warden - Tovarin 1.0");
    // The status line says what was saved to which file, without a box to click.
    const auto saved = [&](int page, TButton& save, const std::string& item, const std::function<void()>& edit,
                           const std::string& status) {
        SCOPED_TRACE(item);
        UserInput::ShowPage(f.PageControl1, page);
        edit();
        EXPECT_EQ(f.Caption(), "*" + item + " - Tovarin 1.0");
        UserInput::Click(save);
        EXPECT_EQ(f.Caption(), item + " - Tovarin 1.0");
        EXPECT_EQ(f.StatusLine.Caption(), status);
        EXPECT_TRUE(s.run.Platform.Boxes.empty());
    };
    saved(
        0, f.Button2, "Warden", [&] { UserInput::Type(f.Edit29, "4321"); }, "Warden saved: Ships\\warden.iff");
    saved(
        4, f.Button8, "Dart", [&] { UserInput::Toggle(f.Flag3); }, "Dart saved: Game\\missile.iff");
    saved(
        1, f.Button14, "Warden", [&] { UserInput::Click(f.Button13); }, "Gun slots of Warden saved: Ships\\warden.iff");

    // A save on Yes that fails (a read-only ship file) or stops with a message (a gun the catalogue no longer
    // places) keeps the player where they were.
    s.Game.MakeReadOnly("Ships\\warden.iff");
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
    f.Catalogue.DeleteKey("GunData", "0");
    refused(3, f.Edit30, "1234", f.ComboBox4, "Pulse Laser");
}

}  // namespace
}  // namespace tovarin::testkit
