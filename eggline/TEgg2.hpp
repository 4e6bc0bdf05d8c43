#pragma once

#include "actors/TActor.hpp"

// An egg: laid on the floor, collected onto the sorting table, shown red or
// green under the running scanner, and packed for coins.
class TEgg2 : public TActor {
public:
    TEgg2();

    // Eggs never change by themselves.
    void update(float dt) override;
    // Draws the egg, or in its place the red (defective) or green mark.
    virtual void drawMarked(sf::RenderTarget& target, bool marked);

    bool defective = false;
};
