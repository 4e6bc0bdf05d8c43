#pragma once

#include "world/TKeptPicture.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
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
// panels) kept as a picture of the target's size, so a frame copies them in
// one pass instead of painting them again. The layers are painted on the
// target itself, as the frame would paint them, and the picture is taken
// from it; later frames put it back, pixel for pixel.
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
    // opaque, or an empty one: the store's for its plates, else found once
    // per texture.
    sf::IntRect opaqueInterior(const sf::Texture& texture);

    // How often each picture was painted and plates copied (for tests).
    long platesCopied = 0;
    long groundPaints = 0;
    long spotPaints = 0;
    long penPaints = 0;
    // Whether pictures may be kept (else the layers are painted every
    // frame, as on a driver without framebuffer copies), and whether the
    // last frame put one back.
    bool picturesAllowed = true;
    bool lastFramePut = false;

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
    // Paints the dirt from spot `from` on onto the kept ground put back on
    // the target, or with `from` npos the floor and all the dirt.
    void paintGround(sf::RenderTarget& target, TWorld& world, std::size_t from);
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::vector<TSpriteLook> penLooks(TWorld& world) const;

    struct Plate {
        sf::Sprite sprite;
        sf::IntRect cover;
        bool operator==(const Plate& other) const
        {
            return TSpriteLook(sprite) == TSpriteLook(other.sprite) && cover == other.cover;
        }
    };

    TKeptPicture ground; // the floor and the dirt
    TKeptPicture pen;    // the ground, the still furniture and the plates
    bool haveGround = false;
    bool havePen = false;
    bool platesCurrent = false; // the pen holds this frame's plates
    ViewLook groundView;
    std::vector<TSpriteLook> floorLook; // the tile and its grid
    std::vector<TSpriteLook> spots;     // the dirt on the ground, in order
    std::vector<TSpriteLook> furniture; // what the pen picture was painted with
    std::vector<Plate> plates;          // this frame's plates
    std::vector<Plate> paintedPlates;   // the plates in the pen picture
    std::map<const sf::Texture*, sf::IntRect> interiors;
};
