#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The game's one whole-file reader. It reads a file the player or the asset
// folder hands us, refusing anything that is not a plain readable file of
// sensible size: a directory, a FIFO (which would block the start for ever:
// it is looked at, never opened), a device such as /dev/zero, a socket, or a
// file larger than `maxBytes`. `why` is worded to follow "<path>: " (for
// example "no such file", "a directory, not a regular file", "Permission
// denied", "larger than 10 bytes").
enum class FileReading {
    read,
    missing,  // nothing there (no such file, or a part of the path is not a folder)
    refused,  // not a regular file, or it cannot be read
    tooLarge, // larger than allowed
};
// `Bytes` is std::string or std::vector<std::uint8_t>.
template <class Bytes>
[[nodiscard]] FileReading readWholeFile(const std::string& path, std::size_t maxBytes, Bytes& content,
                                        std::string& why);

// The file's bytes, or nothing with the reason in `why`.
[[nodiscard]] std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes,
                                                         std::string& why);

// `text` with every byte that a terminal could act on (control characters,
// escape sequences, bytes above 127) written as \xNN, and backslashes doubled,
// so that echoing a file's or a path's content cannot retitle, clear or
// recolour the terminal.
std::string escapedForTerminal(const std::string& text);
