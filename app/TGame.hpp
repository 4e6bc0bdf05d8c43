#pragma once

#include "app/TEventScript.hpp"
#include "app/TOptions.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <cstddef>
#include <optional>
#include <string>

class TWorld;

// The entry point's work: brings up the process-wide objects, opens the
// window, builds the world and runs the unthrottled frame loop (measure the
// step, keep the frame rate in the title, hand mouse events to the world,
// step it, draw it).
class TGame {
public:
    // `script`, when given, is mouse input played as if the player made it.
    TGame(const TOptions& options, std::optional<TEventScript> script);

    // Runs the game to the end; returns the process exit status.
    int run();

    // Adds one frame of `dt` seconds to the frame-rate count; true when a
    // whole second has gathered and the title should be rebuilt.
    static bool accountFrame(float dt);
    // "x:y   FPS:n" with the coordinates truncated toward zero.
    static std::string titleText(sf::Vector2f mouseLocal);
    // Handles one window event: mouse events go to the world at the last
    // move position, in scene units; a resize fits the scene to the new size.
    static void handleEvent(const sf::Event& event, sf::RenderWindow& window, TWorld& world, sf::Vector2f& mouseLocal);

    static constexpr const char* initialTitle = "Cells: 20x14 (64x64) (1280x896)";

private:
    // Opens the window the options ask for (by default the farm's own size)
    // and fits the scene into it.
    void openWindow(sf::RenderWindow& window) const;
    void openWindowQuietly(sf::RenderWindow& window) const;
    // Writes the frame drawn so far; says why on the error stream when it cannot.
    [[nodiscard]] bool saveScreenshot(sf::RenderWindow& window) const;
    static void settleWindow(sf::RenderWindow& window);

    TOptions options;
    std::optional<TEventScript> script;
};
