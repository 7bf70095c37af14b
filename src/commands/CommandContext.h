#pragma once
// Everything a command handler may use, as one bundle of references.

namespace hh {

struct SharedState;
struct Platform;
class MainView;
class Settings;
class ResultScriptWriter;
class ResultCall;
class DumpWatcher;
class LookupHandler;
class GameScript;
class ProgramControl;
class Timer;

struct CommandContext {
    SharedState& state;
    Settings& settings;
    Platform& platform;
    MainView& view;
    ResultScriptWriter& writer;
    ResultCall& result;
    DumpWatcher& watcher;
    LookupHandler& lookup;
    GameScript& gameScript;
    ProgramControl& program;
    Timer& modifiedCheck; // tmrModifiedCheck
    Timer& clearClip;     // tmrClearClip
    Timer& countTo;       // tmrCountTo
};

} // namespace hh
