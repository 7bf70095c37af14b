#include "platform/x11/X11HotKey.h"

#include "platform/x11/X11KeyMap.h"

#include <X11/Xlib-xcb.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace hh {
namespace {

constexpr std::uint8_t kBadAccess = 10;

std::string keyText(std::uint32_t vk) {
    const char* name = XKeysymToString(x11::keysymFromVk(vk));
    return name ? std::string(name) : "key code " + std::to_string(vk);
}

} // namespace

X11HotKey::X11HotKey(const std::string& displayName) {
    display_ = x11::openPrivateDisplay(displayName, &why_);
}

X11HotKey::~X11HotKey() {
    unregister();
    reader_.reset(); // before the connection it reads
}

bool X11HotKey::registerCtrlKey(std::uint32_t vkCode, std::function<void()> onPressed,
                                std::string* why) {
    unregister();
    if (!display_) {
        if (why)
            *why = why_;
        return false;
    }
    // Keycode 0 would be AnyKey: Ctrl plus every key.
    const unsigned keycode = x11::keycodeFromVk(display_.get(), vkCode);
    if (keycode == 0) {
        if (why)
            *why = "no key of this keyboard has the code " + std::to_string(vkCode);
        return false;
    }
    vkCode_ = vkCode;
    keycode_ = keycode;
    if (!grab(why))
        return false;
    onPressed_ = std::move(onPressed);
    if (!reader_)
        reader_ =
            std::make_unique<x11::EventReader>(display_.get(), [this](XEvent& e) { handle(e); });
    reader_->drain(); // events read during the grab's round trip
    return true;
}

void X11HotKey::unregister() {
    ungrab();
    onPressed_ = nullptr;
}

// Ctrl with each combination of CapsLock and NumLock (NumLock's modifier bit
// differs between keyboards).
std::vector<unsigned> X11HotKey::lockVariants() const {
    unsigned numLock = 0;
    const KeyCode numLockKey = XKeysymToKeycode(display_.get(), XK_Num_Lock);
    std::unique_ptr<XModifierKeymap, decltype(&XFreeModifiermap)> map(
        XGetModifierMapping(display_.get()), &XFreeModifiermap);
    if (map && numLockKey != 0)
        for (int mod = 0; mod < 8; ++mod)
            for (int k = 0; k < map->max_keypermod; ++k)
                if (map->modifiermap[mod * map->max_keypermod + k] == numLockKey)
                    numLock = 1u << mod;
    std::vector<unsigned> masks{0, LockMask};
    if (numLock != 0 && numLock != LockMask) {
        masks.push_back(numLock);
        masks.push_back(numLock | LockMask);
    }
    return masks;
}

// Checked requests: a conflict comes back here as BadAccess instead of going
// to the process-wide Xlib error handler (Qt's, or the default that exits).
bool X11HotKey::grab(std::string* why) {
    xcb_connection_t* connection = XGetXCBConnection(display_.get());
    const xcb_window_t root = DefaultRootWindow(display_.get());
    std::vector<std::pair<unsigned, xcb_void_cookie_t>> requests;
    for (unsigned mask : lockVariants())
        requests.emplace_back(mask,
                              xcb_grab_key_checked(connection, 0, root,
                                                   static_cast<std::uint16_t>(ControlMask | mask),
                                                   static_cast<xcb_keycode_t>(keycode_),
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::uint8_t failure = 0;
    for (auto& [mask, cookie] : requests) {
        x11::XcbReply<xcb_generic_error_t> error(xcb_request_check(connection, cookie));
        if (error)
            failure = error->error_code;
        else
            grabbed_.push_back(mask);
    }
    if (failure == 0)
        return true;
    ungrab(); // none or all: a half-held combination would fire only sometimes
    if (why)
        *why = failure == kBadAccess ? "another program already uses Ctrl+" + keyText(vkCode_)
                                     : "the X server refused Ctrl+" + keyText(vkCode_) +
                                           " (error " + std::to_string(failure) + ")";
    return false;
}

void X11HotKey::ungrab() {
    if (grabbed_.empty() || !display_)
        return;
    xcb_connection_t* connection = XGetXCBConnection(display_.get());
    const xcb_window_t root = DefaultRootWindow(display_.get());
    std::vector<xcb_void_cookie_t> requests;
    for (unsigned mask : grabbed_)
        requests.push_back(xcb_ungrab_key_checked(connection, static_cast<xcb_keycode_t>(keycode_),
                                                  root,
                                                  static_cast<std::uint16_t>(ControlMask | mask)));
    grabbed_.clear();
    // Collected so that no error reaches the Xlib error handler.
    for (auto cookie : requests)
        x11::XcbReply<xcb_generic_error_t> error(xcb_request_check(connection, cookie));
}

void X11HotKey::handle(XEvent& event) {
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
        // The key or NumLock's modifier may have moved: grab anew.
        if (isRegistered() && event.xmapping.request != MappingPointer) {
            ungrab();
            keycode_ = x11::keycodeFromVk(display_.get(), vkCode_);
            if (keycode_ != 0)
                grab(nullptr);
        }
        return;
    }
    if (event.type != KeyPress || event.xkey.keycode != keycode_ || !isRegistered())
        return;
    if (auto onPressed = onPressed_) // a copy: the callback may re-register
        onPressed();
}

} // namespace hh
