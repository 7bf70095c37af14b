#pragma once
// Services a program without a desktop (or without X11) does without, or
// keeps to itself.
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
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

// No desktop clipboard: the text is kept here so that the expiry rules still hold.
class InProcessClipboard : public Clipboard {
  public:
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

  private:
    std::string text_;
};

// Message boxes go to standard error; nothing can be asked, so input and
// file boxes answer "cancelled".
class StderrDialogs : public Dialogs {
  public:
    void messageBox(const std::string& text, MessageIcon) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
};

} // namespace hh
