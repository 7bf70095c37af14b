#pragma once
// Follows the keys the player releases while the game is in front: recognises
// a typed "/hh word argument" line, echoes it in the status bar, runs it on
// Enter, and reacts to the Command and Status keys.
#include "gamelink/KeyboardHookControl.h"
#include "platform/KeyEventSource.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace hh {

struct SharedState;
class MainView;
class Settings;
class Timer;

// Key name of a release, rewriting the record's code to the character code
// it stands for (see the table in Keyboardhandler.cpp).
std::string keyNameOf(KeyRecord& record);

// The console line shown once when no global key observer can run here.
std::string keyObserverUnavailableMessage(const std::string& why);

struct KeyboardCallbacks {
    std::function<void(const std::string& line)> processFile;
    std::function<void(const std::string& word, const std::string& argument)> runTypedCommand;
    std::function<void()> clearLastCommand;
};

class Keyboardhandler : public KeyboardHookControl {
  public:
    Keyboardhandler(SharedState& state, const Settings& settings, KeyEventSource& source,
                    MainView& view, Timer& clearClip, KeyboardCallbacks callbacks);

    void hookKeyboard() override;
    void unhookKeyboard() override;
    bool isKeyboardHooked() const;

    void processKeystroke(const KeyRecord& record);
    // Re-reads CommandKeyCode and StatusKeyCode (after a settings change).
    void refreshKeyCodes();

    int captureState() const { return state_code_; }
    const std::string& prefixWord() const { return prefix_; }
    const std::string& commandWord() const { return command_; }
    const std::string& argument() const { return argument_; }

    // The game's console input line is far shorter; longer words are cut.
    static constexpr std::size_t kMaxWordLength = 255;

  private:
    void idleKey(std::uint32_t vkCode);
    void captureKey(const std::string& name);
    std::string& wordOfState();
    void runTypedCommand();
    void reset();
    void echoToStatusBar();

    SharedState& state_;
    const Settings& settings_;
    KeyEventSource& source_;
    MainView& view_;
    Timer& clearClip_;
    KeyboardCallbacks callbacks_;
    KeyRecord keyRecord_; // copy of the latest release
    int state_code_ = 0;
    std::string prefix_, command_, argument_;
    std::uint32_t commandKeyCode_ = 9;
    std::uint32_t statusKeyCode_ = 116;
};

} // namespace hh
