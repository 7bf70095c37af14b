#include "shell/Keyboardhandler.h"

#include "common/MainView.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "platform/Timer.h"
#include "settings/Settings.h"

namespace hh {
namespace {

enum CaptureState { kIdle = 0, kPrefix = 1, kCommandWord = 2, kArgument = 3 };

constexpr std::uint32_t kVkSlash = 0xBF;
constexpr std::uint32_t kVkBackslash = 0xDC;

// Commands whose answer goes stale at once, so the Status key runs them again.
constexpr std::string_view kFreshOnStatusKey = "time, ping, ";

// A key code from the settings; 0 (and anything no key can have) matches nothing.
std::uint32_t usableKeyCode(std::int32_t code) {
    return code > 0 && code < 256 ? static_cast<std::uint32_t>(code) : 0;
}

} // namespace

// Letters and digits keep their code; keypad and punctuation codes become the
// character they type, so the record reads like text afterwards.
std::string keyNameOf(KeyRecord& record) {
    std::uint32_t& vk = record.vkCode;
    if ((vk >= 0x41 && vk <= 0x5A) || (vk >= 0x30 && vk <= 0x39))
        return std::string(1, static_cast<char>(vk));
    if (vk >= 0x60 && vk <= 0x69) {
        vk -= 0x30;
        return std::string(1, static_cast<char>(vk));
    }
    if (vk >= 0x6A && vk <= 0x6F) {
        vk -= 0x40;
        return std::string(1, static_cast<char>(vk));
    }
    if (vk == 0xBA) {
        vk = 0x3B;
        return ";";
    }
    if (vk == 0xBB) {
        vk = 0x3D;
        return "=";
    }
    if (vk >= 0xBC && vk <= 0xBF) {
        vk -= 0x90;
        return std::string(1, static_cast<char>(vk));
    }
    if (vk >= 0xDB && vk <= 0xDD) {
        vk -= 0x80;
        return std::string(1, static_cast<char>(vk));
    }
    switch (vk) {
    case 0x20:
        return "SPACE";
    case 0x0D:
        return "ENTER";
    case 0x08:
        return "BACKSPACE";
    case 0x1B:
    case 0xC0: // the key left of 1 opens and closes the game console
        return "ESC";
    case 0x26:
    case 0x28:
        return "UPDOWNARROW";
    default:
        return "";
    }
}

std::string keyObserverUnavailableMessage(const std::string& why) {
    return "Typed commands and the Ctrl+Command key hot key are unavailable here (" + why +
           "). Commands still arrive through the console dump when you press the Command key "
           "in the game.";
}

Keyboardhandler::Keyboardhandler(SharedState& state, const Settings& settings,
                                 KeyEventSource& source, MainView& view, Timer& clearClip,
                                 KeyboardCallbacks callbacks)
    : state_(state), settings_(settings), source_(source), view_(view), clearClip_(clearClip),
      callbacks_(std::move(callbacks)) {
    refreshKeyCodes();
}

void Keyboardhandler::hookKeyboard() {
    if (isKeyboardHooked())
        return;
    // A failure leaves the observer off; commands still come through the dump.
    source_.install([this](const KeyRecord& record) { processKeystroke(record); });
}

void Keyboardhandler::unhookKeyboard() {
    if (isKeyboardHooked())
        source_.remove();
}

bool Keyboardhandler::isKeyboardHooked() const {
    return source_.isInstalled();
}

// Cached so that a key release never reads the settings file.
void Keyboardhandler::refreshKeyCodes() {
    commandKeyCode_ = usableKeyCode(settings_.commandKeyCode());
    statusKeyCode_ = usableKeyCode(settings_.statusKeyCode());
}

void Keyboardhandler::processKeystroke(const KeyRecord& record) {
    keyRecord_ = record;
    if (state_code_ == kIdle) {
        idleKey(keyRecord_.vkCode);
        return;
    }
    captureKey(keyNameOf(keyRecord_));
}

void Keyboardhandler::idleKey(std::uint32_t vk) {
    if (vk == kVkSlash || vk == kVkBackslash) {
        state_code_ = kPrefix;
        view_.setStatusText("/");
        return;
    }
    if (statusKeyCode_ != 0 && vk == statusKeyCode_ && !state_.commandPending) {
        // An empty last command also "occurs" in the list, as a substring test does.
        if (contains(kFreshOnStatusKey, state_.gLastCommand)) {
            clearClip_.stop();
            if (callbacks_.processFile)
                callbacks_.processFile(state_.gLastCommand + " " + state_.gLastArg);
        }
        return;
    }
    if (commandKeyCode_ != 0 && vk == commandKeyCode_) {
        state_.commandPending = true;
        if (callbacks_.clearLastCommand)
            callbacks_.clearLastCommand();
    }
}

void Keyboardhandler::captureKey(const std::string& name) {
    if (name == "ESC" || name == "UPDOWNARROW") {
        reset();
        return;
    }
    if (name == "ENTER") {
        if (state_code_ == kPrefix)
            reset();
        else
            runTypedCommand();
        return;
    }
    if (name == "SPACE") {
        if (state_code_ == kPrefix) {
            if (toLower(prefix_) != "hh") {
                reset();
                return;
            }
            state_code_ = kCommandWord;
        } else if (state_code_ == kCommandWord) {
            if (!command_.empty())
                state_code_ = kArgument;
        } else if (argument_.size() < kMaxWordLength) {
            argument_ += ' ';
        }
    } else if (name == "BACKSPACE") {
        std::string& word = wordOfState();
        if (!word.empty())
            word.pop_back();
        else
            --state_code_; // back one state, keeping what was typed there
    } else if (!name.empty()) {
        std::string& word = wordOfState();
        if (word.size() < kMaxWordLength)
            word += name;
    }
    echoToStatusBar();
}

std::string& Keyboardhandler::wordOfState() {
    if (state_code_ == kPrefix)
        return prefix_;
    return state_code_ == kCommandWord ? command_ : argument_;
}

void Keyboardhandler::runTypedCommand() {
    clearClip_.stop();
    const std::string word = toLower(command_);
    const std::string argument = toLower(argument_);
    // Reset before running: the command may let pending events run, and keys
    // typed meanwhile must start a fresh line rather than be wiped afterwards.
    reset();
    if (callbacks_.runTypedCommand)
        callbacks_.runTypedCommand(word, argument);
    view_.selectDeveloperCommandLine();
}

void Keyboardhandler::reset() {
    state_code_ = kIdle;
    prefix_.clear();
    command_.clear();
    argument_.clear();
}

void Keyboardhandler::echoToStatusBar() {
    if (prefix_.empty())
        return;
    std::string line;
    line.reserve(3 + prefix_.size() + command_.size() + argument_.size());
    line += '/';
    line += prefix_;
    line += ' ';
    line += command_;
    line += ' ';
    line += argument_;
    view_.setStatusText(toLower(line));
}

} // namespace hh
