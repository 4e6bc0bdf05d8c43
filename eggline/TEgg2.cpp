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
    sf::Sprite& mark = TTextureStore::instance().getSprite(defective ? 76 : 77);
    mark.setPosition(getPosition());
    mark.setOrigin(getOrigin());
    mark.setRotation(getRotation());
    target.draw(mark);
}
