#include "DumpImport.h"

#include "gamelink/Sightings.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <set>
#include <utility>

namespace hh::aliasdb {

bool importDump(AliasStore& store, const std::filesystem::path& dump, const std::string& mod,
                std::size_t& recorded, std::string& error) {
    recorded = 0;
    struct stat info {};
    if (::stat(dump.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = dump.string() + ": not a readable file";
        return false;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxDumpBytes) {
        error = dump.string() + ": larger than " + std::to_string(kMaxDumpBytes) +
                " bytes, not a console dump";
        return false;
    }
    std::ifstream in(dump, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) {
        error = dump.string() + ": cannot be read";
        return false;
    }

    std::string modName =
        mod.empty() ? toUtf8FromDump(dump.parent_path().filename().string()) : mod;
    if (!isSightingText(modName, kMaxSightingModBytes))
        modName.clear();
    std::vector<Sighting> batch;
    std::set<std::pair<std::string, std::string>> seen;
    for (auto& player : sightedPlayersIn(text))
        if (seen.emplace(player.guid, player.name).second)
            batch.push_back({std::move(player.guid), std::move(player.name),
                             static_cast<std::int64_t>(info.st_mtime), modName});
    if (!batch.empty() && !store.record(batch, error)) {
        error = dump.string() + ": nothing recorded: " + error;
        return false;
    }
    recorded = batch.size();
    return true;
}

} // namespace hh::aliasdb
