#include "app/TDesktopArea.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

namespace {

// The 32-bit values of a property (X hands them over as longs).
std::optional<std::vector<long>> cardinals(Display* display, Window window, const char* name, Atom type)
{
    const Atom property = XInternAtom(display, name, True);
    if (property == None)
        return std::nullopt;
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType, &format, &count, &after, &data)
            != Success
        || !data)
        return std::nullopt;
    std::vector<long> values;
    if (actualType == type && format == 32) {
        const long* items = reinterpret_cast<const long*>(data);
        values.assign(items, items + count);
    }
    XFree(data);
    if (values.empty())
        return std::nullopt;
    return values;
}

bool supports(Display* display, Window root, const char* name)
{
    const Atom wanted = XInternAtom(display, name, True);
    const auto supported = cardinals(display, root, "_NET_SUPPORTED", XA_ATOM);
    return wanted != None && supported
           && std::find(supported->begin(), supported->end(), static_cast<long>(wanted)) != supported->end();
}

// The frame the manager would put around a new window, asked for on a window
// of our own that is never shown. A manager that does not answer within a
// few seconds is taken to draw no frame.
std::optional<std::vector<long>> frameOfNewWindow(Display* display, Window root)
{
    if (!supports(display, root, "_NET_REQUEST_FRAME_EXTENTS"))
        return std::nullopt;
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window probe = XCreateWindow(display, root, 0, 0, 640, 360, 0, CopyFromParent, InputOutput, CopyFromParent,
                                       CWEventMask, &attributes);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = probe;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(display);

    std::optional<std::vector<long>> frame;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!frame && std::chrono::steady_clock::now() < limit) {
        XEvent event{};
        if (XCheckTypedWindowEvent(display, probe, PropertyNotify, &event)) {
            if (event.xproperty.atom == extents)
                frame = cardinals(display, probe, "_NET_FRAME_EXTENTS", XA_CARDINAL);
            continue;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    XDestroyWindow(display, probe);
    return frame;
}

} // namespace

TDesktopArea TDesktopArea::query(sf::Vector2u screen)
{
    TDesktopArea area;
    area.size = screen;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return area;
    // (Xlib's functions, not its macros, which are full of C casts.)
    const Window root = XDefaultRootWindow(display);
    area.size = {static_cast<unsigned>(XDisplayWidth(display, XDefaultScreen(display))),
                 static_cast<unsigned>(XDisplayHeight(display, XDefaultScreen(display)))};
    area.managed = cardinals(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).has_value();
    if (area.managed) {
        // The work area of the current desktop: four values per desktop.
        const auto desktop = cardinals(display, root, "_NET_CURRENT_DESKTOP", XA_CARDINAL);
        const auto work = cardinals(display, root, "_NET_WORKAREA", XA_CARDINAL);
        const std::size_t index = desktop ? static_cast<std::size_t>(std::max(0L, desktop->front())) : 0;
        if (work && work->size() >= 4 * index + 4 && (*work)[4 * index + 2] > 0 && (*work)[4 * index + 3] > 0) {
            area.position = {static_cast<int>((*work)[4 * index]), static_cast<int>((*work)[4 * index + 1])};
            area.size = {static_cast<unsigned>((*work)[4 * index + 2]), static_cast<unsigned>((*work)[4 * index + 3])};
        }
        if (const auto frame = frameOfNewWindow(display, root); frame && frame->size() >= 4) {
            area.frameLeft = static_cast<unsigned>(std::max(0L, (*frame)[0]));
            area.frameRight = static_cast<unsigned>(std::max(0L, (*frame)[1]));
            area.frameTop = static_cast<unsigned>(std::max(0L, (*frame)[2]));
            area.frameBottom = static_cast<unsigned>(std::max(0L, (*frame)[3]));
        }
    }
    XCloseDisplay(display);
    return area;
}

sf::Vector2u TDesktopArea::room() const
{
    const unsigned wide = frameLeft + frameRight, tall = frameTop + frameBottom;
    return {size.x > wide ? size.x - wide : 1u, size.y > tall ? size.y - tall : 1u};
}

sf::Vector2i TDesktopArea::framePositionFor(sf::Vector2u client) const
{
    const int outerWidth = static_cast<int>(client.x + frameLeft + frameRight);
    const int outerHeight = static_cast<int>(client.y + frameTop + frameBottom);
    return {position.x + std::max(0, (static_cast<int>(size.x) - outerWidth) / 2),
            position.y + std::max(0, (static_cast<int>(size.y) - outerHeight) / 2)};
}
