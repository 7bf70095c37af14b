#pragma once
#include <filesystem>

namespace hh {

enum class KnownFolder { Desktop, RoamingAppData };
// A folder of the user's profile, or "" when Windows has none.
std::filesystem::path knownFolder(KnownFolder which);

} // namespace hh
