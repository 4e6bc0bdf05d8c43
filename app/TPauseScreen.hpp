#pragma once

#include <SFML/Graphics/RenderTarget.hpp>

#include <string>
#include <utility>
#include <vector>

// What covers the farm while it stands still: a dusky veil with a sign
// saying how to go on, or the card listing every control.
class TPauseScreen {
public:
    // The controls, as the card lists them (key, then what it does).
    static const std::vector<std::pair<std::string, std::string>>& controls();
    static constexpr const char* goOn = "Press a key or click to go on";

    // Draws the veil over the whole farm (the scene's 1920 x 1080), then the
    // sign or, with `help`, the controls card.
    static void draw(sf::RenderTarget& target, bool help);
};
