#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Err.hpp>

#include <filesystem>
#include <iostream>
#include <string>

// Helpers shared by the test programs.
namespace testsupport {

// Builds the game's process-wide objects (without sound) once per test
// program and resets the shared values to their starting state.
void freshGame();

// This test program's own folder under the system's temporary folder. It is
// removed when every test of the program passed, and kept (and named) when
// one failed.
std::filesystem::path scratchRoot();

// A new empty directory named `name` in scratchRoot().
std::filesystem::path scratchDir(const std::string& name);

// Runs `body` with the working directory set to `dir`, then restores it.
template <class F>
void inDirectory(const std::filesystem::path& dir, F&& body)
{
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    try {
        body();
    } catch (...) {
        std::filesystem::current_path(old);
        throw;
    }
    std::filesystem::current_path(old);
}

// Writes a small solid PNG.
void writePng(const std::filesystem::path& path, unsigned w, unsigned h, sf::Color color);

// Number of distinct colours in a region (stops counting at `cap`).
int distinctColours(const sf::Image& image, unsigned left, unsigned top, unsigned w, unsigned h, int cap = 64);

// The whole content of a file (empty when it cannot be read).
std::string readFile(const std::filesystem::path& path);

// How many times `what` stands in `text`, without overlaps.
int countOf(const std::string& text, const std::string& what);

// Runs a shell command; returns its exit status.
int runCommand(const std::string& command);

// The store's texture of `id`.
const sf::Texture* storeTexture(int id);

// One off-screen target the size of the screen, made once per test program.
sf::RenderTexture& screenCanvas();

// The store's progress line for image `id`, byte for byte: on a terminal it
// clears the screen first.
std::string progressLine(int id, bool terminal = true);

// A number from the environment variable `name`, or `fallback` when unset or empty.
unsigned envUnsigned(const char* name, unsigned fallback);
double envDouble(const char* name, double fallback);

// Sends what the game and the media library write to the error stream into
// `into` while alive (nowhere, for a null buffer).
class ErrorsInto {
public:
    explicit ErrorsInto(std::streambuf* into)
        : savedOurs(std::cerr.rdbuf(into))
        , savedLibrary(sf::err().rdbuf(into))
    {
    }
    explicit ErrorsInto(std::ostream& into)
        : ErrorsInto(into.rdbuf())
    {
    }
    ~ErrorsInto()
    {
        sf::err().rdbuf(savedLibrary);
        std::cerr.rdbuf(savedOurs);
    }
    ErrorsInto(const ErrorsInto&) = delete;
    ErrorsInto& operator=(const ErrorsInto&) = delete;

private:
    std::streambuf* savedOurs;
    std::streambuf* savedLibrary;
};

// Keeps the game's and the media library's error streams quiet while alive.
class QuietErrors : public ErrorsInto {
public:
    QuietErrors()
        : ErrorsInto(nullptr)
    {
    }
};

} // namespace testsupport
