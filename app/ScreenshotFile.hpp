#pragma once

#include <SFML/Graphics/Image.hpp>

#include <optional>
#include <string>

// The screenshot of --screenshot: checked when the game starts, so a typo
// does not cost the whole run, and written whole or not at all.

// The image format for `path`'s extension, in any case: "png", "bmp", "tga"
// or "jpg"; nothing for any other.
std::optional<std::string> screenshotFormat(const std::string& path);

// True when a screenshot can be written at `path`: a known format, and a
// folder that exists and that we may write in. Otherwise says why in `error`.
[[nodiscard]] bool screenshotPathUsable(const std::string& path, std::string& error);

// Writes `image` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`, so an older file there stays whole when the disk is
// full. On failure removes the temporary file and says why in `error`.
[[nodiscard]] bool writeScreenshot(const sf::Image& image, const std::string& path, std::string& error);
