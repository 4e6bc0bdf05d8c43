#pragma once

#include "actors/TActor.hpp"
#include "actors/TSpriteBatch.hpp"

// An egg: laid on the floor, collected onto the sorting table, shown red or
// green under the running scanner, and packed for coins.
class TEgg2 : public TActor {
public:
    TEgg2();

    // Eggs never change by themselves.
    void update(float dt) override;
    // Draws the egg, or in its place the red (defective) or green mark.
    virtual void drawMarked(sf::RenderTarget& target, bool marked);
    // The same picture added to a batch instead of drawn.
    void addMarked(TSpriteBatch& batch, bool marked);

    bool defective = false;

private:
    // The shared red or green stamp, moved onto this egg.
    sf::Sprite& placedMark() const;
};
