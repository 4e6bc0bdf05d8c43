#include "app/TPauseScreen.hpp"

#include "actors/Geometry.hpp"
#include "core/TTextureStore.hpp"

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cmath>

namespace {

// White words, their left end (or with `centred` their middle) at `at`'s x,
// their middle at its y.
sf::Text line(const std::string& words, unsigned size, sf::Vector2f at, bool centred = false)
{
    sf::Text text(store().getFont(), sf::String::fromUtf8(words.begin(), words.end()), size);
    text.setFillColor(sf::Color::White);
    const sf::FloatRect bounds = text.getLocalBounds();
    text.setOrigin({std::round(bounds.position.x + (centred ? bounds.size.x / 2.f : 0.f)),
                    std::round(bounds.position.y + bounds.size.y / 2.f)});
    text.setPosition(at);
    return text;
}

} // namespace

const std::vector<std::pair<std::string, std::string>>& TPauseScreen::controls()
{
    static const std::vector<std::pair<std::string, std::string>> list = {
        {"Left button", "pick up, drag, drop and press"},
        {"P or Space", "pause; a key or a click goes on"},
        {"Esc", "close the open window, or pause"},
        {"M", "music on or off"},
        {"F11", "window or full screen"},
        {"F1 or ?", "this card"},
        {"Rest the pointer", "on a thing to learn what it does"},
    };
    return list;
}

void TPauseScreen::draw(sf::RenderTarget& target, bool help)
{
    sf::Sprite veil(store().getTexture(image::pauseVeil));
    const sf::Vector2f veilSize(store().getTexture(image::pauseVeil).getSize());
    veil.setScale({1920.f / veilSize.x, 1080.f / veilSize.y});
    target.draw(veil);
    if (!help) {
        const sf::Vector2f signSize(store().getTexture(image::pauseSign).getSize());
        const sf::Vector2f at{std::round((1920.f - signSize.x) / 2.f), std::round((1080.f - signSize.y) / 2.f)};
        store().drawSpriteAt(target, image::pauseSign, at);
        drawText(target, line(goOn, 30, at + sf::Vector2f(signSize.x / 2.f, 188.f), true));
        return;
    }
    const sf::Vector2f cardSize(store().getTexture(image::controlsCard).getSize());
    const sf::Vector2f at{std::round((1920.f - cardSize.x) / 2.f), std::round((1080.f - cardSize.y) / 2.f)};
    store().drawSpriteAt(target, image::controlsCard, at);
    float y = at.y + 160.f;
    for (const auto& [key, what] : controls()) {
        drawText(target, line(key, 28, {at.x + 60.f, y}));
        drawText(target, line(what, 26, {at.x + 290.f, y}));
        y += 58.f;
    }
    drawText(target, line(goOn, 24, {at.x + 60.f, at.y + cardSize.y - 60.f}));
}
