#pragma once

#include <SFML/Graphics/View.hpp>
#include <SFML/System/Vector2.hpp>

// Fits the 1920 x 1080 scene into a window of any size: scaled evenly until
// it touches two edges, centred, with black bars on the sides it does not
// fill. Pointer positions go back through the same view, so a click lands
// where it looks. At exactly the scene's size the view is the window's own
// pixels and a pixel is a scene unit, unchanged.
class TSceneFit {
public:
    static constexpr unsigned sceneWidth = 1920;
    static constexpr unsigned sceneHeight = 1080;

    // The scene's view for a window of `windowSize` pixels.
    static sf::View view(sf::Vector2u windowSize);
    // The scene point under window pixel `pixel`, with `view` the window's
    // current view (its viewport spread over `windowSize`).
    static sf::Vector2f toScene(const sf::View& view, sf::Vector2u windowSize, sf::Vector2i pixel);
    // The window position, in pixels, of scene point `point` under `view`.
    static sf::Vector2f toWindow(const sf::View& view, sf::Vector2u windowSize, sf::Vector2f point);
    // The window to ask for on a desktop of `desktop` pixels: the scene's own
    // size where it fits, else the largest one of its shape that does.
    static sf::Vector2u windowSizeFor(sf::Vector2u desktop);
};
