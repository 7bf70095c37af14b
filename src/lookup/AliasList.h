#pragma once
// The alias list answer made from a parsed page: the list as the game shows
// it, cut into pages for "/hh more".
//
// A page from another database (no counts) lists its names as they come,
// coloured and cleaned as ever. A page from ours, with uses and last
// sightings, folds names that differ only in colour codes or case into one,
// shown in its most used colouring as Name(12), most used first (or in page
// order, setting Behavior / AliasOrder = Page).
//
// Each page holds at most `numAliases` names and no more than the four
// parts of an answer line; the first page starts with the count prefix
// ("150/200, "), later ones with "page 2/5, ".
#include "lookup/AliasPage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hh {

struct AliasListAnswer {
    std::vector<std::string> pages;
    std::string countPrefix;
    std::int16_t aliasCount = 0; // names listed in all pages
    std::string consoleList;     // the first numAliases names, without colour codes
};

// `subject` is what the answer names: "GUID# '1a2b3c4d'" or the player's name.
AliasListAnswer aliasListAnswer(const ParsedAliases& parsed, const std::string& subject,
                                std::int16_t numAliases, const AliasColours& colours,
                                bool pageOrder);

} // namespace hh
