#pragma once

#include <SFML/System/Vector2.hpp>

// The yard: where grown birds stroll and where a dropped bird walks off to.
// Their targets are drawn over wider ranges than the screen shows (strolls
// x 50..1949 and y 430..1429, drops the same x and y 430..1099); each draw is
// mapped evenly onto the yard, so the targets keep the draws' spread and a
// bird never walks out of sight.
namespace yard {

// A standing hen's 512-px frame at scale 0.3 hangs from its feet (frame
// point 256, 384): 77 px to each side, 115 above and 38 below. With its feet
// anywhere in here the hen is wholly on the 1920 x 1080 screen and ends above
// the toolbar (y 944); the top is where the strolls always began, below the
// nest row and the feeders' gutters.
inline constexpr float left = 80.f;
inline constexpr float right = 1840.f;
inline constexpr float top = 430.f;
inline constexpr float bottom = 900.f;

// The drawn ranges, inclusive.
inline constexpr int drawnLeft = 50;
inline constexpr int drawnRight = 1949;
inline constexpr int drawnTop = 430;
inline constexpr int strollDrawnBottom = 1429;
inline constexpr int dropDrawnBottom = 1099;

// A stroll target from its two draws (x = rand() % 1900 + 50, y = rand() % 1000 + 430).
sf::Vector2f strollTarget(int drawnX, int drawnY);
// A dropped bird's target from its two draws (x = rand() % 1900 + 50, y = rand() % 670 + 430).
sf::Vector2f dropTarget(int drawnX, int drawnY);

} // namespace yard
