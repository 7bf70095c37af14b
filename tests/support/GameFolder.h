#pragma once
// A game folder and a program folder in a temporary place, set up the way
// `handlehound --setup` leaves them, and a dump written the way the game
// writes it (LF line ends, the "Dumped console text" trailer, a new time).
#include "fakes/FakePlatform.h"

#include <filesystem>
#include <string>
#include <vector>

namespace hh::test {

class GameFolder {
  public:
    // `inside`: a folder (UTF-8 name) in the temporary place that holds both.
    explicit GameFolder(const std::string& inside = "");
    std::filesystem::path game() const { return root_ / "game"; }
    std::filesystem::path program() const { return root_ / "program"; }
    std::filesystem::path dump() const { return game() / "osp" / "handleHound.who"; }
    std::filesystem::path resultScript() const { return game() / "baseq3" / "hh.cfg"; }
    std::filesystem::path ini() const { return program() / "handleHound.ini"; }
    // Writes the console as the game dumps it: the given lines, then the
    // trailer; the file's time moves on by `secondsLater` each call so the
    // change is seen even within one second.
    void writeDump(const std::vector<std::string>& consoleLines);
    // A PunkBuster player list as pb_plist prints it.
    static std::vector<std::string>
    playerList(const std::vector<std::pair<std::string, std::string>>& guidAndName);
    std::string resultText() const; // hh.cfg, "" when missing

  private:
    TempDir temp_;
    std::filesystem::path root_;
    int writes_ = 0;
};

} // namespace hh::test
