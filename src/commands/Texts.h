#pragma once
// Product texts and the sound names the commands answer with.
#include <string_view>

namespace hh::texts {

inline constexpr std::string_view kWaitingForCommand = "Waiting for Command. . .";
inline constexpr std::string_view kSupportedMods = "osp, q3ut2, arena, threewave";
inline constexpr std::string_view kReturnCmd = "Exit_Function";
inline constexpr std::string_view kRepeatLast = "Repeat_Last";
inline constexpr std::string_view kPasteHint =
    " {Press Ctrl+V to paste this information into Quake III Arena}";

// Who makes the program and where to get it.
inline constexpr std::string_view kDownloadAddress = "https://handlehound.example/download";
inline constexpr std::string_view kWebAddress = "https://handlehound.example";
inline constexpr std::string_view kAuthorHandle = "hhdev";
inline constexpr std::string_view kCompanyName = "Kennel Works";

} // namespace hh::texts

namespace hh::sounds {

inline constexpr std::string_view kDefault = "default.wav";
inline constexpr std::string_view kClose = "close.wav";
inline constexpr std::string_view kComplete = "complete.wav";
inline constexpr std::string_view kCmd = "cmd.wav";
inline constexpr std::string_view kBeat = "beat.wav";

} // namespace hh::sounds
