#pragma once

#include "actors/TActor.hpp"
#include "eggline/TButton2.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <memory>

// The sorting window: the machine, its scanner, the close and start buttons
// and the two egg packages. While the machine runs the scanner sweeps the
// table and shows each egg under it green or red.
class TSort : public TActor {
public:
    TSort();

    // The scanner sweep (only called while the machine runs).
    void update(float dt) override;
    void draw(sf::RenderTarget& target) override;
    // What lies on the window: its buttons, the machine and the packages.
    void drawContents(sf::RenderTarget& target);

    void onPress(int button, float x, float y);
    void onRelease(int button, float x, float y);
    void onHover(float x, float y);

    // Where the scanner stands now, as an integer rectangle.
    static sf::IntRect scannerRect();

    bool scanningUp = true;
    std::unique_ptr<TButton2> closeButton;
    std::unique_ptr<TButton2> startButton;
};
