#pragma once
// Test doubles of every platform service, with hooks to drive and inspect
// them. Time is virtual: advance() fires due timers in time order, so a 15 s
// expiry runs in microseconds.
#include "common/MainView.h"
#include "platform/Platform.h"

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hh::test {

class VirtualClock;

class FakeTimer : public Timer {
  public:
    explicit FakeTimer(VirtualClock& clock);
    ~FakeTimer() override;
    void setCallback(std::function<void()> onTick) override { onTick_ = std::move(onTick); }
    void setInterval(int ms) override;
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }

    long long dueAt = 0; // virtual ms
    std::function<void()> onTick_;
    int interval_ = 0;
    bool enabled_ = false;
    long long seq = 0;
    VirtualClock& clock_;
};

class VirtualClock : public TimerFactory, public Clock {
  public:
    VirtualClock();
    std::unique_ptr<Timer> createTimer() override;
    std::chrono::system_clock::time_point now() const override;

    // Runs every timer due within the next `ms` milliseconds, in time order.
    void advance(long long ms);

    // internal
    void add(FakeTimer* t) { timers_.push_back(t); }
    void removeTimer(FakeTimer* t);
    long long nextSeq() { return ++seq_; }
    long long nowMs_ = 0;

  private:
    std::vector<FakeTimer*> timers_;
    long long seq_ = 0;
    std::chrono::system_clock::time_point wallStart_;
};

class FakeEventPump : public EventPump {
  public:
    void processPendingEvents() override;
    void postToUiThread(std::function<void()> work) override;
    int pumps = 0;
    std::deque<std::function<void()>> posted;
};

class FakeClipboard : public Clipboard {
  public:
    std::string text() const override { return text_; }
    void setText(const std::string& t) override { text_ = t; }
    std::string text_;
};

class FakeSound : public SoundPlayer {
  public:
    void play(const std::string& path) override { played.push_back(path); }
    void beep() override { ++beeps; }
    // file names only ("on.wav"), in order
    std::vector<std::string> names() const;
    std::vector<std::string> played;
    int beeps = 0;
};

class FakeWindowSystem : public WindowSystem {
  public:
    WindowId findWindowByTitle(const std::string& title) override {
        auto it = windows.find(title);
        return it == windows.end() ? 0 : it->second;
    }
    WindowId foregroundWindow() override { return foreground; }
    WindowId mainWindow() override { return main; }
    std::map<std::string, WindowId> windows; // title -> id
    WindowId foreground = 0;
    WindowId main = 0;
};

class FakePaths : public Paths {
  public:
    std::filesystem::path programDir() const override { return program; }
    std::filesystem::path desktopDir() const override { return desktop; }
    std::filesystem::path program, desktop;
};

class FakeKeyEventSource : public KeyEventSource {
  public:
    bool available(std::string* why) const override {
        if (!isAvailable && why)
            *why = "no key observer in this test";
        return isAvailable;
    }
    bool install(std::function<void(const KeyRecord&)> onKeyUp) override {
        ++installs;
        onKeyUp_ = std::move(onKeyUp);
        installed_ = isAvailable;
        return installed_;
    }
    void remove() override { installed_ = false; }
    bool isInstalled() const override { return installed_; }
    // Delivers one release when installed.
    void release(std::uint32_t vk) {
        if (installed_ && onKeyUp_) {
            KeyRecord r;
            r.vkCode = vk;
            onKeyUp_(r);
        }
    }
    bool isAvailable = true;
    bool installed_ = false;
    int installs = 0;
    std::function<void(const KeyRecord&)> onKeyUp_;
};

class FakeHotKey : public HotKey {
  public:
    bool registerCtrlKey(std::uint32_t vk, std::function<void()> onPressed,
                         std::string* why) override {
        registrations.push_back(vk);
        if (failNext) {
            failNext = false;
            if (why)
                *why = "the combination is taken";
            return false;
        }
        onPressed_ = std::move(onPressed);
        registered = true;
        return true;
    }
    void unregister() override { registered = false; }
    bool isRegistered() const override { return registered; }
    void press() {
        if (registered && onPressed_)
            onPressed_();
    }
    std::vector<std::uint32_t> registrations;
    bool registered = false, failNext = false;
    std::function<void()> onPressed_;
};

class FakePageFetcher : public PageFetcher {
  public:
    void get(const std::string& url, std::function<void(const FetchResult&)> done) override {
        requests.push_back({url, std::move(done)});
    }
    void postJson(const std::string& url, const std::string& json,
                  std::function<void(const FetchResult&)> done) override {
        posts.push_back({url, json});
        if (done)
            pendingPosts.push_back(std::move(done));
    }
    // Only the program's entry hands out the credential; the logic never does.
    void setCredential(const std::string&, const std::string&) override {}
    // Answer the oldest open GET, or the oldest POST that waits for one.
    void answer(const FetchResult& result);
    void answerPost(const FetchResult& result);
    struct Request {
        std::string url;
        std::function<void(const FetchResult&)> done;
    };
    std::deque<Request> requests;
    std::vector<std::pair<std::string, std::string>> posts;
    std::deque<std::function<void(const FetchResult&)>> pendingPosts;
};

class FakeDialogs : public Dialogs {
  public:
    void messageBox(const std::string& text, MessageIcon) override { messages.push_back(text); }
    std::optional<std::string> inputBox(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::vector<std::string> messages;
};

class FakeShell : public Shell {
  public:
    void openFile(const std::string&) override {}
    void openUrl(const std::string&) override {}
    bool offersStartAtLogin() const override { return true; }
    bool startsAtLogin() const override { return atLogin; }
    std::string setStartAtLogin(bool on) override {
        ++atLoginChanges;
        if (atLoginProblem.empty())
            atLogin = on;
        return atLoginProblem;
    }
    bool atLogin = false;
    int atLoginChanges = 0;
    std::string atLoginProblem; // what the next change answers
};

class FakeFileWatcher : public FileWatcher {
  public:
    void watch(const std::string& filePath, std::function<void()> onChange) override {
        watched = filePath;
        onChange_ = std::move(onChange);
    }
    void notify() {
        if (onChange_)
            onChange_();
    }
    std::string watched;
    std::function<void()> onChange_;
};

class FakeResolver : public HostResolver {
  public:
    std::string resolveIPv4(const std::string& name) override {
        auto it = answers.find(name);
        return it == answers.end() ? "-1" : it->second;
    }
    std::map<std::string, std::string> answers;
};

class FakeIcmp : public IcmpEcho {
  public:
    EchoOutcome echo(const std::string& ip, const std::string& payload, int timeoutMs) override {
        calls.push_back(ip + "|" + payload + "|" + std::to_string(timeoutMs));
        if (outcomes.empty())
            return {EchoOutcome::Reply, 1, {}};
        auto o = outcomes.front();
        outcomes.pop_front();
        return o;
    }
    std::vector<std::string> calls;
    std::deque<EchoOutcome> outcomes;
};

class FakeMainView : public MainView {
  public:
    void appendConsole(const std::string& text) override { console += text; }
    std::string consoleText() const override { return console; }
    void clearConsole() override { console.clear(); }
    void setStatusText(const std::string& text) override { statusText = text; }
    void setModPanel(const std::string&, const std::string&) override {}
    void setStateIcon(bool, const std::string&) override {}
    void setMonitoringControls(bool) override {}
    void setTrayIconEnabled(bool) override {}
    void setCheckedMod(const std::string&) override {}
    void setOpenDumpCaption(const std::string&) override {}
    void selectDeveloperCommandLine() override { ++commandLineSelections; }

    std::string console, statusText;
    int commandLineSelections = 0;
};

// A temporary folder removed when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// A page the fetcher got, and a transfer that never got an answer.
FetchResult fetched(std::string body, int status = 200, std::string finalUrl = {});
FetchResult unreached(std::string error = "Connection refused");

// Writes bytes to a file, creating folders.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);
// Local time is UTC from now on, so dates the logic prints are fixed.
void useUtcAsLocalTime();
// Sets a file's modification time to `secondsFromNow` relative to now.
void setModifiedTime(const std::filesystem::path& path, int secondsFromNow);

// All fakes together, with a program folder and a desktop in a temp folder.
struct FakePlatform {
    FakePlatform();
    VirtualClock clock;
    FakeEventPump events;
    FakeClipboard clipboard;
    FakeSound sound;
    FakeWindowSystem windows;
    FakePaths paths;
    FakeKeyEventSource keys;
    FakeHotKey hotKey;
    FakePageFetcher pages;
    FakeDialogs dialogs;
    FakeShell shell;
    FakeFileWatcher fileWatcher;
    FakeFileWatcher logWatcher;
    FakeResolver resolver;
    FakeIcmp icmp;
    TempDir temp;
    Platform platform;
};

} // namespace hh::test
