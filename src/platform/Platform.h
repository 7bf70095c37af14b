#pragma once
// Every operating-system and UI service the logic uses, as one bundle of
// references. The desktop, the headless program and the tests each fill it.
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/FileWatcher.h"
#include "platform/HotKey.h"
#include "platform/KeyEventSource.h"
#include "platform/Net.h"
#include "platform/PageFetcher.h"
#include "platform/Paths.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"
#include "platform/Timer.h"
#include "platform/WindowSystem.h"

namespace hh {

struct Platform {
    TimerFactory& timers;
    Clock& clock;
    EventPump& events;
    Clipboard& clipboard;
    SoundPlayer& sound;
    WindowSystem& windows;
    Paths& paths;
    KeyEventSource& keys;
    HotKey& hotKey;
    PageFetcher& pages;
    Dialogs& dialogs;
    Shell& shell;
    FileWatcher& fileWatcher; // the dump
    FileWatcher& logWatcher;  // the console log
    HostResolver& resolver;
    IcmpEcho& icmp;
};

} // namespace hh
