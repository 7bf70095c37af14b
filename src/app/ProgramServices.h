#pragma once
// What the system the program runs on provides: its platform services, the
// UI thread's event loop, requests to end from outside (a signal, Ctrl+C,
// the console closing) and the local alias database where there is one.
// One implementation per system (linux/, win32/).
#include "platform/Platform.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hh {

struct ServiceChoice {
    bool desktop = false;   // a desktop session: real clipboard and dialogs
    bool fileEvents = true; // follow the system's change notices of the dump
    bool quiet = false;     // no sounds
    std::filesystem::path programDir;
    std::filesystem::path logDir; // "" = the program folder's log/
    // How the desktop session may start this program again (at login); empty: never.
    std::vector<std::string> startCommand = {};
};

class ProgramServices {
  public:
    explicit ProgramServices(const ServiceChoice& choice);
    ~ProgramServices();
    Platform& platform() { return *platform_; }

    // Runs the event loop until quitEventLoop(); returns its status.
    int runEventLoop();
    void quitEventLoop(int status);
    // Called on the UI thread when the program is asked to end from outside.
    void setOnTerminateRequest(std::function<void()> onTerminate);

    // Starts the alias database that ships with the program, private to the
    // program folder, where the system has one. `onAddress` gets its address
    // after every start ("" while none runs); `consoleLine` what the user
    // should know (started, started again, could not start).
    void startOwnAliasService(std::function<void(const std::string& address)> onAddress,
                              std::function<void(const std::string& line)> consoleLine);

    // Desktop: the window that owns message boxes, and the main window (for
    // the foreground test).
    void setDialogOwner(WindowId window);
    void setMainWindow(WindowId window);

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::unique_ptr<Platform> platform_;
    std::filesystem::path programDir_, logDir_;
};

} // namespace hh
