#pragma once
// A program folder, a game folder (<temp>/game/ with baseq3 and osp) and the
// settings file, all in a fresh temp folder, on the fake platform.
#include "common/SharedState.h"
#include "fakes/FakePlatform.h"
#include "gamelink/GameScript.h"
#include "settings/Settings.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

namespace hh::test {

// The shipped game-side script in the source tree. Not found through
// __FILE__: Ninja names sources relative to the build folder.
inline std::filesystem::path shippedScriptSource() {
    return std::filesystem::path(HH_SOURCE_DIR) / "data/handleHound.cfg";
}

struct SettingsRig {
    SettingsRig() {
        // Change notes carry the local date; the fake clock says 2026-12-05 14:00 UTC.
        useUtcAsLocalTime();
        std::filesystem::create_directories(game / "baseq3");
        std::filesystem::create_directories(game / "osp");
        state.gDumpFileAbsPath = (game / "osp" / "handleHound.who").generic_string();
    }
    std::filesystem::path iniPath() const { return fake.paths.program / "handleHound.ini"; }
    std::filesystem::path installed() const { return game / "baseq3" / "handleHound.cfg"; }
    void shipScript() {
        writeFile(fake.paths.program / "handleHound.cfg", readFile(shippedScriptSource()));
    }

    FakePlatform fake;
    std::filesystem::path game = fake.temp / "game";
    SharedState state;
    Settings settings{fake.paths.program / "handleHound.ini"};
    GameScript script{state, settings, fake.platform};
};

inline const std::string kNoteDate = "2026-12-05";

} // namespace hh::test
