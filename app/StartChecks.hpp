#pragma once

#include <string>

// Checks made before anything heavy is loaded, so that a start that cannot
// work ends at once with one line saying why, instead of aborting halfway.

// True when an X display can be opened; otherwise says why in `error`.
[[nodiscard]] bool displayAvailable(std::string& error);

// True when the working directory holds the game's assets (src/images and
// src/sounds); otherwise says where they were looked for in `error`.
[[nodiscard]] bool assetsPresent(std::string& error);

// From here on, a display that goes away (the X server ended, as a virtual
// one is when a stopped script ends it) ends the game with at most one line
// of its own, instead of the X library's complaint: none when the game was
// already asked to stop.
void endQuietlyWhenDisplayGoes();
