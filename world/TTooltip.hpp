#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

#include <string>

// A short line saying what the thing under the pointer is, shown once the
// pointer has rested on it for half a second, beside it (never over it) on
// a dark-wood plate; gone as soon as the pointer moves on.
class TTooltip {
public:
    static constexpr float delay = 0.5f;
    static constexpr float gap = 10.f;

    // The hint for what is under the pointer now ("" for nothing) and the
    // area of the thing it names; `dt` is the time since the last call.
    void update(float dt, const std::string& hint, sf::FloatRect area);
    bool showing() const { return !text.empty() && waited >= delay; }
    // Where the plate goes: centred above the thing, or below it when there
    // is no room above, kept inside the farm.
    sf::FloatRect plate() const;
    void draw(sf::RenderTarget& target) const;

    std::string text;
    sf::FloatRect anchor;
    float waited = 0.f;
};
