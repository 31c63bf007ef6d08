#include <gtest/gtest.h>

#include <map>

#include "cli/game_session.h"
#include "cli/untidy_demo.h"
#include "fleet_edits/bulk_arithmetic.h"
#include "fleet_edits/bulk_change.h"
#include "fleet_edits/compare_rows.h"
#include "fleet_edits/fleet_columns.h"
#include "fleet_edits/reset_plan.h"
#include "fleet_edits/value_writes.h"
#include "gamefiles/file_change_set.h"
#include "installation/installation.h"
#include "mods/mod_installation.h"
#include "sheets/refusal.h"
#include "testkit/fault_walk_core.h"

// The Fleet page's edits in the core: a cell written as the set commands write it, values put back to their
// original bytes, and a bulk change whose preview is exactly what it writes, whole or not at all.
namespace tovarin::testkit {

using namespace demo;  // the demo's builders of ship files, weapon tables and game folders
namespace {

// The game opened as a front-end opens it; the originals are kept before each file's first change while it lives.
struct OpenedGame {
    explicit OpenedGame(const std::string& folder) : Game(cli::OpenFleet(folder)) {}
    ~OpenedGame() { StopKeepingOriginals(); }
    OpenedGame(const OpenedGame&) = delete;
    OpenedGame& operator=(const OpenedGame&) = delete;
    Fleet Game;
};

std::size_t PlaceIn(const std::vector<std::string>& names, const std::string& name) {
    const auto found = std::find(names.begin(), names.end(), name);
    EXPECT_NE(found, names.end()) << name;
    return static_cast<std::size_t>(found - names.begin());
}

CellAddress Cell(const Fleet& fleet, SheetKind kind, const std::string& item, const std::string& column) {
    return CellOf(fleet, kind, PlaceIn(ItemNames(fleet, kind), item), PlaceIn(ColumnNames(fleet, kind), column));
}

// Every value of the fleet by its name ("Kestrel speedmax"), as the Fleet page shows it.
std::map<std::string, std::string> ValuesNow(const Fleet& fleet) {
    std::map<std::string, std::string> values;
    for (const auto& [address, text] : ModInstallation(fleet).States().Now) values[address.Name()] = text;
    return values;
}

std::map<std::string, std::string> Changed(const std::map<std::string, std::string>& before,
                                           const std::map<std::string, std::string>& after) {
    std::map<std::string, std::string> changed;
    for (const auto& [name, text] : after) {
        if (!before.contains(name) || before.at(name) != text) changed[name] = text;
    }
    return changed;
}

std::vector<std::string> Lines(const EditPlan& plan) {
    std::vector<std::string> lines;
    for (const PlannedValue& value : plan.Values) lines.push_back(PlannedLine(value));
    return lines;
}

TEST(FleetEdits, ACellIsWrittenAndRefusedExactlyAsTheSetCommands) {
    struct Row {
        SheetKind Kind;
        std::string Item, Column, Text;
    };
    using enum SheetKind;
    const std::vector<Row> rows = {
        {Ships, "Kestrel", "speedmax", "640"},   {Ships, "Kestrel", "gun2", "Scatter Gun"},
        {Ships, "Kestrel", "autoslide", "0"},    {Ships, "Warden", "missammo1", "3"},
        {Ships, "Kestrel", "hp", "99999999999"}, {Guns, "Pulse Laser", "refire delay (ms)", "333"},
        {Missiles, "Dart", "rear firing", "1"},  {Missiles, "Dart", "sub-missile type", "Hornet IR"},
        {Missiles, "Dart", "range", "x"},
    };
    const std::map<SheetKind, std::string> commandOf = {{Ships, "ship"}, {Guns, "guns"}, {Missiles, "missiles"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Item + " " + row.Column + "=" + row.Text);
        Untidy byCell, byCommand;
        const FolderFiles before = ReadFolder(byCell.Root());
        std::string refused;
        try {
            const OpenedGame game(byCell.Folder());
            WriteCell(game.Game, Cell(game.Game, row.Kind, row.Item, row.Column), row.Text);
        } catch (const Refusal& refusal) {
            refused = refusal.what() + std::string("\n");
        }
        const Ran ran = Cli(byCommand, {commandOf.at(row.Kind), "set", row.Item, row.Column + "=" + row.Text});
        EXPECT_EQ(refused, ran.Err);
        EXPECT_TRUE(ReadFolder(byCell.Root()) == ReadFolder(byCommand.Root()))
            << Differing(ReadFolder(byCell.Root()), ReadFolder(byCommand.Root()));
        EXPECT_EQ(refused.empty(), ReadFolder(byCell.Root()) != before) << "a refused cell writes nothing";
    }
}

// Values changed by the set commands, then some of them reset: the game files are as if only the others had been
// changed (every reset value has its original bytes, every other value its changed ones; autoslide gets its
// original SLID chunk back), and a second reset finds nothing to do.
TEST(FleetEdits, AResetGivesBackTheOriginalBytesOfExactlyTheChosenValues) {
    const std::vector<std::vector<std::string>> resetLater = {
        {"ship", "set", "Kestrel", "speedmax=700", "autoslide=0", "gun1=Ion Cannon"},
        {"guns", "set", "Pulse Laser", "speed=900"},
        {"missiles", "set", "Dart", "range=3000", "rear firing=1"}};
    const std::vector<std::vector<std::string>> kept = {{"ship", "set", "Kestrel", "hp=50"},
                                                        {"guns", "set", "Pulse Laser", "damage=19"},
                                                        {"missiles", "set", "Dart", "speed=1500", "requires target=1"}};
    Untidy edited, expected;
    for (const auto& command : resetLater) ASSERT_EQ(Cli(edited, command).Exit, 0) << command[2];
    for (const auto& command : kept) {
        ASSERT_EQ(Cli(edited, command).Exit, 0) << command[2];
        ASSERT_EQ(Cli(expected, command).Exit, 0) << command[2];
    }
    const OpenedGame game(edited.Folder());
    const Fleet& fleet = game.Game;
    const std::vector<CellAddress> cells = {
        Cell(fleet, SheetKind::Ships, "Kestrel", "speedmax"),    Cell(fleet, SheetKind::Ships, "Kestrel", "autoslide"),
        Cell(fleet, SheetKind::Ships, "Kestrel", "gun1"),        Cell(fleet, SheetKind::Ships, "Kestrel", "mass"),
        Cell(fleet, SheetKind::Guns, "Pulse Laser", "speed"),    Cell(fleet, SheetKind::Missiles, "Dart", "range"),
        Cell(fleet, SheetKind::Missiles, "Dart", "rear firing"), Cell(fleet, SheetKind::Ships, "Lancet", "armrfront")};
    const EditPlan plan = PlanReset(fleet, cells);
    EXPECT_EQ(Lines(plan),
              (std::vector<std::string>{"Kestrel speedmax 700 -> 600", "Kestrel autoslide 0 -> 1",
                                        "Kestrel gun1 Ion Cannon -> Pulse Laser", "Pulse Laser speed 900 -> 1234",
                                        "Dart range 3000 -> 2500", "Dart rear firing 1 -> 0"}));
    ASSERT_EQ(plan.Refused.size(), 1U);
    EXPECT_EQ(plan.Refused[0].Message, "Lancet has no key armrfront");
    EXPECT_EQ(plan.Files.size(), 3U);
    EXPECT_EQ(plan.Name, "reset of 6 values");
    (void)ApplyEditPlan(fleet.Game.GameFolder, plan);
    EXPECT_TRUE(GameFiles(edited.Root()) == GameFiles(expected.Root()))
        << Differing(GameFiles(edited.Root()), GameFiles(expected.Root()));
    const EditPlan again = PlanReset(fleet, cells);
    EXPECT_TRUE(again.Values.empty());
    EXPECT_TRUE(again.Files.empty());
}

// One bulk change per row on a fresh demo: its preview lines and refusals, then what applying it writes, which must
// be exactly the previewed values.
TEST(FleetEdits, ABulkChangeWritesExactlyWhatItsPreviewLists) {
    struct Row {
        Row(SheetKind kind, std::string column, BulkOperation operation, std::string amount,
            std::vector<std::string> items, std::vector<std::string> lines, std::vector<std::string> refusals = {})
            : Kind(kind),
              Column(std::move(column)),
              Operation(operation),
              Amount(std::move(amount)),
              Items(std::move(items)),
              Lines(std::move(lines)),
              Refusals(std::move(refusals)) {}
        SheetKind Kind;
        std::string Column;
        BulkOperation Operation;
        std::string Amount;
        std::vector<std::string> Items, Lines;
        std::vector<std::string> Refusals;  // a part of each refusal's message, in order
    };
    using enum BulkOperation;
    using enum SheetKind;
    const std::vector<Row> rows = {
        Row(Ships, "speedmax", ScaleByPercent, "110", {"Kestrel", "Warden", "Halberd"},
            {"Kestrel speedmax 600 -> 660", "Warden speedmax 480 -> 528", "Halberd speedmax 400 -> 440"}),
        Row(Ships, "spaccel", ScaleByPercent, "105", {"Kestrel", "Warden"},
            {"Kestrel spaccel 110 -> 116 (115.5 rounded)", "Warden spaccel 70 -> 74 (73.5 rounded)"}),
        Row(Ships, "speedmin", Add, "-120.5", {"Kestrel", "Warden"},
            {"Kestrel speedmin 120 -> -1 (-0.5 rounded)", "Warden speedmin 80 -> -41 (-40.5 rounded)"}),
        Row(Ships, "armrfront", Add, "10", {"Kestrel", "Lancet"}, {"Kestrel armrfront 90 -> 100"},
            {"Lancet has no key armrfront"}),
        Row(Ships, "gunammo1", Add, "70000", {"Kestrel", "Corsair"}, {},
            {"Kestrel, gunammo1=70000: 70000 is more than 65535 (gunammo1 holds 0..65535).",
             "Corsair, gunammo1=71200: 71200 is more than 65535"}),
        Row(Ships, "gun1", Add, "1", {"Kestrel"}, {}, {"Kestrel, gun1: holds a name, not a number"}),
        Row(Ships, "mass", SetTo, "16777217", {"Kestrel", "Warden"}, {},
            {"Kestrel, mass=16777217: 16777217 would read back as 16777216", "Warden, mass=16777217"}),
        Row(Ships, "gun1", SetTo, "Scatter Gun", {"Kestrel", "Warden", "Halberd"},
            {"Kestrel gun1 Pulse Laser -> Scatter Gun", "Warden gun1 Mass Driver -> Scatter Gun",
             "Halberd gun1 Ion Cannon -> Scatter Gun"}),
        Row(Guns, "refire delay (ms)", ScaleByPercent, "110", {"Pulse Laser", "Ion Cannon"},
            {"Pulse Laser refire delay (ms) 250 -> 275", "Ion Cannon refire delay (ms) 450 -> 495"}),
        Row(Guns, "damage", SetTo, "16777217", {"Pulse Laser", "Ion Cannon"}, {},
            {"Pulse Laser, damage=16777217: 16777217 would read back as 16777216", "Ion Cannon, damage=16777217"}),
        Row(Missiles, "sub-missile type", SetTo, "Hornet IR", {"Dart", "Hornet IR"},
            {"Dart sub-missile type Dart -> Hornet IR", "Hornet IR sub-missile type Dart -> Hornet IR"}),
        Row(Missiles, "rear firing", SetTo, "1", {"Dart", "Wasp Decoy Buster"}, {"Dart rear firing 0 -> 1"}),
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Column + " " + OperationName(row.Operation) + " " + row.Amount);
        Demo demo;
        const OpenedGame game(demo.Folder());
        const Fleet& fleet = game.Game;
        BulkChange change{row.Kind, {}, PlaceIn(ColumnNames(fleet, row.Kind), row.Column), row.Operation, row.Amount};
        for (const std::string& item : row.Items) change.Items.push_back(PlaceIn(ItemNames(fleet, row.Kind), item));
        const EditPlan plan = PlanBulkChange(fleet, change);
        EXPECT_EQ(Lines(plan), row.Lines);
        ASSERT_EQ(plan.Refused.size(), row.Refusals.size());
        for (std::size_t i = 0; i < row.Refusals.size(); ++i) {
            EXPECT_NE(plan.Refused[i].Message.find(row.Refusals[i]), std::string::npos) << plan.Refused[i].Message;
        }
        const std::map<std::string, std::string> before = ValuesNow(fleet);
        (void)ApplyEditPlan(fleet.Game.GameFolder, plan);
        std::map<std::string, std::string> previewed;
        for (const PlannedValue& value : plan.Values) previewed[value.Address.Name()] = value.After;
        EXPECT_EQ(Changed(before, ValuesNow(fleet)), previewed);
    }
}

TEST(FleetEdits, ABulkChangeRefusesAnAmountThatIsNoNumberAndAFileChangedSinceItsPreview) {
    Demo demo;
    const OpenedGame game(demo.Folder());
    const Fleet& fleet = game.Game;
    BulkChange change{
        SheetKind::Ships, {0, 1}, PlaceIn(ColumnNames(fleet, SheetKind::Ships), "hp"), BulkOperation::Add, "ten"};
    EXPECT_THROW((void)PlanBulkChange(fleet, change), Refusal);
    change.Amount = "10";
    const EditPlan plan = PlanBulkChange(fleet, change);
    ASSERT_EQ(plan.Files.size(), 2U);
    ASSERT_EQ(Cli(demo, {"ship", "set", "Warden", "mass=1"}).Exit, 0);
    const FolderFiles before = GameFiles(demo.Root());
    try {
        (void)ApplyEditPlan(fleet.Game.GameFolder, plan);
        ADD_FAILURE() << "applied over another program's change";
    } catch (const Refusal& refusal) {
        EXPECT_NE(std::string(refusal.what()).find("was changed by another program"), std::string::npos);
    }
    EXPECT_TRUE(GameFiles(demo.Root()) == before);
}

TEST(FleetEdits, BulkArithmeticIsExactAndRoundsHalfAwayFromZero) {
    struct Row {
        std::int32_t Value;
        bool Scale;
        std::string Amount, Text, Exact;
    };
    const std::vector<Row> rows = {
        {600, true, "110", "660", ""},         {605, true, "110", "666", "665.5"},
        {-605, true, "110", "-666", "-665.5"}, {3, true, "33.333333", "1", "0.99999999"},
        {1, false, "-0.5", "1", "0.5"},        {-1, false, "0.5", "-1", "-0.5"},
        {0, false, "-0.4", "0", "-0.4"},       {2147483647, true, "200", "4294967294", ""},
        {10, false, "+2.25", "12", "12.25"},   {-2147483647, false, "-999999999999", "-1002147483646", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Value) + (row.Scale ? " scaled by " : " plus ") + row.Amount);
        const std::optional<Decimal> amount = ParseDecimal(row.Amount);
        ASSERT_TRUE(amount);
        const WholeResult result = row.Scale ? ScaleByPercent(row.Value, *amount) : AddDecimal(row.Value, *amount);
        EXPECT_EQ(result.Text, row.Text);
        EXPECT_EQ(result.Exact, row.Exact);
    }
    for (const std::string text :
         {"", ".", "-", "1.", ".5x", "abc", "1e3", "--1", "1,5", "1234567890123", "0.1234567"}) {
        EXPECT_FALSE(ParseDecimal(text)) << text;
    }
}

TEST(FleetEdits, ComparedRowsDifferInTheColumnsWhereAnyTextDiffers) {
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(DifferingColumns(Rows{{"600", "320", "90"}, {"600", "720", ""}, {"600", "320", "90"}}),
              (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(DifferingColumns(Rows{{"1", "2"}, {"1"}}), (std::vector<std::size_t>{1}));
    EXPECT_TRUE(DifferingColumns(Rows{{"1", "2"}}).empty());
}

// A walk's start of the program: an unfinished change put back, as at every start; the edit opens the game itself.
class PlanSession : public WalkSession {
public:
    PlanSession(std::string folder, std::function<EditPlan(const Fleet&)> plan)
        : folder_(std::move(folder)), plan_(std::move(plan)) {
        (void)RecoverUnfinishedChange(folder_);
    }
    // A plan with refusals is reported as the preview shows them.
    bool Act() override {
        try {
            const OpenedGame game(folder_);
            const EditPlan plan = plan_(game.Game);
            (void)ApplyEditPlan(folder_, plan);
            return !plan.Refused.empty();
        } catch (const std::exception&) {
            return true;
        }
    }

private:
    std::string folder_;
    std::function<EditPlan(const Fleet&)> plan_;
};

int WalkPlanFaults(const std::string& name, const PrepareFolder& prepare,
                   const std::function<EditPlan(const Fleet&)>& plan) {
    return WalkFaultsOf(name, prepare,
                        [&plan](const std::string& folder) { return std::make_unique<PlanSession>(folder, plan); });
}

TEST(FleetEditFaults, ABulkChangeAndAResetAreWholeOrNothing) {
    const auto threeShips = [](const std::filesystem::path& folder) {
        GameFolder installed(folder, Edition::Base);
        AddThreeDemoShips(installed);
    };
    const auto edited = [&threeShips](const std::filesystem::path& folder) {
        threeShips(folder);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"ship", "set", "Kestrel", "speedmax=700"},
              {"guns", "set", "Pulse Laser", "speed=900"},
              {"missiles", "set", "Dart", "range=3000"}}) {
            ASSERT_EQ(Cli(folder.string(), command).Exit, 0);
        }
    };
    const auto bulk = [](const Fleet& fleet) {
        return PlanBulkChange(fleet, {SheetKind::Ships, {0, 1, 2}, 2, BulkOperation::ScaleByPercent, "110"});
    };
    const auto reset = [](const Fleet& fleet) {
        return PlanReset(fleet, {Cell(fleet, SheetKind::Ships, "Kestrel", "speedmax"),
                                 Cell(fleet, SheetKind::Guns, "Pulse Laser", "speed"),
                                 Cell(fleet, SheetKind::Missiles, "Dart", "range")});
    };
    EXPECT_GT(WalkPlanFaults("speed of three ships", threeShips, bulk), 0);
    EXPECT_GT(WalkPlanFaults("reset of a ship, a gun and a missile", edited, reset), 0);
}

}  // namespace
}  // namespace tovarin::testkit
