#pragma once
// The system this build runs on. Folder separators, the usual game folders
// and the engine a player most likely runs differ; the logic is otherwise one.
// Functions that differ take the system as an argument (defaulting to this
// one), so the tests of either system's rules run everywhere.
namespace hh {

enum class HostSystem { Linux, Windows };

#ifdef _WIN32
inline constexpr HostSystem kHostSystem = HostSystem::Windows;
#else
inline constexpr HostSystem kHostSystem = HostSystem::Linux;
#endif

} // namespace hh
