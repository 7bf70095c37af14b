#pragma once
// The interpreter wired as the main window wires it: real game link, lookup
// and settings on a game folder in a temporary place, fake platform services
// on a virtual clock, and a program control that records what it was asked.
#include "commands/CommandContext.h"
#include "commands/Interpreter.h"
#include "commands/ProgramControl.h"
#include "gamelink/GameScript.h"
#include "lookup/LookupHandler.h"
#include "unit/gamelink/GameLinkRig.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace hh::test {

struct RecordingProgram : ProgramControl {
    void enableHH() override { calls.push_back("enableHH"); }
    void disableHH() override { calls.push_back("disableHH"); }
    void quitProgram() override { calls.push_back("quitProgram"); }
    void reregisterHotKey() override { calls.push_back("reregisterHotKey"); }
    void keyCodesChanged() override { calls.push_back("keyCodesChanged"); }
    std::vector<std::string> calls;
};

// A game-side script with both binds and the issue-delay sequence.
inline const std::string kGameScript = "bind \"tab\" \"vstr part1; vstr w2;\"\r\n"
                                       "bind \"f5\" \"exec hh.cfg\"\r\n";

inline const std::string kDump = "osp\\handleHound.who";

// The game link rig plus everything else a command reaches.
struct InterpreterRig : GameLinkRig {
    InterpreterRig() {
        // Times in messages and files are local: pin the zone.
        useUtcAsLocalTime();
        state.monitoringOn = true;
        lookup.setOwnServiceAddress("http://127.0.0.1:27995");
        writeFile(folder.game() / "baseq3" / "handleHound.cfg", kGameScript);
    }

    void run(const std::string& line) {
        interpreter.processFile(line);
        refuseNameLinks();
    }
    // Without an alias database, a name looked up where the dump has no
    // PunkBuster list ends in the lookup's own error.
    void refuseNameLinks() {
        while (!fp.pages.requests.empty() &&
               fp.pages.requests.front().url.find("/links?") != std::string::npos)
            fp.pages.answer({false, 0, {}, {}, "Connection refused"});
    }
    // The game dumps its console with these lines; the watcher hands the
    // command over as it does on a new dump.
    void runFromDump(const std::vector<std::string>& lines) {
        folder.writeDump(lines);
        run("pullFromFile");
    }

    std::string message() const { return state.gLastStatusMsg; }
    std::vector<std::string> sounds() const { return fp.sound.names(); }
    std::string lastSound() const { return sounds().empty() ? "" : sounds().back(); }

    std::unique_ptr<Timer> countTo = fp.clock.createTimer();
    LookupHandler lookup{state, settings, fp.platform, view, result};
    GameScript gameScript{state, settings, fp.platform};
    RecordingProgram program;
    CommandContext ctx{state,          settings,   fp.platform, view,       writer,
                       result,         watcher,    lookup,      gameScript, program,
                       *modifiedCheck, *clearClip, *countTo};
    Interpreter interpreter{ctx};
};

} // namespace hh::test
