#pragma once
#include <functional>
#include <string>

namespace hh {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Plays a sound file asynchronously; returns at once. A missing file plays
    // the platform's default sound, or nothing.
    virtual void play(const std::string& filePath) = 0;
    // The short system beep (refused keys, full tables).
    virtual void beep() = 0;
    // Where the player says, once, why sounds cannot be heard (no audio
    // device, a device that refuses to play): one line for the console pane.
    using ProblemReport = std::function<void(const std::string& line)>;
    virtual void setProblemReport(ProblemReport report) { (void)report; }
};

} // namespace hh
