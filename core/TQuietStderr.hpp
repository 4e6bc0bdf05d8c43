#pragma once

// While one of these lives, whatever the process writes to its error stream
// (file descriptor 2) is thrown away: for libraries that report on their own,
// line after line, things the game says once in its own words.
class TQuietStderr {
public:
    TQuietStderr();
    ~TQuietStderr();
    TQuietStderr(const TQuietStderr&) = delete;
    TQuietStderr& operator=(const TQuietStderr&) = delete;

private:
    int saved = -1; // the real error stream, put back at the end
};
