#pragma once
// The Options dialog without its widgets: what it loads, how it stores, and
// the small rules its controls follow.
#include "settings/KeyNames.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace hh {

struct SharedState;
struct Platform;
class Settings;
class GameScript;

// The controls' values, as the widgets hold them.
class OptionsView {
  public:
    virtual ~OptionsView() = default;
    virtual void showMainTab() = 0;
    virtual std::string numAliasesText() const = 0;
    virtual void setNumAliasesText(const std::string& text) = 0;
    virtual bool startMinimized() const = 0;
    virtual void setStartMinimized(bool checked) = 0;
    // "Start Handlehound when I log in"; `offered` false greys it out.
    virtual bool startAtLogin() const = 0;
    virtual void setStartAtLogin(bool checked, bool offered) = 0;
    virtual std::string nameColorDigit() const = 0;
    virtual void setNameColorDigit(const std::string& digit) = 0;
    virtual std::string sepColorDigit() const = 0;
    virtual void setSepColorDigit(const std::string& digit) = 0;
    // Fills both key lists with the same names, command list first.
    virtual void fillKeyNameLists(const std::array<std::string_view, kKeyNameCount>& names) = 0;
    virtual std::string commandKeyText() const = 0;
    virtual void setCommandKeyText(const std::string& name) = 0;
    virtual std::string statusKeyText() const = 0;
    virtual void setStatusKeyText(const std::string& name) = 0;
    // 0..3 = Short, Medium, Default, Long; nullopt selects no button.
    virtual void selectDelayOption(std::optional<int> index) = 0;
    // Engine tab.
    virtual std::string gameWindowTitle() const = 0;
    virtual void setGameWindowTitle(const std::string& title) = 0;
    virtual std::string baseFolder() const = 0;
    virtual void setBaseFolder(const std::string& folder) = 0;
    virtual std::string dumpFileName() const = 0;
    virtual void setDumpFileName(const std::string& name) = 0;
};

class OptionsDialogLogic {
  public:
    OptionsDialogLogic(OptionsView& view, SharedState& state, Settings& settings,
                       Platform& platform, GameScript& gameScript,
                       std::function<void()> reregisterHotKey,
                       std::function<void()> keyCodesChanged);

    void load();
    // An option button was clicked.
    void delayOptionClicked(int index) { delayIndex_ = index; }
    // Stores every value. False when a value was refused (the user was told
    // and it was not stored); OK then keeps the dialog open.
    bool applyOptions();

    // Told the new dump file path when the dump file name changes (the main
    // window's SetDumpFileAbsPath); without it only the shared state changes.
    void setDumpPathChanged(std::function<void(const std::string&)> onChange) {
        dumpPathChanged_ = std::move(onChange);
    }

    bool keysChanged() const { return keysChanged_; }
    std::optional<int> delayIndex() const { return delayIndex_; }

  private:
    bool applyNumAliases();
    bool applyColour(const std::string& digit, bool name);
    bool applyKey(const std::string& listText, bool command);
    bool applyEngineNames();
    bool applyStartAtLogin();
    void changeDumpFileName(const std::string& name);

    OptionsView& view_;
    SharedState& state_;
    Settings& settings_;
    Platform& platform_;
    GameScript& gameScript_;
    std::function<void()> reregisterHotKey_;
    std::function<void()> keyCodesChanged_;
    std::function<void(const std::string&)> dumpPathChanged_;
    bool keysChanged_ = false;
    std::optional<int> delayIndex_;
};

// Shows the refusal and returns true when both key lists name the same key
// (exact comparison); the focus then stays in the list.
bool refuseEqualKeys(const std::string& commandKey, const std::string& statusKey,
                     Platform& platform);

// A character typed into a one-digit colour box: a digit replaces the digit
// there; anything else (Backspace included) is refused with a beep.
struct ColourKeyOutcome {
    bool accepted;
    std::string text; // the box's text afterwards
};
ColourKeyOutcome colourBoxKey(const std::string& currentText, char typed);

} // namespace hh
