#include "app/win32/ConsoleSignals.h"

#include <windows.h>

#include <mutex>

namespace hh {
namespace {

// A console control handler gets no user data; one instance at a time.
std::mutex gLock;
EventPump* gUiThread = nullptr;
std::function<void()> gOnTerminate;
HANDLE gShutDown = nullptr; // set once the program has written its last answer

BOOL WINAPI onConsoleEvent(DWORD event) {
    HANDLE shutDown = nullptr;
    {
        std::lock_guard<std::mutex> lock(gLock);
        if (!gUiThread)
            return FALSE;
        gUiThread->postToUiThread(gOnTerminate);
        shutDown = gShutDown;
    }
    // Windows ends the process as soon as this returns for a closing console,
    // a logoff or a shutdown: wait (within its 5 s grace) for our own end.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(shutDown, 4000);
    return TRUE;
}

} // namespace

ConsoleSignals::ConsoleSignals(EventPump& uiThread, std::function<void()> onTerminate) {
    std::lock_guard<std::mutex> lock(gLock);
    gUiThread = &uiThread;
    gOnTerminate = std::move(onTerminate);
    gShutDown = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

ConsoleSignals::~ConsoleSignals() {
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    std::lock_guard<std::mutex> lock(gLock);
    gUiThread = nullptr;
    gOnTerminate = nullptr;
    SetEvent(gShutDown);
    // The handle stays open: a handler thread may still be waiting on it.
}

} // namespace hh
