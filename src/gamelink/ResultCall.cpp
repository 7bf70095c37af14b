#include "gamelink/ResultCall.h"

#include "common/MainView.h"
#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/ResultScript.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#include <algorithm>
#include <climits>

namespace hh {
namespace {

constexpr const char* kRepeatLast = "Repeat_Last";
constexpr const char* kDisabledLong =
    "Handlehound is DISABLED. Return to Handlehound to Re-enable Commands.";

// The message as the console pane shows it: no colour codes, real line
// breaks, and the short form of the disabled notice.
std::string consoleForm(std::string text) {
    for (char digit = '0'; digit <= '9'; ++digit)
        text = replaceAll(text, std::string{'^', digit}, "");
    text = replaceAll(text, kDisabledLong, "Handlehound is DISABLED.");
    text = replaceAll(text, "\\n", "\r\n");
    return replaceAll(text, "\\t", "    ");
}

// Expiry in milliseconds without overflowing the timer's int.
int expiryMs(int numSeconds) {
    return std::min(numSeconds, INT_MAX / 1000) * 1000;
}

} // namespace

ResultCall::ResultCall(SharedState& state, Settings& settings, Platform& platform, MainView& view,
                       ResultScriptWriter& writer, Timer& modifiedCheck, Timer& clearClip)
    : state_(state), settings_(settings), platform_(platform), view_(view), writer_(writer),
      modifiedCheck_(modifiedCheck), clearClip_(clearClip) {
    clearClip_.setCallback([this] { onClearClipExpired(); });
}

void ResultCall::readyForNextCmd(const std::string& soundFile, const std::string& statusMsg,
                                 bool timerReEnabled, int numSeconds, bool log, bool copyToClip,
                                 bool updateModifiedTime) {
    modifiedCheck_.stop();

    std::string message;
    if (statusMsg == kRepeatLast) {
        message = state_.gLastStatusMsg;
    } else {
        // A result script that cannot be written is reported by the writer;
        // the command still ends and the watcher is re-armed below.
        writer_.writeResultScript(statusMsg);
        state_.gLastStatusMsg = statusMsg;
        message = statusMsg;
        const auto brace = message.find('{');
        if (brace != std::string::npos)
            message = trimBlanks(std::string_view(message).substr(0, brace));
    }

    clearClip_.stop();
    if (copyToClip)
        platform_.clipboard.setText(message);
    if (log)
        view_.appendConsole("\r\n> " + consoleForm(message));
    if (numSeconds > 0) {
        state_.savedClipText = platform_.clipboard.text();
        clearClip_.setInterval(expiryMs(numSeconds));
        clearClip_.start();
    }

    state_.searchName.clear();
    state_.searchValue.clear();
    if (platform_.windows.findWindowByTitle(settings_.gameWindowTitle()) != 0)
        view_.setStatusText("Command Complete. Press '" + settings_.statusKey() +
                            "' to view the Results in Quake III Arena.");
    if (updateModifiedTime) {
        // A dump that is gone has no time to remember; the next one that
        // appears is then a change.
        const std::string modified = modifiedTimeText(pathOf(state_.gDumpFileAbsPath));
        if (!modified.empty())
            state_.gLastModified = modified;
    }
    modifiedCheck_.setEnabled(timerReEnabled);
    state_.commandPending = false;
    state_.searchByPbId = false;
    // The console pane keeps its newest line in view by itself.
    playSound(soundFile);
}

void ResultCall::onClearClipExpired() {
    clearClip_.stop();
    // The user copied something else meanwhile: leave both the clipboard
    // and the shown answer alone.
    if (platform_.clipboard.text() != state_.savedClipText)
        return;
    platform_.clipboard.setText("");
    writer_.writeResultScript("Waiting for Command. . .");
    view_.setStatusText("Handle Hound is Waiting for command. . .");
}

void ResultCall::playSound(const std::string& soundFile) {
    if (soundFile == "none")
        return;
    platform_.sound.play(textOf(platform_.paths.programDir() / "Sound" / pathOf(soundFile)));
}

} // namespace hh
