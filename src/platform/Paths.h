#pragma once
#include <filesystem>

namespace hh {

class Paths {
  public:
    virtual ~Paths() = default;
    // Folder of handleHound.ini, Sound/, Icons/, log/ and the shipped script.
    virtual std::filesystem::path programDir() const = 0;
    // The user's desktop folder (for the save command).
    virtual std::filesystem::path desktopDir() const = 0;
};

} // namespace hh
