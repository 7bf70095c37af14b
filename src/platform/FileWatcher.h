#pragma once
#include <functional>
#include <string>

namespace hh {

// Tells when a file may have changed, sooner than a poll would. A hint only:
// the receiver still decides what counts as a change.
class FileWatcher {
  public:
    virtual ~FileWatcher() = default;
    // Watch one file (its folder, so a file created later is seen too);
    // replaces any earlier watch. An empty path stops watching.
    virtual void watch(const std::string& filePath, std::function<void()> onChange) = 0;
};

} // namespace hh
