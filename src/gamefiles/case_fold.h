#pragma once

#include <string>
#include <string_view>
#include <vector>

// Names that players type, that mods and sheets carry and that the catalogue lists match without regard to letter
// case in the alphabets the game's players write in: Latin (with its accented letters), Greek and Cyrillic.
// "vitesse élevée" is "Vitesse Élevée", "скорость" is "СКОРОСТЬ", "straße" is "STRASSE".
namespace tovarin {

// The text in UTF-8 (read as Windows-1252 where it is not UTF-8, as ShownText reads it) with every letter in its
// folded case: the form in which two names that differ only in case are equal.
[[nodiscard]] std::string FoldedCase(std::string_view text);

// True when the two names are the same in any letter case, whichever of UTF-8 or Windows-1252 each is in.
[[nodiscard]] bool SameInAnyCase(std::string_view a, std::string_view b);

// The places of `names` that `name` means: the one spelled exactly so when there is one, else every one that is the
// same in any letter case.
[[nodiscard]] std::vector<std::size_t> NamesMeant(const std::vector<std::string>& names, const std::string& name);

}  // namespace tovarin
