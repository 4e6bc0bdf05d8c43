#pragma once

#include <string>

// Checks made before anything heavy is loaded, so that a start that cannot
// work ends at once with one line saying why, instead of aborting halfway.

// True when an X display can be opened; otherwise says why in `error`.
[[nodiscard]] bool displayAvailable(std::string& error);

// True when the working directory holds the game's assets (src/images and
// src/sounds); otherwise says where they were looked for in `error`.
[[nodiscard]] bool assetsPresent(std::string& error);

// True when `path` can take the state file (--state-file): its folder exists
// and takes files, and the path is not a folder, a device or a FIFO;
// otherwise says why in `error`.
[[nodiscard]] bool stateFilePathUsable(const std::string& path, std::string& error);
