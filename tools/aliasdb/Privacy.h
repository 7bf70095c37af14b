#pragma once
// The owner's own use of the records: forgetting a GUID and taking the
// records out as CSV or JSON.
#include "AliasStore.h"

#include <filesystem>
#include <string>

namespace hh::aliasdb {

enum class ExportFormat { Csv, Json };

// `guid` lower case, or "all". Writes a new file (never replaces one) that
// only its owner may read; on failure nothing is left behind.
bool exportRecords(AliasStore& store, const std::string& guid, ExportFormat format,
                   const std::filesystem::path& file, std::size_t& rows, std::string& error);

// Name events ("links") in the same formats: session, seq, kind, name,
// new_name, server, at.
bool exportNameEvents(AliasStore& store, ExportFormat format, const std::filesystem::path& file,
                      std::size_t& rows, std::string& error);

// Forgets a GUID's rows and every name event from or to a name the GUID was
// recorded with: renames of those names are traces of the player too.
bool forgetPlayer(AliasStore& store, const std::string& guid, std::size_t& rows,
                  std::size_t& events, std::string& error);

// A CSV cell: quoted, with what a spreadsheet would run as a formula made
// plain text (player names are chosen by strangers).
std::string csvCell(std::string_view text);

} // namespace hh::aliasdb
