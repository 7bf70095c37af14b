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
    // When not held, the one line a refused start prints: who holds the
    // folder, or why it could not be locked.
    const std::string& refusal() const { return refusal_; }

  private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
    std::string refusal_;
};

// For the systems' implementations: the refusal that names the holder's
// process id (0 when it cannot be told).
std::string heldElsewhereText(const std::filesystem::path& programDir, long holder);

} // namespace hh
