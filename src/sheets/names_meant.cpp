#include "sheets/names_meant.h"

#include "gamefiles/case_fold.h"
#include "gamefiles/errors.h"
#include "sheets/refusal.h"

namespace tovarin {

namespace {

// The one of the places `name` means: the only one, or the one spelled exactly so among names listed twice (the
// lister's call); refused naming them all when they differ only in case.
std::optional<std::size_t> OneMeant(const std::vector<std::string>& names, const std::vector<std::size_t>& meant,
                                    const std::string& name, const char* kind) {
    if (meant.empty()) return std::nullopt;
    if (meant.size() == 1 || names[meant[0]] == name) return meant[0];
    std::string both;
    for (const std::size_t place : meant) both += (both.empty() ? "" : " and ") + names[place];
    throw Refusal(Abbreviated(name) + " names more than one " + kind + ": " + both +
                  "; write it as the catalogue does");
}

}  // namespace

std::optional<std::size_t> FindMeant(const std::vector<std::string>& names, const std::string& name, const char* kind) {
    return OneMeant(names, NamesMeant(names, name), name, kind);
}

std::string ShipMeant(const std::vector<std::string>& ships, const std::string& name) {
    const std::optional<std::size_t> place = FindMeant(ships, name, "ship");
    if (!place) throw Refusal("Unknown ship: " + Abbreviated(name));
    return ships[*place];
}

NamesIndex::NamesIndex(const std::vector<std::string>& names) : names_(names) {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        exact_[names_[i]].push_back(i);
        folded_[FoldedCase(names_[i])].push_back(i);
    }
}

std::optional<std::size_t> NamesIndex::Find(const std::string& name, const char* kind) const {
    if (const auto exact = exact_.find(name); exact != exact_.end()) return OneMeant(names_, exact->second, name, kind);
    const auto folded = folded_.find(FoldedCase(name));
    return folded == folded_.end() ? std::nullopt : OneMeant(names_, folded->second, name, kind);
}

}  // namespace tovarin
