#include "app/ProgramServices.h"

#include "app/NullServices.h"
#include "app/linux/AliasDbLauncher.h"
#include "app/linux/SignalBridge.h"
#include "platform/ProgramPaths.h"
#include "platform/posix/PosixNet.h"
#include "platform/posix/XdgAutostart.h"
#include "platform/qt/Clipboards.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFileWatcher.h"
#include "platform/qt/QtPageFetcher.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSoundPlayer.h"
#include "platform/qt/QtTimers.h"
#include "platform/x11/X11HotKey.h"
#include "platform/x11/X11KeyEventSource.h"
#include "platform/x11/X11WindowSystem.h"

#include <QCoreApplication>
#include <QWidget>
#include <cstdlib>

namespace hh {
namespace {

// The Qt services need an application object; the desktop program makes a
// QApplication itself, the headless program and --setup get this one.
struct ApplicationObject {
    ApplicationObject() {
        if (QCoreApplication::instance())
            return;
        static int argc = 1;
        static char name[] = "handlehound";
        static char* argv[] = {name, nullptr};
        owned = std::make_unique<QCoreApplication>(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Handlehound"));
    }
    std::unique_ptr<QCoreApplication> owned;
};

// The desktop's shell, with the freedesktop autostart entry.
class DesktopShell : public QtShell {
  public:
    explicit DesktopShell(std::vector<std::string> command)
        : autostart_(XdgAutostart::userEntryFile(), std::move(command)) {}
    bool offersStartAtLogin() const override { return true; }
    bool startsAtLogin() const override { return autostart_.enabled(); }
    std::string setStartAtLogin(bool on) override { return autostart_.setEnabled(on); }

  private:
    XdgAutostart autostart_;
};

bool displayReachable() {
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

} // namespace

struct ProgramServices::Parts {
    ApplicationObject app; // first: everything below needs it
    QtTimerFactory timers;
    SystemClock clock;
    QtEventPump events;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<QtSoundPlayer> sound;
    std::unique_ptr<WindowSystem> windows;
    X11WindowSystem* x11Windows = nullptr;
    std::unique_ptr<ProgramPaths> paths;
    std::unique_ptr<KeyEventSource> keys;
    std::unique_ptr<HotKey> hotKey;
    QtPageFetcher pages;
    std::unique_ptr<Dialogs> dialogs;
    QtDialogs* qtDialogs = nullptr;
    std::unique_ptr<Shell> shell;
    QtFileWatcher fileWatcher;
    QtFileWatcher logWatcher;
    PosixHostResolver resolver;
    PosixIcmpEcho icmp;
    std::unique_ptr<SignalBridge> terminateSignals;
    AliasDbLauncher aliasDb{pages};
};

ProgramServices::ProgramServices(const ServiceChoice& choice)
    : parts_(std::make_unique<Parts>()), programDir_(choice.programDir),
      logDir_(choice.logDir.empty() ? choice.programDir / "log" : choice.logDir) {
    Parts& p = *parts_;
    p.sound = std::make_unique<QtSoundPlayer>(choice.quiet);
    p.paths = std::make_unique<ProgramPaths>(choice.programDir, logDir_);
    p.fileWatcher.setEnabled(choice.fileEvents);
    if (choice.desktop) {
        p.clipboard = std::make_unique<QtClipboard>();
        auto dialogs = std::make_unique<QtDialogs>();
        p.qtDialogs = dialogs.get();
        p.dialogs = std::move(dialogs);
        if (choice.startCommand.empty())
            p.shell = std::make_unique<QtShell>();
        else
            p.shell = std::make_unique<DesktopShell>(choice.startCommand);
    } else {
        p.clipboard = std::make_unique<InProcessClipboard>();
        p.dialogs = std::make_unique<StderrDialogs>();
        p.shell = std::make_unique<PrintingShell>();
    }
    if (displayReachable()) {
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
    platform_ = std::make_unique<Platform>(Platform{
        p.timers, p.clock, p.events, *p.clipboard, *p.sound, *p.windows, *p.paths, *p.keys,
        *p.hotKey, p.pages, *p.dialogs, *p.shell, p.fileWatcher, p.logWatcher, p.resolver, p.icmp});
}

ProgramServices::~ProgramServices() = default;

int ProgramServices::runEventLoop() {
    return QCoreApplication::exec();
}

void ProgramServices::quitEventLoop(int status) {
    QCoreApplication::exit(status);
}

void ProgramServices::setOnTerminateRequest(std::function<void()> onTerminate) {
    parts_->terminateSignals = std::make_unique<SignalBridge>(std::move(onTerminate));
}

void ProgramServices::startOwnAliasService(std::function<void(const std::string&)> onAddress,
                                           std::function<void(const std::string&)> consoleLine) {
    parts_->aliasDb.start(programDir_, logDir_, {std::move(onAddress), std::move(consoleLine)});
}

void ProgramServices::setDialogOwner(WindowId window) {
    if (parts_->qtDialogs)
        parts_->qtDialogs->setParent(QWidget::find(static_cast<WId>(window)));
}

void ProgramServices::setMainWindow(WindowId window) {
    if (parts_->x11Windows)
        parts_->x11Windows->setMainWindow(window);
}

} // namespace hh
