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

    // The player's own controls around the mouse handling: P or Space
    // pause, Esc closes the open window (or pauses), M switches the music,
    // F11 switches between a window and the full screen, F1 or ? shows the
    // controls card; the window losing focus pauses (not in automation
    // runs). While paused a key or a click goes on, and does nothing else;
    // every other event goes to handleEvent.
    void handleInput(const sf::Event& event, sf::RenderWindow& window, TWorld& world, sf::Vector2f& mouseLocal);
    // After a frame's events: a focus lost among them pauses the farm if the
    // window is still without it (a window being made or switched to full
    // screen loses and regains it at once).
    void settleFocus(bool hasFocus);
    // Stops the farm: its clock, every timer, the flock and the music.
    void pause(bool withHelp);
    void resume();
    bool isPaused() const { return paused; }
    bool helpShown() const { return help; }
    // Runs driven by a script or a frame count never pause on their own.
    bool automation() const { return options.frames.has_value() || script.has_value(); }

private:
    void switchFullscreen(sf::RenderWindow& window);

    // Opens the window the options ask for (by default the farm's own size)
    // and fits the scene into it.
    void openWindow(sf::RenderWindow& window) const;
    void openWindowQuietly(sf::RenderWindow& window) const;
    // Writes the frame drawn so far; says why on the error stream when it cannot.
    [[nodiscard]] bool saveScreenshot(sf::RenderWindow& window) const;
    static void settleWindow(sf::RenderWindow& window);

    TOptions options;
    std::optional<TEventScript> script;
    bool paused = false;
    bool help = false;
    bool fullscreen = false;
    // The release of the click that ended a pause, and the text of the key
    // that ended one, are not the player's orders.
    bool swallowRelease = false;
    bool swallowText = false;
    bool focusLost = false;
};
