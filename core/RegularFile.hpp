#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Reads a file the player or the asset folder hands us, refusing anything that
// is not a plain readable file of sensible size: a directory, a FIFO (which
// would block the start for ever), a device such as /dev/zero, or a file
// larger than `maxBytes`. On failure returns nothing and puts the reason in
// `why`, worded to follow "<path>: " (for example "no such file",
// "a directory, not a regular file", "Permission denied").
[[nodiscard]] std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes,
                                                         std::string& why);

// `text` with every byte that a terminal could act on (control characters,
// escape sequences, bytes above 127) written as \xNN, and backslashes doubled,
// so that echoing a file's or a path's content cannot retitle, clear or
// recolour the terminal.
std::string escapedForTerminal(const std::string& text);
