#include "app/ProgramServices.h"

#include "app/NullServices.h"
#include "platform/posix/PosixNet.h"
#include "platform/qt/AppPaths.h"
#include "platform/qt/Clipboards.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/ProcessSoundPlayer.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFileWatcher.h"
#include "platform/qt/QtPageFetcher.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtTimers.h"
#include "platform/x11/X11HotKey.h"
#include "platform/x11/X11KeyEventSource.h"
#include "platform/x11/X11WindowSystem.h"

#include <cstdlib>

namespace hh {

struct ProgramServices::Parts {
    QtTimerFactory timers;
    SystemClock clock;
    QtEventPump events;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<ProcessSoundPlayer> sound;
    std::unique_ptr<WindowSystem> windows;
    X11WindowSystem* x11Windows = nullptr;
    std::unique_ptr<AppPaths> paths;
    std::unique_ptr<KeyEventSource> keys;
    std::unique_ptr<HotKey> hotKey;
    QtPageFetcher pages;
    std::unique_ptr<Dialogs> dialogs;
    QtDialogs* qtDialogs = nullptr;
    std::unique_ptr<Shell> shell;
    QtFileWatcher fileWatcher;
    PosixHostResolver resolver;
    PosixIcmpEcho icmp;
};

namespace {

bool displayReachable() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

} // namespace

ProgramServices::ProgramServices(const ServiceChoice& choice) : parts_(std::make_unique<Parts>()) {
    Parts& p = *parts_;
    p.sound = std::make_unique<ProcessSoundPlayer>(choice.quiet);
    p.paths = std::make_unique<AppPaths>(choice.programDir);
    p.fileWatcher.setEnabled(choice.fileEvents);
    if (choice.desktop) {
        p.clipboard = std::make_unique<QtClipboard>();
        auto dialogs = std::make_unique<QtDialogs>();
        p.qtDialogs = dialogs.get();
        p.dialogs = std::move(dialogs);
        p.shell = std::make_unique<QtShell>();
    } else {
        p.clipboard = std::make_unique<InProcessClipboard>();
        p.dialogs = std::make_unique<StderrDialogs>();
        p.shell = std::make_unique<PrintingShell>();
    }
    x11_ = displayReachable();
    if (x11_) {
        auto windows = std::make_unique<X11WindowSystem>();
        p.x11Windows = windows.get();
        p.windows = std::move(windows);
        p.keys = std::make_unique<X11KeyEventSource>();
        p.hotKey = std::make_unique<X11HotKey>();
    } else {
        p.windows = std::make_unique<NoWindows>();
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        p.keys = std::make_unique<NoKeyEvents>(wayland && *wayland
                                                   ? "this is a Wayland session without X11"
                                                   : "no X11 display is available");
        p.hotKey = std::make_unique<NoHotKey>();
    }
    platform_ = std::make_unique<Platform>(
        Platform{p.timers, p.clock, p.events, *p.clipboard, *p.sound, *p.windows, *p.paths, *p.keys,
                 *p.hotKey, p.pages, *p.dialogs, *p.shell, p.fileWatcher, p.resolver, p.icmp});
}

ProgramServices::~ProgramServices() = default;

void ProgramServices::setDialogParent(QWidget* parent) {
    if (parts_->qtDialogs)
        parts_->qtDialogs->setParent(parent);
}

void ProgramServices::setMainWindowId(std::uint64_t id) {
    if (parts_->x11Windows)
        parts_->x11Windows->setMainWindow(id);
}

} // namespace hh
