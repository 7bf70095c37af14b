#pragma once
// What every entry (desktop on each system, headless) does alike once the
// main window's logic exists.
#include <string>

namespace hh {

struct AppOptions;
class FrmMain;
class ProgramServices;
class Settings;
class StartDetector;

// Settings that cannot be written are reported in the console; an address
// on the command line wins over the setting.
void applyOptions(FrmMain& frm, Settings& settings, const AppOptions& options);

// Starts the program's own alias database when no other address is named,
// keeping the lookup's address and the console in step with it.
void startOwnAliasServiceIfUsed(ProgramServices& services, FrmMain& frm);

// The desktop's start once its windows exist: the start detector (with the
// first set-up), problems found on the way, the alias database. False when
// the player cancelled the set-up and nothing was started.
bool startDesktop(StartDetector& detector, FrmMain& frm, ProgramServices& services,
                  const std::string& resourceProblem, bool alwaysOn);

} // namespace hh
