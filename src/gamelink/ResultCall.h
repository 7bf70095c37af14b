#pragma once
// readyForNextCmd: the one operation that ends every command, and the expiry
// of an answer (tmrClearClip).
#include <string>

namespace hh {

struct SharedState;
struct Platform;
class MainView;
class Settings;
class ResultScriptWriter;
class Timer;

class ResultCall {
  public:
    // Installs onClearClipExpired as tmrClearClip's callback.
    ResultCall(SharedState& state, Settings& settings, Platform& platform, MainView& view,
               ResultScriptWriter& writer, Timer& modifiedCheck, Timer& clearClip);

    void readyForNextCmd(const std::string& soundFile, const std::string& statusMsg,
                         bool timerReEnabled, int numSeconds, bool log, bool copyToClip,
                         bool updateModifiedTime);
    // Callback of tmrClearClip.
    void onClearClipExpired();
    // Plays <program folder>/Sound/<name> asynchronously ("none" plays nothing).
    void playSound(const std::string& soundFile);

  private:
    SharedState& state_;
    Settings& settings_;
    Platform& platform_;
    MainView& view_;
    ResultScriptWriter& writer_;
    Timer& modifiedCheck_;
    Timer& clearClip_;
};

} // namespace hh
