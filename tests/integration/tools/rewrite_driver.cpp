// Rewrites hh.cfg, handleHound.ini and handleHound.cfg in a tight loop with
// the program's own writers, alternating between two known versions of each,
// until it is killed. The crash-safety test kills it at random moments.
//   rewrite_driver GAME_DIR PROGRAM_DIR
#include "common/SharedState.h"
#include "fakes/FakePlatform.h"
#include "gamelink/GameScript.h"
#include "gamelink/ResultScript.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const std::filesystem::path game = argv[1], program = argv[2];
    hh::test::FakePlatform fakes;
    hh::SharedState state;
    state.gDumpFileAbsPath = (game / "osp" / "handleHound.who").string();
    hh::Settings settings(program / "handleHound.ini");
    hh::ResultScriptWriter writer(state, settings, [](const std::string&) {});
    hh::GameScript script(state, settings, fakes.platform);
    std::printf("ready\n");
    std::fflush(stdout);
    for (unsigned long i = 0;; ++i) {
        const bool odd = i % 2;
        writer.writeResultScript(odd ? "first answer; with a brace {hint}"
                                     : "second answer\\nline two");
        hh::INIwrite(program / "handleHound.ini", "Behavior", "NameColor", odd ? "^1" : "^2");
        std::string from = odd ? "tab" : "f6", to = odd ? "f6" : "tab";
        script.changeKeyBinding(from, to);
    }
}
