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
    // Events are read with xcb; errors of requests without a reply then
    // never reach Xlib's handler (which ends the program).
    XSetEventQueueOwner(display_.get(), XCBOwnsEventQueue);
    connection_ = XGetXCBConnection(display_.get());
    root_ = DefaultRootWindow(display_.get());
    const std::uint32_t rootEvents =
        XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &rootEvents);
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
// them only while its check window still names itself. The check window is
// watched, so its end (the manager's) is seen as an event.
bool X11WindowSystem::windowManagerRunning() {
    bool found = false;
    const auto check = windowList(root_, wmCheck_, &found);
    wmCheckWindow_ = check.empty() ? 0 : check[0];
    if (wmCheckWindow_ == 0)
        return false;
    watch({wmCheckWindow_});
    const auto self = windowList(wmCheckWindow_, wmCheck_, &found);
    return !self.empty() && self[0] == wmCheckWindow_;
}

// Property changes (titles) and the end of each window; the error of one
// that is already gone is discarded unseen.
void X11WindowSystem::watch(const std::vector<Xid>& windows) {
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    for (Xid w : windows) {
        const auto cookie =
            xcb_change_window_attributes_checked(connection_, w, XCB_CW_EVENT_MASK, &events);
        xcb_discard_reply(connection_, cookie.sequence);
    }
}

void X11WindowSystem::readEvents() {
    while (xcb_generic_event_t* raw = xcb_poll_for_event(connection_)) {
        const x11::XcbReply<xcb_generic_event_t> event(raw);
        switch (event->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(raw);
            if (e->window == root_) {
                clientsStale_ = clientsStale_ || e->atom == clientList_;
                activeStale_ = activeStale_ || e->atom == activeWindow_;
                wmStale_ = wmStale_ || e->atom == wmCheck_;
            } else if (e->atom == wmName_ || e->atom == XCB_ATOM_WM_NAME) {
                // A client's rename is read again; any other window's may
                // change what the walk finds.
                if (auto it = titles_.find(e->window); it != titles_.end())
                    it->second.stale = true;
                else
                    walkStale_ = true;
            }
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_destroy_notify_event_t*>(raw);
            wmStale_ = wmStale_ || e->window == wmCheckWindow_;
            walkStale_ = true;
            break;
        }
        case XCB_CREATE_NOTIFY:
        case XCB_REPARENT_NOTIFY:
            walkStale_ = true;
            break;
        default: // moves, maps, errors of discarded requests
            break;
        }
    }
}

void X11WindowSystem::refresh() {
    readEvents();
    if (wmStale_) {
        wmStale_ = false;
        wmRunning_ = windowManagerRunning();
        clientsStale_ = activeStale_ = walkStale_ = true;
        titles_.clear();
    }
    if (!wmRunning_)
        return;
    if (clientsStale_)
        refreshClients();
    if (activeStale_) {
        activeStale_ = false;
        const auto active = windowList(root_, activeWindow_, &activeFound_);
        active_ = active.empty() ? 0 : active[0];
    }
    refreshTitles();
}

// New clients are watched before their titles are read, so no rename
// between the two is missed.
void X11WindowSystem::refreshClients() {
    clientsStale_ = false;
    bool found = false;
    clients_ = windowList(root_, clientList_, &found);
    std::map<Xid, Title> kept;
    std::vector<Xid> added;
    for (Xid w : clients_) {
        if (auto it = titles_.find(w); it != titles_.end())
            kept.insert(*it);
        else
            added.push_back(w);
    }
    watch(added);
    for (Xid w : added)
        kept[w] = Title{};
    titles_ = std::move(kept);
}

void X11WindowSystem::refreshTitles() {
    std::vector<Xid> stale;
    for (const auto& [w, title] : titles_)
        if (title.stale)
            stale.push_back(w);
    if (stale.empty())
        return;
    const auto texts = titlesOf(stale);
    for (std::size_t i = 0; i < stale.size(); ++i)
        titles_[stale[i]] = Title{texts[i], false};
}

// _NET_WM_NAME (UTF-8) where set, else WM_NAME; all requests go out before
// the first reply is awaited, and every reply is collected.
std::vector<std::string> X11WindowSystem::titlesOf(const std::vector<Xid>& windows) {
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
    cookies.reserve(windows.size());
    for (Xid w : windows)
        cookies.emplace_back(xcb_get_property(connection_, 0, w, wmName_, utf8_, 0, kTitleLongs),
                             xcb_get_property(connection_, 0, w, XCB_ATOM_WM_NAME,
                                              XCB_GET_PROPERTY_TYPE_ANY, 0, kTitleLongs));
    std::vector<std::string> titles;
    titles.reserve(windows.size());
    for (const auto& [netNameCookie, nameCookie] : cookies) {
        x11::XcbReply<xcb_get_property_reply_t> netName(
            xcb_get_property_reply(connection_, netNameCookie, nullptr));
        x11::XcbReply<xcb_get_property_reply_t> name(
            xcb_get_property_reply(connection_, nameCookie, nullptr));
        std::string text = propertyText(netName.get());
        titles.push_back(text.empty() ? propertyText(name.get()) : std::move(text));
    }
    return titles;
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
        // With a window manager the walk is redone only on events: watch
        // what it read.
        if (wmRunning_)
            watch(children);
        const auto titles = titlesOf(children);
        const auto match = std::find(titles.begin(), titles.end(), title);
        if (match != titles.end())
            return children[static_cast<std::size_t>(match - titles.begin())];
        level = std::move(children);
    }
    return 0;
}

WindowId X11WindowSystem::findWindowByTitle(const std::string& title) {
    if (!display_)
        return 0;
    refresh();
    if (!wmRunning_)
        return walkTree(title);
    for (Xid w : clients_)
        if (titles_[w].text == title)
            return w;
    // A window it does not manage (an override-redirect full-screen game).
    if (walkStale_ || lastWalk_.title != title) {
        walkStale_ = false;
        lastWalk_ = {title, walkTree(title)};
    }
    return lastWalk_.found;
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
    refresh();
    if (wmRunning_ && activeFound_)
        return active_;
    x11::XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        focus->focus == root_)
        return 0;
    return clientOf(focus->focus);
}

} // namespace hh
