#include "TestWindow.h"

#include "XTestServer.h"

#include <set>

namespace hh::test::x11 {
namespace {

// The test windows' own connections: their errors are not the adapters'.
std::set<Display*> gHelperDisplays;
int gForeignErrors = 0;

} // namespace

int foreignXErrors() {
    return gForeignErrors;
}

void installXErrorCounter() {
    XSetErrorHandler([](Display* display, XErrorEvent*) {
        gForeignErrors += gHelperDisplays.count(display) == 0;
        return 0;
    });
}

TestWindow::TestWindow(const std::string& title, bool netWmName, Window parent,
                       bool overrideRedirect) {
    display_ = XOpenDisplay(nullptr);
    if (!display_)
        return;
    gHelperDisplays.insert(display_);
    const Window root = DefaultRootWindow(display_);
    window_ = XCreateSimpleWindow(display_, parent ? parent : root, 10, 10, 200, 100, 0, 0, 0);
    if (overrideRedirect) {
        XSetWindowAttributes unmanaged{};
        unmanaged.override_redirect = True;
        XChangeWindowAttributes(display_, window_, CWOverrideRedirect, &unmanaged);
    }
    if (!parent)
        setTitle(title, netWmName);
    XSelectInput(display_, window_, KeyPressMask | KeyReleaseMask);
    XMapWindow(display_, window_);
    XSync(display_, False);
}

void TestWindow::setTitle(const std::string& title, bool netWmName) {
    XStoreName(display_, window_, title.c_str());
    if (netWmName)
        XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_NAME", False),
                        XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
    XSync(display_, False);
}

TestWindow::~TestWindow() {
    if (!display_)
        return;
    XDestroyWindow(display_, window_);
    XSync(display_, False);
    gHelperDisplays.erase(display_);
    XCloseDisplay(display_);
}

void TestWindow::focus() {
    XSetInputFocus(display_, window_, RevertToPointerRoot, CurrentTime);
    XSync(display_, False);
}

std::vector<XKeyEvent> TestWindow::keyEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == KeyPress || event.type == KeyRelease)
            events_.push_back(event.xkey);
    }
    return events_;
}

} // namespace hh::test::x11
