#include "platform/x11/xcb_clipboard_server.h"

#include "platform/x11/xcb_reply.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <utility>
#include <vector>
#include <xcb/xcb.h>

namespace quorvex {

namespace {

using Clock = std::chrono::steady_clock;

// Larger data goes incrementally, in pieces of this size (as Qt's own clipboard does).
constexpr size_t kIncrementBytes = 256 * 1024 - 100;
// A reader that takes no piece for this long has gone away.
constexpr auto kStalled = std::chrono::seconds(10);

// One incremental transfer: the next piece goes when the reader deletes the property.
struct Transfer {
    xcb_window_t requestor;
    xcb_atom_t property;
    xcb_atom_t type;
    const std::string* bytes;
    size_t sent = 0;
    Clock::time_point last;
};

class Server {
public:
    Server(xcb_connection_t* connection, const std::vector<ClipboardOffer>& offers)
        : c(connection)
        , m_offers(offers)
    {
    }

    Status run(const std::function<void()>& held);

private:
    // Every request first, then every reply: one round trip, which a busy server makes costly.
    std::vector<xcb_atom_t> atoms(const std::vector<const char*>& names)
    {
        std::vector<xcb_intern_atom_cookie_t> cookies;
        for (const char* name : names)
            cookies.push_back(xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name));
        std::vector<xcb_atom_t> result;
        for (const xcb_intern_atom_cookie_t cookie : cookies) {
            XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
            result.push_back(reply ? reply->atom : XCB_NONE);
        }
        return result;
    }
    Status takeSelection();
    void askManagerToSave();
    void handle(xcb_generic_event_t* event);
    void answer(const xcb_selection_request_event_t& request);
    bool convert(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property, bool nested = false);
    void convertMultiple(xcb_window_t requestor, xcb_atom_t property);
    void nextPiece(xcb_window_t window, xcb_atom_t property);
    void dropTransfers(xcb_window_t requestor);
    void dropStalledTransfers();
    bool done() const { return (m_lost || m_saved) && m_transfers.empty(); }

    xcb_connection_t* c;
    const std::vector<ClipboardOffer>& m_offers;
    xcb_window_t m_window = XCB_NONE;
    xcb_timestamp_t m_time = XCB_CURRENT_TIME;
    xcb_atom_t m_clipboard = XCB_NONE, m_targets = XCB_NONE, m_timestamp = XCB_NONE, m_multiple = XCB_NONE,
               m_incr = XCB_NONE, m_atomPair = XCB_NONE, m_manager = XCB_NONE, m_saveTargets = XCB_NONE,
               m_saveProperty = XCB_NONE;
    std::vector<xcb_atom_t> m_offerAtoms;
    std::vector<Transfer> m_transfers;
    bool m_lost = false; // another client owns the selection now
    bool m_saved = false; // the clipboard manager has the offers
};

Status Server::run(const std::function<void()>& held)
{
    const std::vector<std::pair<const char*, xcb_atom_t*>> named{{"CLIPBOARD", &m_clipboard},
        {"TARGETS", &m_targets}, {"TIMESTAMP", &m_timestamp}, {"MULTIPLE", &m_multiple}, {"INCR", &m_incr},
        {"ATOM_PAIR", &m_atomPair}, {"CLIPBOARD_MANAGER", &m_manager}, {"SAVE_TARGETS", &m_saveTargets},
        {"QUORVEX7_SAVED", &m_saveProperty}};
    std::vector<const char*> names;
    for (const auto& [name, atom] : named)
        names.push_back(name);
    for (const ClipboardOffer& offer : m_offers)
        names.push_back(offer.mimeType.c_str());
    const std::vector<xcb_atom_t> interned = atoms(names);
    for (size_t i = 0; i < named.size(); ++i)
        *named[i].second = interned[i];
    m_offerAtoms.assign(interned.begin() + ptrdiff_t(named.size()), interned.end());

    if (Status taken = takeSelection(); !taken)
        return taken;
    held();
    askManagerToSave();

    pollfd watched{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        xcb_flush(c);
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            handle(event);
            std::free(event);
        }
        if (xcb_connection_has_error(c))
            return fail("the X display went away");
        dropStalledTransfers();
        if (done())
            return {};
        xcb_flush(c);
        const int timeoutMs = m_transfers.empty() ? -1 : 1000;
        if (poll(&watched, 1, timeoutMs) < 0 && errno != EINTR)
            return fail(std::string("cannot wait for the X display: ") + std::strerror(errno));
    }
}

Status Server::takeSelection()
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    m_window = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
        XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    // The server's time, from the property change it reports: owning a selection "now" is unsafe.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, m_window, m_saveProperty, XCB_ATOM_ATOM, 32, 0, nullptr);
    xcb_flush(c);
    while (m_time == XCB_CURRENT_TIME) {
        xcb_generic_event_t* event = xcb_wait_for_event(c);
        if (!event)
            return fail("the X display went away");
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY)
            m_time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
        std::free(event);
    }
    xcb_set_selection_owner(c, m_window, m_clipboard, m_time);
    XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_clipboard), nullptr));
    if (!owner || owner->owner != m_window)
        return fail("another X client holds on to the clipboard");
    return {};
}

void Server::askManagerToSave()
{
    XcbReply<xcb_get_selection_owner_reply_t> manager(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_manager), nullptr));
    if (!manager || manager->owner == XCB_NONE)
        return;
    // The targets worth saving: the offers, not TARGETS, TIMESTAMP or MULTIPLE.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, m_saveProperty, XCB_ATOM_ATOM, 32,
        uint32_t(m_offerAtoms.size()), m_offerAtoms.data());
    xcb_convert_selection(c, m_window, m_manager, m_saveTargets, m_saveProperty, m_time);
}

void Server::handle(xcb_generic_event_t* event)
{
    switch (event->response_type & 0x7f) {
    case 0: { // an error: a reader that went away during its transfer
        const auto* error = reinterpret_cast<xcb_generic_error_t*>(event);
        if (error->error_code == XCB_WINDOW)
            dropTransfers(error->resource_id);
        break;
    }
    case XCB_SELECTION_REQUEST:
        answer(*reinterpret_cast<xcb_selection_request_event_t*>(event));
        break;
    case XCB_SELECTION_CLEAR:
        if (reinterpret_cast<xcb_selection_clear_event_t*>(event)->selection == m_clipboard)
            m_lost = true;
        break;
    case XCB_SELECTION_NOTIFY: { // the manager's answer: saved, or not (then we go on serving)
        const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event);
        if (notify->selection == m_manager && notify->target == m_saveTargets)
            m_saved = notify->property != XCB_NONE;
        break;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event);
        if (change->state == XCB_PROPERTY_DELETE)
            nextPiece(change->window, change->atom);
        break;
    }
    default:
        break;
    }
}

void Server::answer(const xcb_selection_request_event_t& request)
{
    // A reader from before ICCCM names no property: the target is the property then.
    const xcb_atom_t property = request.property != XCB_NONE ? request.property : request.target;
    const bool ours = request.selection == m_clipboard && request.owner == m_window && !m_lost
        && (request.time == XCB_CURRENT_TIME || request.time >= m_time);
    const bool converted = ours && convert(request.requestor, request.target, property);
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = converted ? property : XCB_NONE;
    xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&notify));
}

bool Server::convert(xcb_window_t requestor, xcb_atom_t target, xcb_atom_t property, bool nested)
{
    if (target == m_targets) {
        std::vector<xcb_atom_t> targets{m_targets, m_timestamp, m_multiple};
        targets.insert(targets.end(), m_offerAtoms.begin(), m_offerAtoms.end());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, requestor, property, XCB_ATOM_ATOM, 32,
            uint32_t(targets.size()), targets.data());
        return true;
    }
    if (target == m_timestamp) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, requestor, property, XCB_ATOM_INTEGER, 32, 1, &m_time);
        return true;
    }
    if (target == m_multiple) {
        if (nested)
            return false;
        convertMultiple(requestor, property);
        return true;
    }
    const auto found = std::find(m_offerAtoms.begin(), m_offerAtoms.end(), target);
    if (found == m_offerAtoms.end() || target == XCB_NONE)
        return false;
    const std::string& bytes = m_offers[size_t(found - m_offerAtoms.begin())].bytes;
    if (bytes.size() <= kIncrementBytes) {
        xcb_change_property(
            c, XCB_PROP_MODE_REPLACE, requestor, property, target, 8, uint32_t(bytes.size()), bytes.data());
        return true;
    }
    // Incrementally: the size first; each deletion of the property by the reader asks for a piece.
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, requestor, XCB_CW_EVENT_MASK, &events);
    const uint32_t size = uint32_t(std::min<size_t>(bytes.size(), UINT32_MAX));
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, requestor, property, m_incr, 32, 1, &size);
    std::erase_if(
        m_transfers, [&](const Transfer& t) { return t.requestor == requestor && t.property == property; });
    m_transfers.push_back({requestor, property, target, &bytes, 0, Clock::now()});
    return true;
}

void Server::convertMultiple(xcb_window_t requestor, xcb_atom_t property)
{
    XcbReply<xcb_get_property_reply_t> pairs(xcb_get_property_reply(
        c, xcb_get_property(c, 0, requestor, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16), nullptr));
    if (!pairs || pairs->format != 32)
        return;
    auto* atoms = static_cast<xcb_atom_t*>(xcb_get_property_value(pairs.get()));
    const int count = xcb_get_property_value_length(pairs.get()) / 4;
    for (int i = 0; i + 1 < count; i += 2)
        if (!convert(requestor, atoms[i], atoms[i + 1], true))
            atoms[i + 1] = XCB_NONE; // that one failed
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, requestor, property, pairs->type, 32, uint32_t(count), atoms);
}

void Server::nextPiece(xcb_window_t window, xcb_atom_t property)
{
    const auto transfer = std::find_if(m_transfers.begin(), m_transfers.end(),
        [&](const Transfer& t) { return t.requestor == window && t.property == property; });
    if (transfer == m_transfers.end())
        return;
    const size_t piece = std::min(kIncrementBytes, transfer->bytes->size() - transfer->sent);
    // The last piece has no bytes: it tells the reader the transfer is complete.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, transfer->type, 8, uint32_t(piece),
        transfer->bytes->data() + transfer->sent);
    transfer->sent += piece;
    transfer->last = Clock::now();
    if (piece == 0) {
        m_transfers.erase(transfer);
        if (std::none_of(m_transfers.begin(), m_transfers.end(),
                [&](const Transfer& t) { return t.requestor == window; })) {
            const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
            xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &none);
        }
    }
}

void Server::dropTransfers(xcb_window_t requestor)
{
    std::erase_if(m_transfers, [&](const Transfer& t) { return t.requestor == requestor; });
}

void Server::dropStalledTransfers()
{
    const Clock::time_point now = Clock::now();
    std::erase_if(m_transfers, [&](const Transfer& t) { return now - t.last > kStalled; });
}

} // namespace

Status serveX11Clipboard(
    const std::vector<ClipboardOffer>& offers, const std::string& display, const std::function<void()>& held)
{
    xcb_connection_t* connection = xcb_connect(display.empty() ? nullptr : display.c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return fail("cannot open the X display '" + display + "'");
    }
    Status served = Server(connection, offers).run(held);
    xcb_disconnect(connection);
    return served;
}

} // namespace quorvex
