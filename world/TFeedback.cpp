#include "world/TFeedback.hpp"

#include "actors/Geometry.hpp"
#include "core/TTextureStore.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

// 255 at the start, falling to 0 over the last third of `length`.
std::uint8_t fade(float age, float length)
{
    const float left = (length - age) / (length / 3.f);
    return static_cast<std::uint8_t>(std::clamp(left, 0.f, 1.f) * 255.f);
}

sf::Text outlined(const sf::String& words, unsigned size, sf::Color fill, std::uint8_t alpha)
{
    sf::Text text(store().getFont(), words, size);
    text.setFillColor(sf::Color(fill.r, fill.g, fill.b, alpha));
    text.setOutlineColor(sf::Color(0x4A, 0x2E, 0x1A, alpha));
    text.setOutlineThickness(3.f);
    return text;
}

} // namespace

void TFeedback::rise(sf::Vector2f at, const sf::String& text, sf::Color colour)
{
    risings.push_back({at, text, colour, 0.f});
}

void TFeedback::refuse(sf::FloatRect area)
{
    refusedArea = area;
    refusalAge = 0.f;
}

void TFeedback::watch(int balance, bool questDone)
{
    if (looked && balance != lastCoins)
        pulseAge = 0.f;
    if (looked && questDone && !lastQuest)
        celebrationAge = 0.f;
    looked = true;
    lastCoins = balance;
    lastQuest = questDone;
}

void TFeedback::update(float dt)
{
    for (Rising& rising : risings)
        rising.age += dt;
    std::erase_if(risings, [](const Rising& r) { return r.age >= riseTime; });
    const auto age = [dt](float& value, float length) {
        if (value < 0.f)
            return;
        value += dt;
        if (value >= length)
            value = -1.f;
    };
    age(refusalAge, refusalTime);
    age(pulseAge, pulseTime);
    age(celebrationAge, celebrationTime);
}

void TFeedback::draw(sf::RenderTarget& target, const sf::Text& coinText)
{
    if (store().getFont().getInfo().family.empty())
        return;
    // Payouts and fines: 90 pixels up over their time, centred on their spot.
    for (const Rising& rising : risings) {
        sf::Text text = outlined(rising.text, 44, rising.colour, fade(rising.age, riseTime));
        const sf::FloatRect bounds = text.getLocalBounds();
        text.setOrigin(bounds.position + bounds.size / 2.f);
        text.setPosition(rising.at - sf::Vector2f(0.f, 90.f * rising.age / riseTime));
        target.draw(text);
    }

    if (refusalAge >= 0.f) {
        // Three red flashes over the refused button, the words beside it.
        const float phase = refusalAge * 6.f;
        const bool lit = static_cast<int>(phase) % 2 == 0 && refusalAge < 0.9f;
        if (lit) {
            sf::RectangleShape flash(refusedArea.size + sf::Vector2f(8.f, 8.f));
            flash.setPosition(refusedArea.position - sf::Vector2f(4.f, 4.f));
            flash.setFillColor(sf::Color(0xE0, 0x53, 0x3D, 150));
            flash.setOutlineColor(sf::Color(0xC0, 0x39, 0x2B));
            flash.setOutlineThickness(3.f);
            target.draw(flash);
        }
        sf::Text words = outlined("not enough coins", 30, sf::Color(0xFF, 0xF4, 0xDC), fade(refusalAge, refusalTime));
        const sf::FloatRect bounds = words.getLocalBounds();
        // Beside the button: to its right, or to its left near the right edge.
        float x = refusedArea.position.x + refusedArea.size.x + 14.f;
        if (x + bounds.size.x > 1900.f)
            x = refusedArea.position.x - 14.f - bounds.size.x;
        words.setOrigin({bounds.position.x, bounds.position.y + bounds.size.y / 2.f});
        words.setPosition({x, refusedArea.position.y + refusedArea.size.y / 2.f});
        target.draw(words);
    }

    if (pulseAge >= 0.f) {
        // The balance swells and settles back, in gold.
        const float swell = std::sin(std::numbers::pi_v<float> * pulseAge / pulseTime);
        sf::Text pulse = coinText;
        const sf::FloatRect bounds = pulse.getLocalBounds();
        const sf::Vector2f centre = bounds.position + bounds.size / 2.f;
        pulse.setOrigin(centre);
        pulse.setPosition(coinText.getPosition() + centre);
        pulse.setScale({1.f + 0.35f * swell, 1.f + 0.35f * swell});
        pulse.setFillColor(sf::Color(0xF7, 0xC5, 0x31, static_cast<std::uint8_t>(255.f * swell)));
        pulse.setOutlineColor(sf::Color(0x4A, 0x2E, 0x1A, static_cast<std::uint8_t>(255.f * swell)));
        pulse.setOutlineThickness(2.f);
        drawText(target, pulse);
    }

    if (celebrationAge >= 0.f) {
        // A burst of bubbles flying out from the banner, then the banner.
        const std::uint8_t alpha = fade(celebrationAge, celebrationTime);
        sf::Sprite bubble(store().getTexture(image::bubble));
        bubble.setOrigin({24.f, 24.f});
        const sf::Vector2f centre = bannerPlace + sf::Vector2f(500.f, 110.f);
        constexpr float golden = 2.39996323f;
        for (int k = 0; k < burstBubbles; ++k) {
            const float angle = golden * static_cast<float>(k);
            const float speed = 260.f + static_cast<float>((k * 53) % 240);
            const float t = celebrationAge;
            const sf::Vector2f dir(std::cos(angle), std::sin(angle));
            // Thrown out, slowing down, and drifting up like the broom's bubbles.
            const float out = speed * t / (1.f + 0.6f * t);
            bubble.setPosition(centre + dir * out - sf::Vector2f(0.f, 30.f * t * t));
            const float size = 0.6f + 0.05f * static_cast<float>(k % 8);
            bubble.setScale({size, size});
            bubble.setColor(sf::Color(255, 255, 255, alpha));
            target.draw(bubble);
        }
        sf::Sprite banner(store().getTexture(image::celebration));
        // The banner drops in over the first third of a second.
        const float drop = std::min(1.f, celebrationAge * 3.f);
        banner.setPosition(bannerPlace - sf::Vector2f(0.f, 60.f * (1.f - drop)));
        banner.setColor(sf::Color(255, 255, 255, alpha));
        target.draw(banner);
    }
}
