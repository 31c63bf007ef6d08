#include "weapons/weapon_fields.h"

#include "app/form1.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/ini_file.h"
#include "gamefiles/narrowing.h"
#include "ui/platform.h"

namespace tovarin {

namespace {

// The file layer positions float transfers two bytes behind the position it is given; the editors pass
// base + offset + 2 so that the four bytes land on the field itself.
constexpr std::int32_t kFloatBack = 2;

std::int32_t FloatPosition(std::int32_t base, const FloatField& field) {
    return AddPos(AddPos(base, field.Offset), kFloatBack);
}

// The stored float as its box shows it, or nullopt when it has no integer to show: too large (already before
// scaling, which the file layer reports, or after it), infinite or not a number.
std::optional<std::int32_t> ShownValue(const std::string& file, std::int32_t base, const FloatField& field) {
    float stored = 0;
    try {
        (void)ReadFloatAt(file, FloatPosition(base, field), stored, kFloatBack);
    } catch (const EInvalidOp&) {
        return std::nullopt;
    }
    if (!IsDisplayable(stored, field.Scaling)) return std::nullopt;
    return DisplayValue(stored, field.Scaling);
}

}  // namespace

std::string ItemName(const TComboBox& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.Items().size()) return "";
    return list.Items()[static_cast<std::size_t>(index)];
}

std::optional<std::int32_t> FindRecordBase(TForm1& form, const TComboBox& list, int index, const std::string& section) {
    const std::int32_t base = form.Catalogue.ReadInteger(section, IntToStr(index), 0);
    if (base > 0) return base;
    form.GetPlatform().ShowMessage(ItemName(list, index) +
                                   " cannot be edited: the catalogue gives no record position for it (" + section +
                                   ", key " + IntToStr(index) + ").");
    return std::nullopt;
}

bool ShowFloatField(TForm1& form, const std::string& file, std::int32_t base, const FloatField& field) {
    const auto value = ShownValue(file, base, field);
    (form.*field.Box).SetText(value ? IntToStr(*value) : "");
    return value.has_value();
}

void SaveFloatField(const TForm1& form, const std::string& file, std::int32_t base, const FloatField& field) {
    const std::int32_t entered = StrToInt((form.*field.Box).Text());
    WriteLongAt(file, FloatPosition(base, field), kFloatBack, FloatBits(StoredValue(entered, field.Scaling)));
}

std::optional<std::string> UnstorableValueMessage(const TForm1& form, std::span<const FloatField> fields) {
    for (const FloatField& field : fields) {
        const std::string& text = (form.*field.Box).Text();
        const auto entered = TryStrToInt(text);
        if (entered && !IsDisplayable(StoredValue(*entered, field.Scaling), field.Scaling)) {
            return std::string(field.Caption) + ": " + text +
                   " is out of range and cannot be stored. Nothing was saved.";
        }
    }
    return std::nullopt;
}

std::string UnshownFieldsMessage(const std::string& weapon, const std::vector<std::string_view>& captions) {
    std::string list;
    for (std::string_view caption : captions) {
        if (!list.empty()) list += ", ";
        list += caption;
    }
    return "Some values of " + weapon + " could not be shown and were left empty: " + list + ".";
}

}  // namespace tovarin
