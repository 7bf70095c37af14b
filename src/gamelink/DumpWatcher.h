#pragma once
// tmrModifiedCheck: notices a new dump, hands the command to the interpreter,
// and keeps the key observer installed while the game is in front. Also owns
// the choice of the mod folder (toggleMod).
#include <functional>
#include <optional>
#include <string>

namespace hh {

struct SharedState;
struct Platform;
class MainView;
class Settings;
class ResultScriptWriter;
class ResultCall;
class Timer;
class KeyboardHookControl;

class DumpWatcher {
  public:
    DumpWatcher(SharedState& state, Settings& settings, Platform& platform, MainView& view,
                ResultScriptWriter& writer, ResultCall& result, Timer& modifiedCheck,
                Timer& clearClip, KeyboardHookControl& keyboard);
    ~DumpWatcher();

    // The interpreter's processFile, called with "pullFromFile".
    void setProcessFile(std::function<void(const std::string&)> processFile);
    // Called whenever the dump moves to another path (a mod switch).
    void setOnDumpMoved(std::function<void()> onDumpMoved);
    // Sets tmrModifiedCheck's interval and callback and starts following OS
    // change notices of the dump; the timer itself stays off.
    void attach();

    // tmrModifiedCheck's callback; an OS change notice runs it at once while
    // the timer is enabled.
    void tick();

    std::string GetDumpFileAbsPath() const;
    void SetDumpFileAbsPath(const std::string& strNewAbsPath);
    std::string GetCurrentMod() const;
    void toggleMod(const std::string& newModPath, bool formInitBool = false);

  private:
    void onFileChangeNotice();
    // nullopt while no window at all is in front (a window manager reports
    // none for a moment while switching).
    std::optional<bool> gameOrProgramInFront();
    void followForeground();
    void watchDumpFile();

    SharedState& state_;
    Settings& settings_;
    Platform& platform_;
    MainView& view_;
    ResultScriptWriter& writer_;
    ResultCall& result_;
    Timer& modifiedCheck_;
    Timer& clearClip_;
    KeyboardHookControl& keyboard_;
    std::function<void(const std::string&)> processFile_;
    std::function<void()> onDumpMoved_;
    bool attached_ = false;
    bool ticking_ = false;
};

} // namespace hh
