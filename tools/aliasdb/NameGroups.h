#pragma once
// A GUID's rows read as people read names: spellings that differ only in
// colour codes or case are one name, its uses the sum of theirs.
#include "AliasStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hh::aliasdb {

struct NameGroup {
    std::string name; // the spelling used most
    std::string key;  // gamelink/NameKey.h
    std::int64_t uses = 0;
    std::int64_t firstSeen = 0;
    std::int64_t lastSeen = 0;
};

// Most used first; ties go to the name seen last, then to byte order.
std::vector<NameGroup> groupByName(const std::vector<AliasRow>& rows);

} // namespace hh::aliasdb
