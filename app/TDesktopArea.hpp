#pragma once

#include <SFML/System/Vector2.hpp>

// The part of the desktop a window may take: the work area the window
// manager leaves free of panels and docks, and the frame (title bar and
// borders) it puts around each window. Without a window manager it is the
// whole screen and windows have no frame.
class TDesktopArea {
public:
    sf::Vector2i position;  // the work area's top-left corner on the screen
    sf::Vector2u size;      // the work area's size
    unsigned frameLeft = 0; // the manager's frame around a window, in pixels
    unsigned frameRight = 0;
    unsigned frameTop = 0; // the title bar
    unsigned frameBottom = 0;
    bool managed = false; // a window manager answers

    // Asks the X display (the one DISPLAY names); `screen` is used where it
    // cannot tell.
    static TDesktopArea query(sf::Vector2u screen);

    // Room for the window itself: the work area less the frame.
    [[nodiscard]] sf::Vector2u room() const;
    // Where a window of `client` pixels goes so that its frame is centred in
    // the work area (the corner a window manager places the frame at).
    [[nodiscard]] sf::Vector2i framePositionFor(sf::Vector2u client) const;
};
