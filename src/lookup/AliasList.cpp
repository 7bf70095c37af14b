#include "lookup/AliasList.h"

#include "common/Strings.h"
#include "gamelink/NameKey.h"
#include "lookup/AnswerPages.h"
#include "lookup/GameText.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace hh {
namespace {

constexpr int kMaxAliases = 999;

struct Item {
    std::string game;    // as the list shows it, name colour first, cleaned
    std::string console; // without colour codes
};

// One name of our own database's page, its spellings folded together.
struct Folded {
    const PageAlias* shown = nullptr; // the spelling used most
    std::int64_t uses = 0;
    std::string lastSeen;
    std::size_t firstIndex = 0; // where it first stands on the page
};

std::vector<Item> pageItems(const ParsedAliases& parsed, const AliasColours& colours) {
    std::vector<Item> items;
    for (const auto& alias : parsed.aliases) {
        const std::string game = consoleSafeAliases(colours.name + alias.text);
        items.push_back(
            {game, replaceAll(replaceAll(game, colours.name, ""), colours.separator, "")});
    }
    return items;
}

std::vector<Item> foldedItems(const ParsedAliases& parsed, const AliasColours& colours,
                              bool pageOrder) {
    std::map<std::string, Folded> byKey;
    for (std::size_t i = 0; i < parsed.aliases.size(); ++i) {
        const PageAlias& alias = parsed.aliases[i];
        Folded& f = byKey[nameKey(alias.cell)];
        if (!f.shown ||
            std::tie(alias.uses, alias.lastSeen) > std::tie(f.shown->uses, f.shown->lastSeen)) {
            if (!f.shown)
                f.firstIndex = i;
            f.shown = &alias;
        }
        f.uses += alias.uses;
        f.lastSeen = std::max(f.lastSeen, alias.lastSeen);
    }
    std::vector<const Folded*> order;
    for (const auto& [key, f] : byKey)
        order.push_back(&f);
    std::sort(order.begin(), order.end(), [pageOrder](const Folded* a, const Folded* b) {
        if (pageOrder)
            return a->firstIndex < b->firstIndex;
        return std::tie(b->uses, b->lastSeen, a->firstIndex) <
               std::tie(a->uses, a->lastSeen, b->firstIndex);
    });
    std::vector<Item> items;
    for (const Folded* f : order) {
        const std::string name = consoleSafeAliases(gameName(f->shown->cell, colours.name));
        const std::string uses = std::to_string(f->uses);
        const std::string last = f->lastSeen.empty() ? "" : ", last " + f->lastSeen;
        items.push_back({concat({colours.name, name, colours.name, "(", uses, ")"}),
                         concat({withoutColourCodes(name), " (", uses, last, ")"})});
    }
    return items;
}

std::string joined(const std::vector<Item>& items, std::size_t from, std::size_t count,
                   const AliasColours& colours) {
    std::string out;
    for (std::size_t i = from; i < from + count; ++i) {
        if (i > from)
            out += colours.separator + ", ";
        out += items[i].game;
    }
    return out;
}

// How many items from `from` on fit one page after `head`: at least one, at
// most `most`, and no more than the answer line's parts hold.
std::size_t itemsThatFit(const std::vector<Item>& items, std::size_t from, std::size_t most,
                         const std::string& head, const AliasColours& colours) {
    std::size_t low = 1, high = std::min(most, items.size() - from);
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (partsNeeded(head + joined(items, from, mid, colours)) <= kMaxLineParts)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

} // namespace

AliasListAnswer aliasListAnswer(const ParsedAliases& parsed, const std::string& subject,
                                std::int16_t numAliases, const AliasColours& colours,
                                bool pageOrder) {
    AliasListAnswer out;
    const std::vector<Item> items =
        parsed.hasCounts ? foldedItems(parsed, colours, pageOrder) : pageItems(parsed, colours);
    if (items.empty())
        return out;
    const std::size_t count = items.size();
    // The settings keep the limit within 1..999; a bad value still lists something.
    const std::size_t perPage =
        static_cast<std::size_t>(std::clamp<int>(numAliases, 1, kMaxAliases));
    out.aliasCount = static_cast<std::int16_t>(count);
    out.countPrefix = perPage >= count
                          ? std::to_string(count) + ", "
                          : std::to_string(perPage) + "/" + std::to_string(count) + ", ";
    for (std::size_t i = 0; i < std::min(perPage, count); ++i)
        out.consoleList += (i ? ", " : "") + items[i].console;

    // Later pages are measured with the widest head they can have.
    const std::string rest = subject + " = ";
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (std::size_t from = 0; from < count;) {
        const std::string head = (ranges.empty() ? out.countPrefix : "page 999/999, ") + rest;
        const std::size_t n = itemsThatFit(items, from, perPage, head, colours);
        ranges.emplace_back(from, n);
        from += n;
    }
    for (std::size_t page = 0; page < ranges.size(); ++page) {
        const std::string head = page == 0 ? out.countPrefix
                                           : "page " + std::to_string(page + 1) + "/" +
                                                 std::to_string(ranges.size()) + ", ";
        const auto [from, n] = ranges[page];
        out.pages.push_back(splitLongLine(head + rest + joined(items, from, n, colours)) +
                            pageHint(page + 1, ranges.size()));
    }
    return out;
}

} // namespace hh
