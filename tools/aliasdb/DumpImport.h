#pragma once
// `handlehound-aliasdb import`: records the PunkBuster player lines of
// console dumps. A dump is dated by its modification time; its mod is the
// one given, or else the name of the folder it lies in (<home>/<mod>/...).
#include "AliasStore.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace hh::aliasdb {

inline constexpr std::uintmax_t kMaxDumpBytes = 16 * 1024 * 1024;

// Each (GUID, name) counts once per dump however many listings show it.
// False with a reason when the file cannot be read or the store refuses.
bool importDump(AliasStore& store, const std::filesystem::path& dump, const std::string& mod,
                std::size_t& recorded, std::string& error);

} // namespace hh::aliasdb
