#pragma once

#include <string>
#include <string_view>

// Where the game's images, font and sounds are. As built, they are under
// src/ in the working directory (build/run); an installed game keeps them in
// its data folder instead, chosen once at the start before anything loads.

// The path of a data file, `relative` to the data folder ("images/cell.png"
// gives "src/images/cell.png" as built).
[[nodiscard]] std::string dataFile(std::string_view relative);

// Takes the game's files from `folder` from now on.
void useDataFolder(std::string folder);

// Back to src/ under the working directory (a fresh test).
void resetDataFolder();
