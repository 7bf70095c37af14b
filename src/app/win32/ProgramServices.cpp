#include "app/ProgramServices.h"

#include "app/NullServices.h"
#include "app/win32/ConsoleSignals.h"
#include "platform/ProgramPaths.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32EventLoop.h"
#include "platform/win32/Win32FileWatcher.h"
#include "platform/win32/Win32HotKey.h"
#include "platform/win32/Win32KeyEventSource.h"
#include "platform/win32/Win32Net.h"
#include "platform/win32/Win32PageFetcher.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32SoundPlayer.h"
#include "platform/win32/Win32Timers.h"
#include "platform/win32/Win32WindowSystem.h"
#include "shell/win32/Win32Dialogs.h"
#include "shell/win32/Win32Shell.h"

#include <cstdint>

namespace hh {

struct ProgramServices::Parts {
    explicit Parts(const ServiceChoice& choice)
        : sound(choice.quiet),
          paths(choice.programDir,
                choice.logDir.empty() ? choice.programDir / "log" : choice.logDir),
          keys(events), pages(events), fileWatcher(events), logWatcher(events) {
        fileWatcher.setEnabled(choice.fileEvents);
    }
    Win32EventLoop events; // first: the others post to it
    Win32TimerFactory timers;
    SystemClock clock;
    Win32Clipboard clipboard;
    Win32SoundPlayer sound;
    Win32WindowSystem windows;
    ProgramPaths paths;
    Win32KeyEventSource keys;
    Win32HotKey hotKey;
    Win32PageFetcher pages;
    StderrDialogs consoleDialogs;
    PrintingShell consoleShell;
    win32::Win32Dialogs desktopDialogs;
    win32::Win32Shell desktopShell;
    Win32FileWatcher fileWatcher;
    Win32FileWatcher logWatcher;
    Win32HostResolver resolver;
    Win32IcmpEcho icmp;
    std::unique_ptr<ConsoleSignals> consoleSignals;
};

ProgramServices::ProgramServices(const ServiceChoice& choice)
    : parts_(std::make_unique<Parts>(choice)), programDir_(choice.programDir) {
    Parts& p = *parts_;
    platform_ = std::make_unique<Platform>(Platform{
        p.timers, p.clock, p.events, p.clipboard, p.sound, p.windows, p.paths, p.keys, p.hotKey,
        p.pages, choice.desktop ? static_cast<Dialogs&>(p.desktopDialogs) : p.consoleDialogs,
        choice.desktop ? static_cast<Shell&>(p.desktopShell) : p.consoleShell, p.fileWatcher,
        p.logWatcher, p.resolver, p.icmp});
}

ProgramServices::~ProgramServices() = default;

int ProgramServices::runEventLoop() {
    return parts_->events.run();
}

void ProgramServices::quitEventLoop(int status) {
    parts_->events.quit(status);
}

void ProgramServices::setOnTerminateRequest(std::function<void()> onTerminate) {
    parts_->consoleSignals =
        std::make_unique<ConsoleSignals>(parts_->events, std::move(onTerminate));
}

// No SQLite for Windows here: the program works against the address of the
// setting, and says so when that is empty.
void ProgramServices::startOwnAliasService(std::function<void(const std::string&)> onAddress,
                                           std::function<void(const std::string&)> consoleLine) {
    onAddress("");
    consoleLine("The alias database does not run beside the program on Windows yet; lookups need "
                "an alias database address in the setting Main / LookupURL.");
}

void ProgramServices::setDialogOwner(WindowId window) {
    parts_->desktopDialogs.setOwner(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)));
}

void ProgramServices::setMainWindow(WindowId window) {
    parts_->windows.setMainWindow(window);
}

} // namespace hh
