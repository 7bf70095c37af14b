#pragma once
// One running Handlehound per program folder: a lock on a file in it that
// the system releases when the holder ends, however it ends. The holder's
// process id is written into the file so a later start can name it.
#include <cstdint>
#include <filesystem>
#include <string>

namespace hh {

class InstanceLock {
  public:
    // Tries once; never waits.
    explicit InstanceLock(const std::filesystem::path& programDir);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    bool held() const { return held_; }
    // When not held: the process id of the holder, 0 when it cannot be told.
    long holder() const { return holder_; }

  private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
    long holder_ = 0;
};

// The one line a later start prints: who holds the folder.
std::string heldElsewhereText(const std::filesystem::path& programDir, long holder);

} // namespace hh
