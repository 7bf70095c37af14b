#pragma once
// Services a program without a desktop (or without X11) does without.
#include "platform/HotKey.h"
#include "platform/KeyEventSource.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

#include <cstdio>

namespace hh {

class NoWindows : public WindowSystem {
  public:
    WindowId findWindowByTitle(const std::string&) override { return 0; }
    WindowId foregroundWindow() override { return 0; }
    WindowId mainWindow() override { return 0; }
};

class NoKeyEvents : public KeyEventSource {
  public:
    explicit NoKeyEvents(std::string why) : why_(std::move(why)) {}
    bool available(std::string* why) const override {
        if (why)
            *why = why_;
        return false;
    }
    bool install(std::function<void(const KeyRecord&)>) override { return false; }
    void remove() override {}
    bool isInstalled() const override { return false; }

  private:
    std::string why_;
};

class NoHotKey : public HotKey {
  public:
    bool registerCtrlKey(std::uint32_t, std::function<void()>, std::string*) override {
        return false; // said once, with the key observer's notice
    }
    void unregister() override {}
    bool isRegistered() const override { return false; }
};

// Without a desktop there is nothing to open files with: say where they are.
class PrintingShell : public Shell {
  public:
    void openFile(const std::string& path) override { std::printf("Open: %s\n", path.c_str()); }
    void openUrl(const std::string& url) override { std::printf("Open: %s\n", url.c_str()); }
};

} // namespace hh
