#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "gamefiles/numbers.h"
#include "ships/ship_layout.h"
#include "ui/platform.h"
#include "window/form1.h"
#include "window/weapon_boxes.h"

// The checks of the number boxes: what each can hold is what its field in the file holds (a float that shows again
// as typed, a one-byte or two-byte count), checked by the same rule when the box loses the focus and when a save or
// a "Change" takes its value, so that every road says the same about it. A check that refuses says so (false): a
// button that was taking the focus is then not pressed, so that no action runs on a value the player did not type.
namespace tovarin {

namespace {

struct BoxRule {
    std::string Label;  // as the player reads it beside the box
    ValueLimits Limits;
};

// "Ammunition of gun mount 2": the mount the box is the input of, when the chosen row is one.
std::string OfMount(const std::string& what, const TListBox& list, std::size_t mounts, const std::string& mount) {
    const int row = list.ItemIndex();
    if (row < 0 || static_cast<std::size_t>(row) >= mounts) return what;
    return what + " of " + mount + " " + std::to_string(row + 1);
}

template <std::size_t N>
std::optional<BoxRule> SlotRule(std::string_view name, const std::array<ShipLayout::ValueSlot, N>& slots) {
    for (const ShipLayout::ValueSlot& slot : slots)
        if (slot.Control == name) return BoxRule{std::string(slot.Title), FloatLimits()};
    return std::nullopt;
}

// Every value of the Ships tab's boxes is a float of the ship file.
std::optional<BoxRule> ShipBoxRule(std::string_view name) {
    namespace Layout = ShipLayout;
    if (auto rule = SlotRule(name, std::array{Layout::kMass, Layout::kHitpoints})) return rule;
    if (auto rule = SlotRule(name, Layout::kEngineValues)) return rule;
    if (auto rule = SlotRule(name, Layout::kArmourValues)) return rule;
    if (auto rule = SlotRule(name, Layout::kShieldValues)) return rule;
    return SlotRule(name, Layout::kGunPowerValues);
}

template <std::size_t N>
std::optional<BoxRule> WeaponBoxRule(const TForm1& form, const TEdit& box, const std::array<FieldBox, N>& boxes,
                                     const std::array<FloatField, N>& fields) {
    for (std::size_t i = 0; i < N; ++i)
        if (&(form.*boxes[i]) == &box) return BoxRule{std::string(fields[i].Caption), FloatLimits(fields[i].Scaling)};
    return std::nullopt;
}

BoxRule RuleOf(const TForm1& form, const TEdit& box) {
    if (auto rule = ShipBoxRule(box.Name())) return *rule;
    if (auto rule = WeaponBoxRule(form, box, kGunBoxes, kGunFields)) return *rule;
    if (auto rule = WeaponBoxRule(form, box, kMissileBoxes, kMissileFields)) return *rule;
    if (&box == &(form.*kSplitDelayBox))
        return {std::string(kSplitDelayField.Caption), FloatLimits(kSplitDelayField.Scaling)};
    if (&box == &form.Edit14) return {"Decoys", kByteValue};
    if (&box == &form.Edit49) return {"Split up into", kByteValue};
    if (&box == &form.Edit9) {
        return {OfMount("Missiles", form.ListBox2, form.Ship.MissileMountCount, "missile mount"), kByteValue};
    }
    if (&box == &form.Edit28) {
        return {OfMount("Ammunition", form.ListBox1, form.Ship.GunMountCount, "gun mount"), kWordValue};
    }
    return {box.Name(), {}};
}

// The message names the box, which also keeps the focus with its whole text selected, so that the player sees it
// and can type over it.
void PointAt(TEdit& box) {
    box.SetFocus();
    box.SelectAll();
}

}  // namespace

std::int32_t TForm1::CheckedValue(const TEdit& box) const {
    const BoxRule rule = RuleOf(*this, box);
    try {
        return TypedValue(box.Text(), rule.Limits);
    } catch (const Exception& refusal) {
        throw Exception(rule.Label + ": " + refusal.Message());
    }
}

// A refused text is replaced by what the box held before the edit (a value loaded, saved or typed and accepted),
// never by a value the player did not type. A box the player has not changed is left alone, even one a load left
// empty.
bool TForm1::Edit1Exit(TEdit& box) {
    if (box.Text() == box.CheckedText()) return true;
    try {
        (void)CheckedValue(box);
        return true;
    } catch (const Exception&) {
        box.SetText(box.CheckedText());
        PointAt(box);
        throw;
    }
}

}  // namespace tovarin
