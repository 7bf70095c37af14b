#pragma once
// The save command's file on the user's desktop.
#include <filesystem>
#include <string>

namespace hh {

struct Platform;

inline constexpr const char* kDesktopSaveFileName = "Handlehound-Saved Text.txt";

struct SaveOutcome {
    bool ok = false;
    std::filesystem::path path; // the file, also when it could not be written
    std::string error;          // why, when !ok
};

// Appends "MM/DD HH:MM:SS> " + text + CR LF to the desktop file. Every ';'
// in `text` becomes ':' first, in the caller's variable too, because the
// report quotes the text as saved.
SaveOutcome SaveTextToDesktop(Platform& platform, std::string& text);

} // namespace hh
