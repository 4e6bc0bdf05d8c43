#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

// Copies parts of a render texture's picture onto a target of the same size
// with the graphics driver's framebuffer copy instead of a textured
// rectangle. The pixels are the same; a software renderer moves them as rows
// of memory instead of shading every one of them.
//
// A render texture keeps its rows bottom up in memory and a window keeps
// them top down, and a copy between the two turns into a shaded one. So for
// a window the picture is first turned upside down, once each time it
// changes, into a picture of the window's own pixel order; every frame then
// copies rows straight across.
class TPictureBlit {
public:
    TPictureBlit();
    TPictureBlit(const TPictureBlit&) = delete;
    TPictureBlit& operator=(const TPictureBlit&) = delete;
    ~TPictureBlit();

    // Copies each of `parts` (target pixels, counted from the top left) of
    // `picture` onto the same pixels of `target`, replacing what was there.
    // False when the driver cannot (no framebuffer copies, a picture of
    // another size, a target of several samples a pixel); then the parts
    // are to be drawn another way.
    bool copy(const sf::RenderTexture& picture, sf::RenderTarget& target, const std::vector<sf::IntRect>& parts);
    // The picture was painted again: its upside-down copy is out of date.
    void pictureChanged() { turnedCurrent = false; }

    // How often the picture was turned upside down (for tests).
    long turns = 0;

private:
    struct GlFunctions;
    // The copy's two framebuffers in one GL context (they are not shared).
    struct Framebuffers {
        unsigned int read = 0;
        unsigned int draw = 0;
    };
    bool turn(const sf::RenderTexture& picture, const Framebuffers& buffers, int drawBound);
    bool attach(unsigned int which, unsigned int texture);

    std::unique_ptr<GlFunctions> gl; // looked up on the first copy

    sf::Texture turned; // the picture upside down, in the window's pixel order
    bool turnedCurrent = false;
    bool unusable = false;
    bool checked = false;                               // the first copy was checked for errors
    std::map<std::uint64_t, Framebuffers> framebuffers; // by context
};
