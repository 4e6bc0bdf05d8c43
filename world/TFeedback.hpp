#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/String.hpp>
#include <SFML/System/Vector2.hpp>

#include <vector>

// The farm answering the player where things happen: payouts and fines
// rising from the carton, a refused press flashing with "not enough coins",
// the coin counter pulsing when the balance moves, and a banner with a
// burst of bubbles when the quest is done. It only draws: it reads the game
// and never changes it, and it draws no random numbers.
class TFeedback {
public:
    // How long each answer shows, in seconds of play.
    static constexpr float riseTime = 1.5f;
    static constexpr float refusalTime = 1.2f;
    static constexpr float pulseTime = 0.5f;
    static constexpr float celebrationTime = 5.f;
    static constexpr int burstBubbles = 48;
    // Where the quest's banner hangs (its top-left).
    static constexpr sf::Vector2f bannerPlace{460.f, 140.f};

    // A word rising from `at`, fading as it goes.
    void rise(sf::Vector2f at, const sf::String& text, sf::Color colour);
    // A press on `area` refused for want of coins.
    void refuse(sf::FloatRect area);
    // Compares the coins and the quest with the last look: a change of the
    // coins pulses the counter, the quest completing starts the celebration.
    // The first look only takes note (a farm resumed complete stays quiet).
    void watch(int balance, bool questDone);
    // Ages everything by `dt` and drops what is over.
    void update(float dt);
    // Draws whatever is showing; `coinText` is the counter to pulse.
    void draw(sf::RenderTarget& target, const sf::Text& coinText);

    struct Rising {
        sf::Vector2f at;
        sf::String text;
        sf::Color colour;
        float age = 0.f;
    };
    std::vector<Rising> risings;
    sf::FloatRect refusedArea;
    float refusalAge = -1.f; // below 0: nothing refused
    float pulseAge = -1.f;
    float celebrationAge = -1.f;

private:
    bool looked = false;
    int lastCoins = 0;
    bool lastQuest = false;
};
