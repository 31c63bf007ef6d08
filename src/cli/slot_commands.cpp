#include "cli/command_line.h"
#include "sheets/fleet.h"
#include "cli/game_session.h"
#include "cli/tool_commands.h"
#include "gamefiles/errors.h"
#include "gamefiles/numbers.h"
#include "gamefiles/whole_files.h"
#include "gun_slots/gun_slot_table.h"
#include "ships/ship_chunks.h"

// "slots list|copy|delete": the "Add/Remove Guns" tab's table, read, changed and saved at once through the same
// functions as its buttons.
namespace tovarin::cli {

namespace {

std::size_t ListLength(const Installation& game, const std::string& section) {
    std::vector<std::string> names;
    game.Catalogue.ReadSection(section, names);
    return names.size();
}

// The ship's file as choosing it in a ship list finds it, located as the loader locates its parts.
SlotShip ShipOf(const Installation& game, const std::string& name) {
    const ShipFile file = FindShipFile(game, name);
    SlotShip ship{file.Path, file.Name, 0, 0, ListLength(game, "Guns"), ListLength(game, "Missiles")};
    const ShipChunks chunks = LocateShipLayout(ReadWholeFileReadOnly(ship.Path)).Chunks;
    ship.GunsBase = chunks.GunsBase;
    ship.EngnBase = chunks.EngnBase;
    return ship;
}

GunSlotTable SlotsOf(const SlotShip& ship) {
    GunSlotTable table;
    ReadGunSlots(ReadWholeFileReadOnly(ship.Path), ship.GunsBase, table);
    return table;
}

// Slot N of the command line, counted from 1.
std::size_t SlotIndex(const CommandArguments& arguments, const GunSlotTable& table) {
    if (arguments.Slot < 1 || static_cast<std::size_t>(arguments.Slot) > table.Slots.size()) {
        throw Refusal(arguments.Name + " has no gun slot " + IntToStr(arguments.Slot) + " (it has " +
                      IntToStr(static_cast<std::int64_t>(table.Slots.size())) + ")");
    }
    return static_cast<std::size_t>(arguments.Slot) - 1;
}

using SlotChange = std::optional<std::string> (*)(std::vector<GunSlot>& slots, std::size_t slot);

// One button of the tab and then "&Save Modifications"; a refusal of either is the tab's message.
int ChangeAndSave(const CommandArguments& arguments, SlotChange change) {
    const Installation game = OpenGame(arguments.Game);
    const SlotShip ship = ShipOf(game, arguments.Name);
    GunSlotTable table = SlotsOf(ship);
    std::optional<std::string> refusal = change(table.Slots, SlotIndex(arguments, table));
    if (!refusal) refusal = SaveGunSlots(game.Catalogue, ship, table);
    if (refusal) throw Refusal(*refusal);
    return kExitDone;
}

}  // namespace

// One line per slot: its number, counted from 1, and its name as the tab's list shows it.
int ListSlots(const CommandArguments& arguments, Console& console) {
    const Installation game = OpenGame(arguments.Game);
    const GunSlotTable table = SlotsOf(ShipOf(game, arguments.Name));
    for (std::size_t slot = 0; slot < table.Slots.size(); ++slot) {
        console.Out << slot + 1 << '\t' << table.Slots[slot].Listed() << '\n';
    }
    return kExitDone;
}

int CopySlot(const CommandArguments& arguments, Console&) { return ChangeAndSave(arguments, CopyGunSlot); }

int DeleteSlot(const CommandArguments& arguments, Console&) { return ChangeAndSave(arguments, DeleteGunSlot); }

}  // namespace tovarin::cli
