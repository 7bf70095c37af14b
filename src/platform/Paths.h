#pragma once
#include <filesystem>

namespace hh {

class Paths {
  public:
    virtual ~Paths() = default;
    // Folder of Sound/, Icons/, the readme and the shipped game-side script.
    virtual std::filesystem::path programDir() const = 0;
    // Folder of the program's logs. A portable program folder keeps them in
    // its own log/ folder; an installed program in the user's state folder.
    virtual std::filesystem::path logDir() const { return programDir() / "log"; }
    // The user's desktop folder (for the save command).
    virtual std::filesystem::path desktopDir() const = 0;
};

} // namespace hh
