#include "eggline/TButton2.hpp"

#include "core/TTextureStore.hpp"

TButton2::TButton2(int normal, int hover, int pressed, int disabled)
    : stateTextures{normal, hover, pressed, disabled}
{
    // The own sprite is only the hit area, so it takes the normal image's size.
    setTextureById(normal, true);
}

void TButton2::draw(sf::RenderTarget& target)
{
    // The pictures are the store's shared stamps, moved to this button each time.
    TTextureStore& store = TTextureStore::instance();
    store.drawSpriteAt(target, stateTextures[state], getPosition());
    drawIcon(target);
}

void TButton2::drawIcon(sf::RenderTarget& target)
{
    if (iconIndex != -1)
        TTextureStore::instance().drawSpriteAt(target, iconTextures[iconIndex], getPosition() + iconOffsets[iconIndex]);
}

void TButton2::onPress(int button, float x, float y)
{
    if (state == Disabled)
        return;
    if (button == 0 && contains(x, y))
        state = Pressed;
}

void TButton2::onRelease(int button, float x, float y)
{
    if (state == Disabled)
        return;
    // Only a press that started on this button and ends on it is a click.
    if (button == 0 && contains(x, y) && state == Pressed && onClick.target && onClick.operation)
        (onClick.target->*onClick.operation)(static_cast<float>(onClick.argument));
    state = Normal;
}

void TButton2::onHover(float x, float y)
{
    if (state == Disabled)
        return;
    // A pressed button stays pressed while the pointer wanders off and back.
    const bool inside = contains(x, y);
    if (inside && state == Normal)
        state = Hover;
    else if (!inside && state == Hover)
        state = Normal;
}

TButton2& TButton2::setButtonPosition(sf::Vector2f position)
{
    setPosition(position);
    return *this;
}

void TButton2::setIcon(int index, int textureId, sf::Vector2f offset)
{
    if (index != 0 && index != 1)
        return;
    iconTextures[index] = textureId;
    iconOffsets[index] = offset;
}

void TButton2::showIcon(int index) { iconIndex = index; }
