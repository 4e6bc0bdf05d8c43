#include "eggline/TSort.hpp"

#include "core/TTextureStore.hpp"

TSort::TSort()
    : TActor(store().getTexture(image::winSort))
{
    setPosition({530.f, 100.f});
    closeButton = std::make_unique<TButton2>(image::buttonClose, image::buttonCloseHover, image::buttonClosePressed,
                                             image::buttonCloseHover);
    closeButton->setButtonPosition({1323.f, 150.f});
    startButton = std::make_unique<TButton2>(image::circleButton, image::circleButtonHover, image::circleButtonPressed,
                                             image::circleButton);
    startButton->setButtonPosition({1222.f, 725.f});
    startButton->setIcon(0, image::start, {56.5f, 56.5f});
    startButton->showIcon(0);
}

void TSort::update(float dt)
{
    // The scanner is the store's shared sprite of the machine's gantry; it
    // turns only after it has passed a bound, so a long frame carries it a
    // step beyond.
    sf::Sprite& scanner = store().getSprite(image::sortingMachine2);
    if (scanningUp) {
        scanner.move({0.f, -30.f * dt});
        if (scanner.getPosition().y < 220.f)
            scanningUp = false;
    } else {
        scanner.move({0.f, 30.f * dt});
        if (scanner.getPosition().y > 375.f)
            scanningUp = true;
    }
}

void TSort::draw(sf::RenderTarget& target)
{
    TActor::draw(target);
    drawContents(target);
}

void TSort::drawContents(sf::RenderTarget& target)
{
    closeButton->draw(target);
    startButton->draw(target);
    store().drawSpriteAt(target, image::sortingMachine1, {648.f, 220.f});
    store().drawSpriteAt(target, image::eggPackagingC0, {575.f, 595.f});
    store().drawSpriteAt(target, image::eggPackagingC1, {575.f, 730.f});
}

void TSort::onPress(int button, float x, float y)
{
    closeButton->onPress(button, x, y);
    startButton->onPress(button, x, y);
}

void TSort::onRelease(int button, float x, float y)
{
    closeButton->onRelease(button, x, y);
    startButton->onRelease(button, x, y);
}

void TSort::onHover(float x, float y)
{
    closeButton->onHover(x, y);
    startButton->onHover(x, y);
}

sf::IntRect TSort::scannerRect()
{
    const sf::Sprite& scanner = store().getSprite(image::sortingMachine2);
    const sf::Vector2f position = scanner.getPosition();
    return {{static_cast<int>(position.x), static_cast<int>(position.y)}, scanner.getTextureRect().size};
}
