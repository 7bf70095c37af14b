#pragma once
// The game link as the main window wires it, on fake platform services and a
// real game folder in a temporary place.
#include "common/SharedState.h"
#include "fakes/FakePlatform.h"
#include "gamelink/DumpWatcher.h"
#include "gamelink/KeyboardHookControl.h"
#include "gamelink/ResultCall.h"
#include "gamelink/ResultScript.h"
#include "platform/Files.h"
#include "settings/Settings.h"
#include "support/GameFolder.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace hh::test {

class CountingKeyboard : public KeyboardHookControl {
  public:
    void hookKeyboard() override { ++hooks; }
    void unhookKeyboard() override { ++unhooks; }
    int hooks = 0, unhooks = 0;
};

struct GameLinkRig {
    GameLinkRig() : cwd(std::filesystem::current_path()) {
        fp.paths.program = folder.program();
        state.gDumpFileAbsPath = folder.dump().generic_string();
        state.gLastModified = modifiedTimeText(folder.dump());
        watcher.setProcessFile([this](const std::string& token) { processed.push_back(token); });
        watcher.attach();
    }
    ~GameLinkRig() {
        std::error_code ignored; // toggleMod moves into the mod folder
        std::filesystem::current_path(cwd, ignored);
    }

    std::string script() const { return folder.resultText(); }

    std::filesystem::path cwd;
    GameFolder folder;
    FakePlatform fp;
    SharedState state;
    Settings settings{folder.ini()};
    FakeMainView view;
    std::vector<std::string> errors;
    ResultScriptWriter writer{state, settings,
                              [this](const std::string& e) { errors.push_back(e); }};
    std::unique_ptr<Timer> modifiedCheck = fp.clock.createTimer();
    std::unique_ptr<Timer> clearClip = fp.clock.createTimer();
    ResultCall result{state, settings, fp.platform, view, writer, *modifiedCheck, *clearClip};
    CountingKeyboard keyboard;
    DumpWatcher watcher{state,  settings,       fp.platform, view,    writer,
                        result, *modifiedCheck, *clearClip,  keyboard};
    std::vector<std::string> processed;
};

} // namespace hh::test
