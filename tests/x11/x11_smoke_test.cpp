// The X11 adapters against a real X server (Xvfb), driven with xdotool.
// gtest before Xlib: Xlib defines None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "XTestServer.h"

#include "platform/x11/X11HotKey.h"
#include "platform/x11/X11KeyEventSource.h"
#include "platform/x11/X11WindowSystem.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace hh::x11 {
namespace {

using namespace hh::test::x11;
using hh::test::Process;

class X11Test : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(foreignXErrors(), 0) << "an adapter raised an X error"; }
};

TEST(Availability, SaysWhyThereIsNoObserver) {
    struct Case {
        const char *display, *wayland, *reasonPart;
    };
    const std::string display = std::getenv("DISPLAY");
    for (const Case& c :
         {Case{nullptr, "wayland-0", "Wayland"}, Case{":64999", nullptr, "cannot be opened"}}) {
        c.display ? setenv("DISPLAY", c.display, 1) : unsetenv("DISPLAY");
        c.wayland ? setenv("WAYLAND_DISPLAY", c.wayland, 1) : unsetenv("WAYLAND_DISPLAY");
        X11KeyEventSource keys;
        X11HotKey hotKey;
        std::string why, hotKeyWhy;
        EXPECT_FALSE(keys.available(&why));
        EXPECT_NE(why.find(c.reasonPart), std::string::npos) << why;
        EXPECT_FALSE(keys.install([](const KeyRecord&) {}));
        EXPECT_FALSE(hotKey.registerCtrlKey(
            9, [] {}, &hotKeyWhy));
        EXPECT_NE(hotKeyWhy.find(c.reasonPart), std::string::npos) << hotKeyWhy;
        X11WindowSystem windows;
        EXPECT_EQ(windows.findWindowByTitle("Quake 3: Arena"), 0u);
        EXPECT_EQ(windows.foregroundWindow(), 0u);
    }
    setenv("DISPLAY", display.c_str(), 1); // the server this program started
}

class KeyObserverTest : public X11Test {
  protected:
    void SetUp() override {
        target.focus();
        std::string why;
        ASSERT_TRUE(keys.available(&why)) << why;
        ASSERT_TRUE(keys.install([this](const KeyRecord& r) { seen.push_back(r); }));
    }
    std::vector<std::uint32_t> codes() const {
        std::vector<std::uint32_t> out;
        for (const auto& r : seen)
            out.push_back(r.vkCode);
        return out;
    }
    bool typeAndWait(const std::vector<std::string>& keyNames, std::size_t count) {
        std::vector<std::string> args{"key"};
        args.insert(args.end(), keyNames.begin(), keyNames.end());
        return xdotool(args) == 0 && pumpUntil([&] { return seen.size() >= count; });
    }

    TestWindow target{"typing target"};
    X11KeyEventSource keys;
    std::vector<KeyRecord> seen;
};

TEST_F(KeyObserverTest, SeesTypedReleasesAsVirtualKeysUntilRemoved) {
    const std::vector<std::string> names{"slash",  "h",         "space", "Return",  "backslash",
                                         "grave",  "Escape",    "Tab",   "F5",      "Up",
                                         "period", "BackSpace", "Down",  "KP_Enter"};
    const std::vector<std::uint32_t> expected{0xBF, 0x48, 0x20, 0x0D, 0xDC, 0xC0, 0x1B,
                                              0x09, 0x74, 0x26, 0xBE, 0x08, 0x28, 0x0D};
    ASSERT_TRUE(typeAndWait(names, expected.size()));
    pumpBriefly();
    EXPECT_EQ(codes(), expected);
    for (const auto& r : seen)
        EXPECT_EQ(r.flags, 0x80u);
    // Observed, not consumed: the focused window got every key too.
    const auto events = target.keyEvents();
    const auto releases = std::count_if(events.begin(), events.end(),
                                        [](const XKeyEvent& e) { return e.type == KeyRelease; });
    EXPECT_EQ(static_cast<std::size_t>(releases), expected.size());

    keys.remove();
    ASSERT_EQ(xdotool({"key", "a"}), 0);
    ASSERT_TRUE(keys.install([this](const KeyRecord& r) { seen.push_back(r); }));
    ASSERT_TRUE(typeAndWait({"b"}, expected.size() + 1));
    pumpBriefly();
    EXPECT_EQ(codes().size(), expected.size() + 1) << "a key typed while removed was seen";
    EXPECT_EQ(codes().back(), 0x42u);

    // "?" is Shift+slash: the slash key's release comes, with Shift's. The
    // keypad's 7 key counts as keypad 7 with or without NumLock.
    seen.clear();
    ASSERT_TRUE(typeAndWait({"question", "KP_7", "KP_Home", "KP_Divide"}, 5));
    pumpBriefly();
    const auto got = codes();
    EXPECT_NE(std::find(got.begin(), got.end(), 0xBFu), got.end());
    EXPECT_EQ(std::find(got.begin(), got.end(), 0u), got.end());
    EXPECT_EQ(std::count(got.begin(), got.end(), 0x67u), 2);
    EXPECT_EQ(got.back(), 0x6Fu);
}

class HotKeyTest : public X11Test {
  protected:
    void SetUp() override { target.focus(); }
    // Presses keys, then a key nobody grabs, and waits until the target
    // window has that one: by then the server has sent everything before it.
    void pressThenSync(const std::vector<std::string>& keyNames) {
        const int before = pressesAtTarget(XK_F9);
        std::vector<std::string> args{"key"};
        args.insert(args.end(), keyNames.begin(), keyNames.end());
        args.push_back("F9");
        ASSERT_EQ(xdotool(args), 0);
        ASSERT_TRUE(pumpUntil([&] { return pressesAtTarget(XK_F9) > before; }));
        pumpBriefly();
    }
    int pressesAtTarget(KeySym keysym) {
        int n = 0;
        for (auto e : target.keyEvents())
            if (e.type == KeyPress && XLookupKeysym(&e, 0) == keysym)
                ++n;
        return n;
    }
    TestWindow target{"hot key target"};
    X11HotKey hotKey;
    int fired = 0;
};

TEST_F(HotKeyTest, CtrlKeyFiresInEveryLockStateAndOnlyWithCtrl) {
    std::string why;
    ASSERT_TRUE(hotKey.registerCtrlKey(
        9, [this] { ++fired; }, &why))
        << why;
    pressThenSync({"Tab", "ctrl+shift+Tab", "ctrl+Tab"});
    EXPECT_EQ(fired, 1);
    pressThenSync({"Caps_Lock", "ctrl+Tab", "Caps_Lock"});
    EXPECT_EQ(fired, 2);
    pressThenSync({"Num_Lock", "ctrl+Tab", "Caps_Lock", "ctrl+Tab", "Caps_Lock", "Num_Lock"});
    EXPECT_EQ(fired, 4);
    // The grab takes the presses it fires on; the plain Tabs reach the game.
    EXPECT_EQ(pressesAtTarget(XK_Tab), 2);
    hotKey.unregister(); // the game gets the key again
    pressThenSync({"ctrl+Tab"});
    EXPECT_EQ(fired, 4);
    EXPECT_EQ(pressesAtTarget(XK_Tab), 3);
}

// Grabs Ctrl+Tab with one lock state from another client.
struct Blocker {
    explicit Blocker(unsigned lockMask) : display(XOpenDisplay(nullptr)) {
        XGrabKey(display, XKeysymToKeycode(display, XK_Tab), ControlMask | lockMask,
                 DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync);
        XSync(display, False);
    }
    ~Blocker() { XCloseDisplay(display); }
    Display* display;
};

TEST_F(HotKeyTest, ConflictIsReportedAndRolledBack) {
    {
        Blocker blocker(LockMask);
        std::string why;
        EXPECT_FALSE(hotKey.registerCtrlKey(
            9, [this] { ++fired; }, &why));
        EXPECT_NE(why.find("another program"), std::string::npos) << why;
        EXPECT_FALSE(hotKey.isRegistered());
    }
    // The variants that had succeeded were let go again: another client gets them all.
    X11HotKey other;
    EXPECT_TRUE(other.registerCtrlKey(
        9, [] {}, nullptr));
}

class WindowFinderTest : public X11Test {
  protected:
    X11WindowSystem windows;
};

TEST_F(WindowFinderTest, TitlesAndTheWindowInFrontWithoutWindowManager) {
    TestWindow game("Quake 3: Arena");
    TestWindow other("Quake 3: Arena - notes");
    TestWindow legacy("Old Style Title", false);
    EXPECT_EQ(windows.findWindowByTitle("Quake 3: Arena"), game.id());
    EXPECT_EQ(windows.findWindowByTitle("Old Style Title"), legacy.id());
    EXPECT_EQ(windows.findWindowByTitle("quake 3: arena"), 0u);

    TestWindow a("window A");
    TestWindow b("window B");
    TestWindow inner("", true, a.id());
    a.focus();
    EXPECT_EQ(windows.foregroundWindow(), a.id());
    b.focus();
    EXPECT_EQ(windows.foregroundWindow(), b.id());
    inner.focus(); // a child of A: A is the window in front
    EXPECT_EQ(windows.foregroundWindow(), a.id());
    Display* d = XOpenDisplay(nullptr);
    XSetInputFocus(d, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(d, False);
    EXPECT_EQ(windows.foregroundWindow(), 0u);
    XCloseDisplay(d);
}

TEST_F(WindowFinderTest, VanishingWindowsAreSkipped) {
    TestWindow game("Quake 3: Arena");
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        Display* d = XOpenDisplay(nullptr);
        while (!stop) {
            Window ws[20];
            for (auto& w : ws) {
                w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 5, 5, 0, 0, 0);
                XStoreName(d, w, "short-lived");
                XMapWindow(d, w);
            }
            XFlush(d);
            for (auto w : ws)
                XDestroyWindow(d, w);
            XSync(d, False);
        }
        XCloseDisplay(d);
    });
    int found = 0;
    for (int i = 0; i < 200; ++i)
        found += windows.findWindowByTitle("Quake 3: Arena") == game.id();
    stop = true;
    churn.join();
    EXPECT_EQ(found, 200);
}

// Whether the window manager lists `window` among its clients.
bool managed(Window window) {
    Display* d = XOpenDisplay(nullptr);
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_CLIENT_LIST", False), 0, 1024,
                       False, XA_WINDOW, &type, &format, &n, &after, &data);
    bool found = false;
    for (unsigned long i = 0; data && i < n; ++i)
        found = found || reinterpret_cast<unsigned long*>(data)[i] == window;
    XFree(data);
    XCloseDisplay(d);
    return found;
}

// Runs openbox on the test display for one test, stopped by its PID.
class WithOpenbox : public WindowFinderTest {
  protected:
    void SetUp() override {
        if (system("command -v openbox >/dev/null") != 0)
            GTEST_SKIP() << "openbox is not installed";
        openbox = std::make_unique<Process>("openbox", std::vector<std::string>{"--sm-disable"});
        // Openbox names itself on the root window long before it handles
        // map requests: wait until it manages a window.
        TestWindow probe("probe");
        ASSERT_TRUE(pumpUntil([&] { return managed(probe.id()); }, std::chrono::seconds(20)));
    }
    std::unique_ptr<Process> openbox;
};

// With a window manager, the active window comes from its property, and
// titles are followed through events: a client renamed after it was listed,
// and a full-screen window it does not manage.
TEST_F(WithOpenbox, FollowsTheActiveWindowRenamedClientsAndUnmanagedWindows) {
    const std::string title = "Quake 3: Arena";
    TestWindow client("loading");
    TestWindow other("an editor");
    ASSERT_TRUE(pumpUntil([&] { return managed(client.id()) && managed(other.id()); }));
    ASSERT_EQ(xdotool({"windowactivate", "--sync", std::to_string(other.id())}), 0);
    EXPECT_TRUE(pumpUntil([&] { return windows.foregroundWindow() == other.id(); }));
    EXPECT_EQ(windows.findWindowByTitle(title), 0u);
    client.setTitle(title);
    EXPECT_TRUE(pumpUntil([&] { return windows.findWindowByTitle(title) == client.id(); }));
    client.setTitle("menu");
    EXPECT_TRUE(pumpUntil([&] { return windows.findWindowByTitle(title) == 0; }));
    {
        TestWindow fullScreen(title, true, 0, true);
        EXPECT_TRUE(pumpUntil([&] { return windows.findWindowByTitle(title) == fullScreen.id(); }));
    }
    EXPECT_TRUE(pumpUntil([&] { return windows.findWindowByTitle(title) == 0; }));
    openbox.reset(); // leaves _NET_ACTIVE_WINDOW naming the editor behind
    client.focus();
    EXPECT_EQ(windows.foregroundWindow(), client.id());
}

} // namespace
} // namespace hh::x11
