#include "sheets/names_meant.h"

#include "gamefiles/case_fold.h"
#include "gamefiles/errors.h"
#include "sheets/refusal.h"

namespace tovarin {

std::optional<std::size_t> FindMeant(const std::vector<std::string>& names, const std::string& name, const char* kind) {
    const std::vector<std::size_t> meant = NamesMeant(names, name);
    if (meant.empty()) return std::nullopt;
    if (meant.size() == 1 || names[meant[0]] == name) return meant[0];  // a name listed twice is the lister's call
    std::string both;
    for (const std::size_t place : meant) both += (both.empty() ? "" : " and ") + names[place];
    throw Refusal(Abbreviated(name) + " names more than one " + kind + ": " + both +
                  "; write it as the catalogue does");
}

std::string ShipMeant(const std::vector<std::string>& ships, const std::string& name) {
    const std::optional<std::size_t> place = FindMeant(ships, name, "ship");
    if (!place) throw Refusal("Unknown ship: " + Abbreviated(name));
    return ships[*place];
}

}  // namespace tovarin
