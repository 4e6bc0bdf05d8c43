#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

// A copy of a render target's pixels, kept by the graphics driver, taken
// from the target and put back onto it with the driver's framebuffer copy.
// What is put back is exactly what was taken, pixel for pixel.
//
// The picture keeps its rows as the target does (a window top down, a
// render texture bottom up) and in the target's pixel format, so a software
// renderer moves it as rows of memory instead of shading every pixel, as it
// would for a textured rectangle.
class TKeptPicture {
public:
    TKeptPicture();
    TKeptPicture(const TKeptPicture&) = delete;
    TKeptPicture& operator=(const TKeptPicture&) = delete;
    ~TKeptPicture();

    // Copies `parts` (target pixels, counted from the top left) of `target`
    // into the picture, which is made anew when the target is another kind
    // (window or render texture) or size than the last one taken from. False
    // when the driver cannot (no framebuffer copies, a target of several
    // samples a pixel); the picture then holds nothing.
    bool take(sf::RenderTarget& target, const std::vector<sf::IntRect>& parts);
    // Copies `parts` of the picture onto the same pixels of `target`,
    // replacing what was there. False when the picture was not taken from
    // a target like this one, or the driver cannot; then nothing was copied.
    bool put(sf::RenderTarget& target, const std::vector<sf::IntRect>& parts);
    // Whether the picture was taken from a target of this kind and size.
    bool fits(const sf::RenderTarget& target) const;
    // Drops what the picture holds (its memory stays for the next take).
    void forget() { holding = false; }

private:
    struct GlFunctions;
    // The copy's framebuffer in one GL context (they are not shared).
    using Framebuffers = std::map<std::uint64_t, unsigned int>;
    enum class Way { In, Out };
    bool copy(sf::RenderTarget& target, const std::vector<sf::IntRect>& parts, Way way);
    bool begin(sf::RenderTarget& target);

    std::unique_ptr<GlFunctions> gl; // looked up on the first copy
    sf::Texture picture;
    bool holding = false;
    bool fromWindow = false; // taken from a window (rows top down)
    bool unusable = false;
    bool checked = false; // the first copy was checked for errors
    Framebuffers framebuffers;
};
