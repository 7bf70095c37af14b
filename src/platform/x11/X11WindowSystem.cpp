#include "platform/x11/X11WindowSystem.h"

#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace hh {
namespace {

// Bounds for a hostile or enormous tree: titles are read up to 4 KiB, the
// walk stops after so many windows and levels (frames of reparenting window
// managers put clients two or three levels down).
constexpr std::uint32_t kTitleLongs = 1024;
constexpr std::size_t kMaxWindows = 20000;
constexpr int kMaxDepth = 3;
constexpr int kMaxParents = 64;

std::string propertyText(const xcb_get_property_reply_t* reply) {
    if (!reply || reply->format != 8)
        return {};
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply));
    return std::string(bytes, static_cast<std::size_t>(xcb_get_property_value_length(reply)));
}

} // namespace

X11WindowSystem::X11WindowSystem(const std::string& displayName) {
    display_ = x11::openPrivateDisplay(displayName, &why_);
    if (!display_)
        return;
    connection_ = XGetXCBConnection(display_.get());
    root_ = DefaultRootWindow(display_.get());
    const std::array<const char*, 6> names{"_NET_CLIENT_LIST", "_NET_ACTIVE_WINDOW",
                                           "_NET_WM_NAME",     "UTF8_STRING",
                                           "WM_STATE",         "_NET_SUPPORTING_WM_CHECK"};
    std::array<xcb_atom_t*, 6> atoms{&clientList_, &activeWindow_, &wmName_,
                                     &utf8_,       &wmState_,      &wmCheck_};
    std::array<xcb_intern_atom_cookie_t, 6> cookies{};
    for (std::size_t i = 0; i < names.size(); ++i)
        cookies[i] =
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(strlen(names[i])), names[i]);
    for (std::size_t i = 0; i < names.size(); ++i) {
        x11::XcbReply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection_, cookies[i], nullptr));
        *atoms[i] = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }
}

X11WindowSystem::~X11WindowSystem() = default;

bool X11WindowSystem::available(std::string* why) const {
    if (!display_ && why)
        *why = why_;
    return display_ != nullptr;
}

std::vector<X11WindowSystem::Xid> X11WindowSystem::windowList(Xid window, Xid property,
                                                              bool* found) {
    *found = false;
    x11::XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, window, property, XCB_ATOM_WINDOW, 0, kMaxWindows),
        nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32)
        return {};
    *found = true;
    const auto* ids = static_cast<const Xid*>(xcb_get_property_value(reply.get()));
    return {ids, ids + reply->value_len};
}

// A window manager that left may leave its root properties behind: trust
// them only while its check window still names itself.
bool X11WindowSystem::windowManagerRunning() {
    bool found = false;
    const auto check = windowList(root_, wmCheck_, &found);
    if (check.empty())
        return false;
    const auto self = windowList(check[0], wmCheck_, &found);
    return !self.empty() && self[0] == check[0];
}

// _NET_WM_NAME (UTF-8) where set, else WM_NAME; all requests go out before
// the first reply is awaited.
X11WindowSystem::Xid X11WindowSystem::firstWithTitle(const std::vector<Xid>& windows,
                                                     const std::string& title) {
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
    cookies.reserve(windows.size());
    for (Xid w : windows)
        cookies.emplace_back(xcb_get_property(connection_, 0, w, wmName_, utf8_, 0, kTitleLongs),
                             xcb_get_property(connection_, 0, w, XCB_ATOM_WM_NAME,
                                              XCB_GET_PROPERTY_TYPE_ANY, 0, kTitleLongs));
    Xid match = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        // Every reply is collected, also after a match, so none is left queued.
        x11::XcbReply<xcb_get_property_reply_t> netName(
            xcb_get_property_reply(connection_, cookies[i].first, nullptr));
        x11::XcbReply<xcb_get_property_reply_t> name(
            xcb_get_property_reply(connection_, cookies[i].second, nullptr));
        std::string text = propertyText(netName.get());
        if (text.empty())
            text = propertyText(name.get());
        if (match == 0 && text == title)
            match = windows[i];
    }
    return match;
}

X11WindowSystem::Xid X11WindowSystem::walkTree(const std::string& title) {
    std::vector<Xid> level{root_};
    std::size_t seen = 0;
    for (int depth = 0; depth < kMaxDepth && !level.empty() && seen < kMaxWindows; ++depth) {
        std::vector<xcb_query_tree_cookie_t> cookies;
        for (Xid w : level)
            cookies.push_back(xcb_query_tree(connection_, w));
        std::vector<Xid> children;
        for (auto cookie : cookies) {
            x11::XcbReply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(connection_, cookie, nullptr));
            if (!tree)
                continue; // gone since we listed it
            const Xid* ids = xcb_query_tree_children(tree.get());
            const auto count = static_cast<std::size_t>(xcb_query_tree_children_length(tree.get()));
            const std::size_t room = kMaxWindows - seen - children.size();
            children.insert(children.end(), ids, ids + std::min(count, room));
        }
        seen += children.size();
        if (const Xid match = firstWithTitle(children, title))
            return match;
        level = std::move(children);
    }
    return 0;
}

WindowId X11WindowSystem::findWindowByTitle(const std::string& title) {
    if (!display_)
        return 0;
    if (windowManagerRunning()) {
        bool found = false;
        const auto clients = windowList(root_, clientList_, &found);
        if (const Xid match = firstWithTitle(clients, title))
            return match;
        // A window it does not manage: walk the tree, but not on every call.
        const auto now = std::chrono::steady_clock::now();
        if (lastWalk_.title != title || now - lastWalk_.at >= kWalkValid)
            lastWalk_ = {title, walkTree(title), now};
        return lastWalk_.found;
    }
    return walkTree(title);
}

// The window that stands for a focused one: the nearest ancestor a window
// manager marked as a client, else the root's child that holds it.
X11WindowSystem::Xid X11WindowSystem::clientOf(Xid window) {
    for (int i = 0; i < kMaxParents; ++i) {
        auto stateCookie =
            xcb_get_property(connection_, 0, window, wmState_, XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
        auto treeCookie = xcb_query_tree(connection_, window);
        x11::XcbReply<xcb_get_property_reply_t> state(
            xcb_get_property_reply(connection_, stateCookie, nullptr));
        x11::XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, treeCookie, nullptr));
        if (!tree)
            return 0;
        if ((state && state->type != XCB_ATOM_NONE) || tree->parent == root_ ||
            tree->parent == XCB_WINDOW_NONE)
            return window;
        window = tree->parent;
    }
    return 0;
}

WindowId X11WindowSystem::foregroundWindow() {
    if (!display_)
        return 0;
    if (windowManagerRunning()) {
        bool found = false;
        const auto active = windowList(root_, activeWindow_, &found);
        if (found)
            return active.empty() ? 0 : active[0];
    }
    x11::XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        focus->focus == root_)
        return 0;
    return clientOf(focus->focus);
}

} // namespace hh
