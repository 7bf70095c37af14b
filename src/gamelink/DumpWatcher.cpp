#include "gamelink/DumpWatcher.h"

#include "common/MainView.h"
#include "common/PathText.h"
#include "common/SharedState.h"
#include "common/Strings.h"
#include "gamelink/DumpPaths.h"
#include "gamelink/KeyboardHookControl.h"
#include "gamelink/ResultCall.h"
#include "gamelink/ResultScript.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

#include <filesystem>

namespace hh {
namespace {

constexpr int kTickMs = 1000;
constexpr const char* kSupportedMods = "osp, q3ut2, arena, threewave";

} // namespace

DumpWatcher::DumpWatcher(SharedState& state, Settings& settings, Platform& platform, MainView& view,
                         ResultScriptWriter& writer, ResultCall& result, Timer& modifiedCheck,
                         Timer& clearClip, KeyboardHookControl& keyboard)
    : state_(state), settings_(settings), platform_(platform), view_(view), writer_(writer),
      result_(result), modifiedCheck_(modifiedCheck), clearClip_(clearClip), keyboard_(keyboard) {}

DumpWatcher::~DumpWatcher() {
    if (attached_)
        platform_.fileWatcher.watch("", {});
}

void DumpWatcher::setProcessFile(std::function<void(const std::string&)> processFile) {
    processFile_ = std::move(processFile);
}

void DumpWatcher::setOnDumpMoved(std::function<void()> onDumpMoved) {
    onDumpMoved_ = std::move(onDumpMoved);
}

void DumpWatcher::attach() {
    modifiedCheck_.setInterval(kTickMs);
    modifiedCheck_.setCallback([this] { tick(); });
    attached_ = true;
    watchDumpFile();
}

void DumpWatcher::watchDumpFile() {
    if (attached_)
        platform_.fileWatcher.watch(state_.gDumpFileAbsPath, [this] { onFileChangeNotice(); });
    if (onDumpMoved_)
        onDumpMoved_();
}

void DumpWatcher::onFileChangeNotice() {
    // The watcher is off while a command runs; the command's result call
    // re-arms it and the next tick looks at the file again.
    if (modifiedCheck_.isEnabled())
        tick();
}

std::optional<bool> DumpWatcher::gameOrProgramInFront() {
    WindowSystem& windows = platform_.windows;
    const WindowId first = windows.foregroundWindow();
    const WindowId game = windows.findWindowByTitle(settings_.gameWindowTitle());
    const WindowId second = windows.foregroundWindow();
    if (first == 0 && second == 0)
        return std::nullopt;
    const WindowId main = windows.mainWindow();
    return (main != 0 && second == main) || (game != 0 && first == game);
}

void DumpWatcher::followForeground() {
    const std::optional<bool> inFront = gameOrProgramInFront();
    if (!inFront)
        return;
    if (*inFront && !state_.keyboardHooked) {
        keyboard_.hookKeyboard();
        state_.keyboardHooked = true;
    } else if (!*inFront && state_.keyboardHooked) {
        keyboard_.unhookKeyboard();
        state_.keyboardHooked = false;
    }
}

void DumpWatcher::tick() {
    // Pending events run inside a tick (step of the pickup below); a change
    // notice or timer arriving then must not start a second pickup.
    if (ticking_)
        return;
    ticking_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{ticking_};

    followForeground();
    const std::string path = state_.gDumpFileAbsPath;
    const std::string modified = path.empty() ? std::string() : modifiedTimeText(pathOf(path));
    if (modified.empty())
        return;
    // Both sides are whole-second texts, so equal text is the same second;
    // any difference, later or earlier, is a change. With no remembered time
    // (the mod folder was missing when it was chosen) any dump is new.
    if (modified == state_.gLastModified)
        return;

    platform_.events.processPendingEvents();
    const std::string now = modifiedTimeText(pathOf(path));
    state_.gLastModified = now.empty() ? modified : now;
    modifiedCheck_.stop();
    clearClip_.stop();
    writer_.writeResultScript("Updating Player List Info. . . Searching for new Command. . .");
    if (processFile_)
        processFile_("pullFromFile");
}

std::string DumpWatcher::GetDumpFileAbsPath() const {
    return state_.gDumpFileAbsPath;
}

void DumpWatcher::SetDumpFileAbsPath(const std::string& strNewAbsPath) {
    state_.gDumpFileAbsPath = strNewAbsPath;
    watchDumpFile();
}

std::string DumpWatcher::GetCurrentMod() const {
    return currentModOf(state_.gDumpFileAbsPath);
}

void DumpWatcher::toggleMod(const std::string& newModPath, bool formInitBool) {
    if (state_.gDumpFileAbsPath.empty())
        return;
    const std::string dumpName = settings_.dumpFileName();
    const std::string newPath =
        gameFolderPath(state_.gDumpFileAbsPath) + newModPath + "/" + dumpName;
    if (!isPlainFolderName(newModPath) || !ensureFileExists(pathOf(newPath))) {
        const std::string message =
            contains(kSupportedMods, newModPath)
                ? "The '" + newModPath + "' Mod is not Installed. {Current Mod = '" +
                      GetCurrentMod() + "'}"
                : "The '" + newModPath +
                      "' Mod is not Supported. {Supported Mods = " + kSupportedMods + "}";
        result_.readyForNextCmd("close.wav", message, true, 15, true, false, false);
        return;
    }

    state_.gDumpFileAbsPath = newPath;
    watchDumpFile();
    view_.setCheckedMod(newModPath);
    view_.setOpenDumpCaption("&Open '" + newModPath + "\\" + dumpName + "'");
    view_.setModPanel(newModPath, "Currently monitoring the \"" + newModPath + "\" mod folder");
    settings_.setPath(state_.gDumpFileAbsPath);
    const std::string modified = modifiedTimeText(pathOf(newPath));
    if (!modified.empty())
        state_.gLastModified = modified;
    std::error_code ignored; // a folder we cannot enter changes nothing that matters
    std::filesystem::current_path(pathOf(modFolderPath(newPath)), ignored);
    if (!formInitBool)
        result_.readyForNextCmd("complete.wav", "Mod has been Set to '" + newModPath + "'.", true,
                                15, true, false, true);
}

} // namespace hh
