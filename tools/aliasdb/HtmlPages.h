#pragma once
// The service's HTML. The alias page keeps the shape the program's page
// reader expects: the alias table opens with a "Last Used" header, each alias
// and its date stand in <FONT size=1> cells, and a "Server Name" header
// follows the last of them.
#include "AliasStore.h"

#include <string>
#include <string_view>
#include <vector>

namespace hh::aliasdb {

std::string escapeHtml(std::string_view text);
// `rows` most recent first, at least one.
std::string aliasPage(const std::string& guid, const std::vector<AliasRow>& rows);
std::string noDataPage(std::string_view guid, std::string_view why = {});
std::string searchFormPage();
std::string searchResultsPage(std::string_view query, const std::vector<NameMatch>& matches,
                              std::size_t limit);

} // namespace hh::aliasdb
