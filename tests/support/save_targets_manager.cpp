// A clipboard manager for the tests, as small as the protocol allows: it owns CLIPBOARD_MANAGER, and on
// a SAVE_TARGETS request reads the listed targets (or all of TARGETS) from the clipboard's owner in
// one MULTIPLE conversion, answers, takes the clipboard and serves what it saved. Prints "ready", then one
// line "saved TYPE..." per save. Debian 12 has no small manager that speaks SAVE_TARGETS for images.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace {

xcb_connection_t* c;
xcb_window_t window;

struct Free {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Owned = std::unique_ptr<T, Free>;

xcb_atom_t atom(const char* name)
{
    Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply->atom;
}

std::string nameOf(xcb_atom_t a)
{
    Owned<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(c, xcb_get_atom_name(c, a), nullptr));
    return reply
        ? std::string(xcb_get_atom_name_name(reply.get()), size_t(xcb_get_atom_name_name_length(reply.get())))
        : std::string();
}

// The next event of `type` on our window, the others dropped (a test's manager does one thing at a time).
Owned<xcb_generic_event_t> next(uint8_t type)
{
    for (;;) {
        Owned<xcb_generic_event_t> event(xcb_wait_for_event(c));
        if (!event)
            std::exit(1);
        if ((event->response_type & 0x7f) == type)
            return event;
    }
}

Owned<xcb_get_property_reply_t> takeProperty(xcb_atom_t property)
{
    return Owned<xcb_get_property_reply_t>(xcb_get_property_reply(
        c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 28), nullptr));
}

// The value of our `property` once the owner has written it, through INCR where it sends it so.
bool readProperty(xcb_atom_t property, xcb_atom_t incr, std::string& out)
{
    auto value = takeProperty(property);
    xcb_flush(c);
    if (!value)
        return false;
    if (value->type != incr) {
        out.assign(static_cast<char*>(xcb_get_property_value(value.get())),
            size_t(xcb_get_property_value_length(value.get())));
        return true;
    }
    out.clear();
    for (;;) { // each new value of the property is a piece; an empty one ends it
        auto event = next(XCB_PROPERTY_NOTIFY);
        const auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event.get());
        if (change->atom != property || change->state != XCB_PROPERTY_NEW_VALUE)
            continue;
        auto piece = takeProperty(property);
        xcb_flush(c);
        const int length = piece ? xcb_get_property_value_length(piece.get()) : 0;
        if (length == 0)
            return true;
        out.append(static_cast<char*>(xcb_get_property_value(piece.get())), size_t(length));
    }
}

// The clipboard converted to `target` into our `property`; false if refused.
bool convert(xcb_atom_t clipboard, xcb_atom_t target, xcb_atom_t property, xcb_atom_t incr, std::string& out)
{
    xcb_convert_selection(c, window, clipboard, target, property, XCB_CURRENT_TIME);
    xcb_flush(c);
    auto notify = next(XCB_SELECTION_NOTIFY);
    if (reinterpret_cast<xcb_selection_notify_event_t*>(notify.get())->property == XCB_NONE)
        return false;
    return readProperty(property, incr, out);
}

// Every target at once, in one MULTIPLE conversion, as desktop clipboard managers save; the targets
// the owner refused are left out.
std::map<xcb_atom_t, std::string> convertAll(
    xcb_atom_t clipboard, const std::vector<xcb_atom_t>& targets, xcb_atom_t incr)
{
    const xcb_atom_t multiple = atom("MULTIPLE"), pairsProperty = atom("MANAGER_PAIRS");
    std::vector<xcb_atom_t> pairs;
    for (size_t i = 0; i < targets.size(); ++i)
        pairs.insert(pairs.end(), {targets[i], atom(("MANAGER_DATA_" + std::to_string(i)).c_str())});
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, pairsProperty, atom("ATOM_PAIR"), 32,
        uint32_t(pairs.size()), pairs.data());
    std::string answered;
    std::map<xcb_atom_t, std::string> saved;
    if (!convert(clipboard, multiple, pairsProperty, incr, answered))
        return saved;
    const auto* atoms = reinterpret_cast<const xcb_atom_t*>(answered.data());
    for (size_t i = 0; i + 1 < answered.size() / 4; i += 2)
        if (std::string bytes; atoms[i + 1] != XCB_NONE && readProperty(atoms[i + 1], incr, bytes))
            saved[atoms[i]] = bytes;
    return saved;
}

} // namespace

int main()
{
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    window = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
        XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    const xcb_atom_t manager = atom("CLIPBOARD_MANAGER"), saveTargets = atom("SAVE_TARGETS"),
                     clipboard = atom("CLIPBOARD"), targetsAtom = atom("TARGETS"), incr = atom("INCR"),
                     property = atom("MANAGER_DATA");
    xcb_set_selection_owner(c, window, manager, XCB_CURRENT_TIME);
    xcb_flush(c);
    std::printf("ready\n");
    std::fflush(stdout);

    std::map<xcb_atom_t, std::string> saved;
    for (;;) {
        auto event = next(XCB_SELECTION_REQUEST);
        const auto request = *reinterpret_cast<xcb_selection_request_event_t*>(event.get());
        xcb_atom_t answer = XCB_NONE;
        if (request.selection == manager && request.target == saveTargets) {
            std::vector<xcb_atom_t> targets;
            Owned<xcb_get_property_reply_t> listed(xcb_get_property_reply(c,
                xcb_get_property(c, 0, request.requestor, request.property, XCB_ATOM_ATOM, 0, 1024),
                nullptr));
            std::string all;
            if (listed && listed->type == XCB_ATOM_ATOM) {
                auto* atoms = static_cast<xcb_atom_t*>(xcb_get_property_value(listed.get()));
                targets.assign(atoms, atoms + xcb_get_property_value_length(listed.get()) / 4);
            } else if (convert(clipboard, targetsAtom, property, incr, all)) {
                auto* atoms = reinterpret_cast<const xcb_atom_t*>(all.data());
                targets.assign(atoms, atoms + all.size() / 4);
            }
            std::vector<xcb_atom_t> wanted;
            for (xcb_atom_t target : targets) {
                const std::string name = nameOf(target);
                if (name != "TARGETS" && name != "MULTIPLE" && name != "TIMESTAMP" && name != "SAVE_TARGETS")
                    wanted.push_back(target);
            }
            saved = convertAll(clipboard, wanted, incr);
            std::string line = "saved";
            for (xcb_atom_t target : wanted)
                if (saved.count(target))
                    line += " " + nameOf(target);
            answer = request.property;
            xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        } else if (request.selection == clipboard && request.target == targetsAtom) {
            std::vector<xcb_atom_t> targets{targetsAtom};
            for (const auto& kept : saved)
                targets.push_back(kept.first);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, request.property, XCB_ATOM_ATOM,
                32, uint32_t(targets.size()), targets.data());
            answer = request.property;
        } else if (request.selection == clipboard && saved.count(request.target)) {
            const std::string& bytes = saved[request.target];
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, request.property, request.target,
                8, uint32_t(bytes.size()), bytes.data());
            answer = request.property;
        }
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = answer;
        xcb_send_event(c, 0, request.requestor, 0, reinterpret_cast<const char*>(&notify));
        xcb_flush(c);
    }
}
