#pragma once

#include "actors/TActor.hpp"

#include <SFML/System/Vector2.hpp>

// A push button drawn from four state images (normal, hover, pressed,
// disabled) with an optional icon. Its own sprite is never drawn: it is the
// hit area. The images are the store's shared sprites, placed at the
// button's position when drawn.
class TButton2 : public TActor {
public:
    static constexpr int Normal = 0;
    static constexpr int Hover = 1;
    static constexpr int Pressed = 2;
    static constexpr int Disabled = 3;

    TButton2(int normal, int hover, int pressed, int disabled);

    void draw(sf::RenderTarget& target) override;
    // Only the icon over the button's plate.
    void drawIcon(sf::RenderTarget& target);

    void onPress(int button, float x, float y);
    void onRelease(int button, float x, float y);
    void onHover(float x, float y);

    void setNormalTexture(int id) { stateTextures[Normal] = id; }
    void setHoverTexture(int id) { stateTextures[Hover] = id; }
    void setPressedTexture(int id) { stateTextures[Pressed] = id; }
    void setDisabledTexture(int id) { stateTextures[Disabled] = id; }
    TButton2& setButtonPosition(sf::Vector2f position);
    // Icon 0 or 1 (other indexes are ignored) at an offset from the position.
    void setIcon(int index, int textureId, sf::Vector2f offset);
    void showIcon(int index);

    // A bound click: calls (target->*operation)(argument) on a left release.
    struct Callback {
        int argument = 0;
        TActor* target = nullptr;
        void (TActor::*operation)(float) = nullptr;
    };

    int stateTextures[4];
    int iconTextures[2] = {-1, -1};
    sf::Vector2f iconOffsets[2] = {{0.f, 0.f}, {0.f, 0.f}};
    Callback onClick;
    int iconIndex = -1;
    int state = Normal;
};
