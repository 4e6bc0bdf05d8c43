#pragma once

#include "actors/TSpriteBatch.hpp"
#include "world/TPictureBlit.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/View.hpp>

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

class TWorld;

// What a sprite's draw depends on: its texture, rectangle, colour and place.
struct TSpriteLook {
    const sf::Texture* texture = nullptr;
    sf::IntRect rect;
    std::uint32_t colour = 0;
    float matrix[6] = {};

    TSpriteLook() = default;
    explicit TSpriteLook(const sf::Sprite& sprite);
    bool operator==(const TSpriteLook&) const = default;
};

// The field's still layers (the floor, the dirt, the back wall, the nest
// house and its straw, the yard overlay, the trough, the fans and the nursery
// panels) kept as a picture of the target's size and drawn from it, so a frame
// copies them in one pass instead of painting them again. The picture is
// painted through the target's own view exactly as the layers would be, on a
// black ground as the frame's clear leaves it, and copied pixel for pixel.
// Only a cache of the drawing: it is made again whenever one of the layers, the
// target's size or its view changes, and is no part of the game's state.
class TFieldCache {
public:
    // Draws the still layers of `world` onto `target` (cleared to black)
    // from the picture, painting it again first when something changed.
    // Pixels of `covered` (target pixels that a later opaque draw will
    // overwrite anyway) are left out of the copy.
    void draw(sf::RenderTarget& target, TWorld& world, const std::vector<sf::IntRect>& covered = {});

    // A plate drawn over the field later in the frame, opaque across `cover`
    // (target pixels): the picture keeps the plate's pixels there, so the
    // frame copies them instead of filtering them again. Plates are named
    // before `draw`, in the order they are drawn.
    void clearPlates() { plates.clear(); }
    void addPlate(const sf::Sprite& sprite, const sf::IntRect& cover);
    // Draws `sprite` as drawing it would: its plate's opaque part copied from
    // the picture and the rest drawn; a sprite that is no named plate is
    // simply drawn.
    void drawPlate(sf::RenderTarget& target, const sf::Sprite& sprite);
    // Draws `sprite` only on `pixels` of the target (through a scissor
    // within the view's own).
    static void drawClipped(sf::RenderTarget& target, const sf::Sprite& sprite, const sf::IntRect& pixels);
    // `area` less the `covered` rectangles, as rectangles that do not
    // overlap, top to bottom (bands of the same columns joined).
    static std::vector<sf::IntRect> uncoveredParts(const sf::IntRect& area, const std::vector<sf::IntRect>& covered);
    // Drops the pictures (they are made again on the next draw).
    void forget();

    // A rectangle of `texture` (in its pixels) whose every pixel is fully
    // opaque, or an empty one; found once per texture.
    sf::IntRect opaqueInterior(const sf::Texture& texture);

    // How often each picture was painted and plates copied (for tests).
    long platesCopied = 0;
    long groundPaints = 0;
    long spotPaints = 0;
    long penPaints = 0;
    // Whether the copy may use the driver's framebuffer copy (else sprites,
    // as on a driver without one), and whether the last copy did.
    bool blitAllowed = true;
    bool lastCopyBlitted = false;
    const TPictureBlit& pictureBlit() const { return blit; }

private:
    struct ViewLook {
        sf::Vector2f center, size;
        float degrees = 0.f;
        sf::FloatRect viewport, scissor;
        sf::Vector2u targetSize;
        bool operator==(const ViewLook&) const = default;
    };
    static ViewLook lookOf(const sf::RenderTarget& target);
    bool groundCurrent(TWorld& world, const ViewLook& view, std::size_t& spotsDrawn) const;
    void paintGround(TWorld& world, const sf::View& view, std::size_t from);
    std::vector<TSpriteLook> penLooks(TWorld& world) const;
    static sf::IntRect opaqueInteriorOf(const sf::Image& image);
    // Copies `parts` of the pen picture onto the same pixels of `target`.
    void copyParts(sf::RenderTarget& target, const std::vector<sf::IntRect>& parts);

    struct Plate {
        sf::Sprite sprite;
        sf::IntRect cover;
        bool operator==(const Plate& other) const
        {
            return TSpriteLook(sprite) == TSpriteLook(other.sprite) && cover == other.cover;
        }
    };

    sf::RenderTexture ground; // the floor and the dirt
    sf::RenderTexture pen;    // the ground and the still furniture
    bool haveGround = false;
    bool havePen = false;
    ViewLook groundView;
    std::vector<TSpriteLook> floorLook; // the tile and its grid
    std::vector<TSpriteLook> spots;     // the dirt on the ground, in order
    std::vector<TSpriteLook> furniture; // what the pen picture was painted with
    std::vector<Plate> plates;          // this frame's plates
    std::vector<Plate> paintedPlates;   // the plates in the pen picture
    TSpriteBatch batch;
    TPictureBlit blit; // the pen picture's copy onto the target
    std::map<const sf::Texture*, sf::IntRect> interiors;
};
