#pragma once

#include <SFML/System/Vector2.hpp>

#include <optional>
#include <string>
#include <vector>

// Command-line options for automation. Without any, the game plays as usual:
// seeded from the clock, real frame times, until the window is closed.
struct TOptions {
    std::optional<unsigned> seed;           // --seed N
    std::optional<float> fixedDt;           // --fixed-dt SECONDS
    std::optional<long> frames;             // --frames N
    std::optional<std::string> screenshot;  // --screenshot PATH
    std::optional<std::string> events;      // --events PATH (mouse input from a file)
    bool mute = false;                      // --mute: start with the music off
    bool fullscreen = false;                // --fullscreen: the desktop's video mode
    std::optional<sf::Vector2u> windowSize; // --window-size WxH
    std::optional<std::string> stateFile;   // --state-file PATH (the state, every frame)
    std::optional<unsigned> maxFps;         // --max-fps N (frames a second at most)
    bool vsync = false;                     // --vsync (wait for the screen's refresh)
    bool help = false;                      // --help
    bool newFarm = false;                   // --new-farm (the old save is kept as farm.json.1)
    std::optional<std::string> savePath;    // --save PATH (instead of the player's farm)

    // Parses the arguments (without the program name). On a bad option or
    // value, returns nothing and puts a one-line reason in `error`.
    [[nodiscard]] static std::optional<TOptions> parse(const std::vector<std::string>& args, std::string& error);
    static const char* usage();
};
