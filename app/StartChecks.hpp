#pragma once

#include <string>
#include <vector>

// Checks made before anything heavy is loaded, so that a start that cannot
// work ends at once with one line saying why, instead of aborting halfway.

// True when an X display can be opened; otherwise says why in `error`.
[[nodiscard]] bool displayAvailable(std::string& error);

// True when the game's assets (images and sounds) are found: under src/ in
// the working directory, as built; else in the installed data folder, found
// from where the executable itself lies, then from the install prefix (and
// the game takes its files from there). Otherwise says where they were
// looked for in `error`.
[[nodiscard]] bool assetsPresent(std::string& error);

// From here on, a display that goes away (the X server ended, as a virtual
// one is when a stopped script ends it) ends the game with at most one line
// of its own, instead of the X library's complaint: none when the game was
// already asked to stop.
void endQuietlyWhenDisplayGoes();

// The installed data folders, in the order they are tried, for the
// executable at `executable` (empty when the system cannot tell): the one
// beside it, then the install prefix's when that is another.
[[nodiscard]] std::vector<std::string> installedDataFolders(const std::string& executable);

// True when `path` can take the state file (--state-file): its folder exists
// and takes files, and the path is not a folder, a device or a FIFO;
// otherwise says why in `error`.
[[nodiscard]] bool stateFilePathUsable(const std::string& path, std::string& error);
