#pragma once
// The image families. Each painter draws the ids it owns (named in
// core/ImageTable.hpp) onto a canvas of the exact table size and returns
// false for ids that belong to another family.

#include "Canvas.hpp"
#include "core/ImageTable.hpp"

#include <cstdint>

namespace henhouse::assets {

// Fixed-seed scatter so every build draws the same straw, pebbles and confetti.
class Scatter {
public:
    explicit Scatter(std::uint32_t seed)
        : filterState(seed)
    {
    }
    double next()
    { // 0..1
        filterState = filterState * 1664525u + 1013904223u;
        return (filterState >> 8) / 16777216.0;
    }
    double range(double a, double b) { return a + (b - a) * next(); }

private:
    std::uint32_t filterState;
};

bool paintAnimal(int id, Canvas& canvas);    // chicken sheets and single bird pictures
bool paintFurniture(int id, Canvas& canvas); // floor, walls, pen, feeders, eggs, dirt, bubbles
bool paintInterface(int id, Canvas& canvas); // buttons, counters, windows, shop, cards, icons
bool paintMessage(int id, Canvas& canvas);   // story cards and the quest panel
bool paintOverlay(int id, Canvas& canvas);   // pause, tooltips, controls card, banner, muted note
// Any of the above: true when one of them drew image `id`.
bool paintAsset(int id, Canvas& c);

// Shared small pictures, reused across families (drawn centred in a box).
void drawEggShape(Canvas& c, double cx, double cy, double h, Color fill, double lineWidth);
void drawCoin(Canvas& c, double cx, double cy, double r);
void drawSack(Canvas& c, double cx, double cy, double w, double h, Color fill, bool chickFace);
void drawPillJar(Canvas& c, double cx, double cy, double size);
void drawPadlock(Canvas& c, double cx, double cy, double size);

// Whole birds for cards and messages, feet at (feetX, feetY); scale 1 = sheet frame size.
enum class HenLook { Plain, Holiday, Reading, Cheering, Poorly };
void drawHen(Canvas& c, double feetX, double feetY, double scale, HenLook look);
void drawChick(Canvas& c, double feetX, double feetY, double scale, bool cheering);

// Window frame shared by the shop pages and the sorting window (860 x 820).
void drawWindowFrame(Canvas& c, const char* title);

} // namespace henhouse::assets
