#include "poultry/Yard.hpp"

namespace yard {

namespace {

// `drawn` from [low, high] onto [to, toEnd], evenly; the ends map to the ends.
float spread(int drawn, int low, int high, float to, float toEnd)
{
    const float share = static_cast<float>(drawn - low) / static_cast<float>(high - low);
    return to + share * (toEnd - to);
}

} // namespace

sf::Vector2f strollTarget(int drawnX, int drawnY)
{
    return {spread(drawnX, drawnLeft, drawnRight, left, right),
            spread(drawnY, drawnTop, strollDrawnBottom, top, bottom)};
}

sf::Vector2f dropTarget(int drawnX, int drawnY)
{
    return {spread(drawnX, drawnLeft, drawnRight, left, right), spread(drawnY, drawnTop, dropDrawnBottom, top, bottom)};
}

} // namespace yard
