#include "eggline/TEgg2.hpp"

#include "core/TTextureStore.hpp"

TEgg2::TEgg2() : TActor(TTextureStore::instance().getTexture(53))
{
    setOrigin({15.f, 20.f});
}

void TEgg2::update(float) {}

void TEgg2::drawMarked(sf::RenderTarget& target, bool marked)
{
    if (!marked) {
        draw(target);
        return;
    }
    target.draw(placedMark());
}

void TEgg2::addMarked(TSpriteBatch& batch, bool marked)
{
    if (!marked) {
        if (visible)
            batch.add(*this);
        return;
    }
    batch.add(placedMark());
}

sf::Sprite& TEgg2::placedMark() const
{
    sf::Sprite& mark = TTextureStore::instance().getSprite(defective ? 76 : 77);
    mark.setPosition(getPosition());
    mark.setOrigin(getOrigin());
    mark.setRotation(getRotation());
    return mark;
}
