#pragma once
#include "platform/SoundPlayer.h"

#include <map>
#include <memory>
#include <set>
#include <string>

class QSoundEffect;

namespace hh {

// Plays WAV files through Qt Multimedia on the desktop's sound server
// (PulseAudio, PipeWire): each file is loaded once and kept, and no process
// is started per sound. Qt Multimedia is first touched by the first sound, so
// a program that never plays one starts without it.
class QtSoundPlayer : public SoundPlayer {
  public:
    explicit QtSoundPlayer(bool quiet = false);
    ~QtSoundPlayer() override;
    void play(const std::string& filePath) override;
    void beep() override;
    void setProblemReport(ProblemReport report) override { report_ = std::move(report); }

  private:
    QSoundEffect& effectFor(const std::string& filePath);
    void sayOnce(const std::string& line);

    bool quiet_;
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects_;
    std::set<std::string> said_;
    ProblemReport report_;
};

} // namespace hh
