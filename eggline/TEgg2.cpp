#include "eggline/TEgg2.hpp"

#include "core/TTextureStore.hpp"

TEgg2::TEgg2()
    : TActor(TTextureStore::instance().getTexture(image::eggC1))
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
    sf::Sprite& mark = TTextureStore::instance().getSprite(defective ? image::eggC1red : image::eggC1green);
    mark.setPosition(getPosition());
    mark.setOrigin(getOrigin());
    mark.setRotation(getRotation());
    return mark;
}
