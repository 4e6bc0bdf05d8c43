#include "world/TTooltip.hpp"

#include "core/TTextureStore.hpp"

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>

#include <algorithm>

namespace {

constexpr unsigned textSize = 26;
constexpr float capWidth = 24.f; // the plate's rounded ends, drawn unstretched
constexpr float sceneWidth = 1920.f;

sf::Text hintText(const std::string& words)
{
    sf::Text text(store().getFont(), sf::String::fromUtf8(words.begin(), words.end()), textSize);
    text.setFillColor(sf::Color::White);
    return text;
}

} // namespace

void TTooltip::update(float dt, const std::string& hint, sf::FloatRect area)
{
    if (hint != text) {
        text = hint;
        waited = 0.f;
    } else if (!text.empty()) {
        waited += dt;
    }
    anchor = area;
}

sf::FloatRect TTooltip::plate() const
{
    const float height = static_cast<float>(store().getTexture(image::tooltipFrame).getSize().y);
    const float width = hintText(text).getLocalBounds().size.x + 2.f * capWidth;
    float y = anchor.position.y - gap - height;
    if (y < 4.f)
        y = anchor.position.y + anchor.size.y + gap;
    const float x = std::clamp(anchor.position.x + anchor.size.x / 2.f - width / 2.f, 4.f, sceneWidth - 4.f - width);
    return {{x, y}, {width, height}};
}

void TTooltip::draw(sf::RenderTarget& target) const
{
    if (!showing() || store().getFont().getInfo().family.empty())
        return;
    const sf::FloatRect where = plate();
    const sf::Texture& frame = store().getTexture(image::tooltipFrame);
    const int w = static_cast<int>(frame.getSize().x);
    const int h = static_cast<int>(frame.getSize().y);
    const int cap = static_cast<int>(capWidth);
    // Left end, the stretched middle, right end.
    sf::Sprite part(frame, sf::IntRect({0, 0}, {cap, h}));
    part.setPosition(where.position);
    target.draw(part);
    part.setTextureRect(sf::IntRect({cap, 0}, {w - 2 * cap, h}));
    part.setPosition(where.position + sf::Vector2f(capWidth, 0.f));
    part.setScale({(where.size.x - 2.f * capWidth) / static_cast<float>(w - 2 * cap), 1.f});
    target.draw(part);
    part.setTextureRect(sf::IntRect({w - cap, 0}, {cap, h}));
    part.setScale({1.f, 1.f});
    part.setPosition(where.position + sf::Vector2f(where.size.x - capWidth, 0.f));
    target.draw(part);

    sf::Text words = hintText(text);
    const sf::FloatRect bounds = words.getLocalBounds();
    words.setOrigin({bounds.position.x, bounds.position.y + bounds.size.y / 2.f});
    words.setPosition({where.position.x + capWidth, where.position.y + where.size.y / 2.f});
    target.draw(words);
}
