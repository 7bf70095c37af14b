#include "NameGroups.h"

#include "gamelink/NameKey.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace hh::aliasdb {

std::vector<NameGroup> groupByName(const std::vector<AliasRow>& rows) {
    struct Building {
        NameGroup group;
        std::int64_t spellingUses = -1; // of the spelling the group shows
        std::int64_t spellingLastSeen = 0;
    };
    std::map<std::string, Building> byKey;
    for (const AliasRow& row : rows) {
        std::string key = nameKey(row.name);
        Building& b = byKey[key];
        NameGroup& g = b.group;
        if (b.spellingUses < 0) {
            g.key = std::move(key);
            g.firstSeen = row.firstSeen;
        }
        g.uses += row.timesSeen;
        g.firstSeen = std::min(g.firstSeen, row.firstSeen);
        g.lastSeen = std::max(g.lastSeen, row.lastSeen);
        if (std::tie(row.timesSeen, row.lastSeen) > std::tie(b.spellingUses, b.spellingLastSeen)) {
            b.spellingUses = row.timesSeen;
            b.spellingLastSeen = row.lastSeen;
            g.name = row.name;
        }
    }
    std::vector<NameGroup> groups;
    groups.reserve(byKey.size());
    for (auto& [key, b] : byKey)
        groups.push_back(std::move(b.group));
    std::sort(groups.begin(), groups.end(), [](const NameGroup& a, const NameGroup& b) {
        if (a.uses != b.uses)
            return a.uses > b.uses;
        if (a.lastSeen != b.lastSeen)
            return a.lastSeen > b.lastSeen;
        return a.name < b.name;
    });
    return groups;
}

} // namespace hh::aliasdb
